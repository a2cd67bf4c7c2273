#pragma once

#include <QString>

class Simulator;

// The run-time command language (standard input and --script): changes the
// engine, raises faults and breaks the line. One command per line; the reply
// is a short text, starting with "error:" when the line was not understood.
class SimConsole
{
public:
    explicit SimConsole(Simulator &sim) : m_sim(sim) {}

    QString execute(const QString &line);
    static QString help();

private:
    QString line(const QStringList &w);
    QString fault(const QStringList &w);
    QString drive(const QStringList &w);

    Simulator &m_sim;
};
