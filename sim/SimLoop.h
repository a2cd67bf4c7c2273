#pragma once

#include "sim/PtyLine.h"
#include "sim/SimConsole.h"
#include "sim/SimOptions.h"
#include "sim/SimScript.h"

#include <QByteArray>
#include <cstdio>

class Simulator;

// The simulator's main loop (POSIX): one poll() over the pseudo-terminal,
// standard input and a signal pipe. The engine never waits on the reader:
// writes are non-blocking and whatever the line does not take waits in the
// pacer. SIGINT, SIGTERM and SIGHUP end the loop normally, so the COM map
// entry is removed on the way out.
class SimLoop
{
public:
    SimLoop(Simulator &sim, const SimOptions &options, FILE *out, FILE *err);
    ~SimLoop();

    // Opens the line and registers it; false when that fails.
    bool start();
    // Runs until quit or a signal; returns the exit code.
    int run();
    // Undoes start(): the map entry and the link go, the block is saved.
    void finish();

    SimScript &script() { return m_script; }
    static qint64 nowUs();

private:
    bool attach();
    void detach();
    void runConsole(SimScript &source, qint64 now);
    void readStdin();
    void say(FILE *to, const QString &text);

    Simulator &m_sim;
    SimOptions m_options;
    SimConsole m_console;
    SimScript m_script;
    SimScript m_stdin;
    PtyLine m_pty;
    FILE *m_out;
    FILE *m_err;
    QByteArray m_stdinBuffer;
    bool m_stdinOpen = true;
    bool m_farEndClosed = true;
    bool m_registered = false;
    QString m_registeredPath;
    bool m_linked = false;
};
