#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// zenu-sim as a child process on its own pseudo-terminal, listed under a COM
// name (and selected as the program's port) in the settings store of
// `configDir`. Its standard input stays open for console commands.
class SimulatorProcess
{
public:
    SimulatorProcess(QString program, QString configDir);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess &) = delete;
    SimulatorProcess &operator=(const SimulatorProcess &) = delete;

    // Starts with `--com <comName> --select --log <logPath>` plus `extraArgs`
    // and waits until the simulator has printed its device, which it does only
    // once the COM entry is stored. False (with the reason) otherwise.
    bool start(const QString &comName, const QString &logPath, const QStringList &extraArgs,
               QString *error = nullptr);

    QString device() const { return m_device; }
    // One console line ("line unplug", "line firmware 3.7.6", ...).
    void command(const QString &line);
    // A console command and its answer: the first line printed after it that
    // starts with `answerPrefix` (earlier answers still waiting are skipped).
    // Runs the event loop while it waits; empty after `ms` without one.
    QString ask(const QString &line, const QString &answerPrefix, int ms = 3000);
    // Ends the simulator (quit, then terminate, then kill) and waits for it.
    void stop();

private:
    QString m_program;
    QString m_configDir;
    QProcess m_process;
    QString m_device;
};
