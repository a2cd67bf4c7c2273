#include "SimulatorProcess.h"

#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QTest>

SimulatorProcess::SimulatorProcess(QString program, QString configDir)
    : m_program(std::move(program)), m_configDir(std::move(configDir))
{
}

SimulatorProcess::~SimulatorProcess()
{
    stop();
}

bool SimulatorProcess::start(const QString &comName, const QString &logPath, const QStringList &extraArgs,
                             QString *error)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_configDir);
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);

    QStringList args{QStringLiteral("--com"), comName, QStringLiteral("--select")};
    if (!logPath.isEmpty())
        args << QStringLiteral("--log") << logPath;
    args << extraArgs;
    m_process.start(m_program, args);
    if (!m_process.waitForStarted(10000)) {
        if (error)
            *error = QStringLiteral("cannot start %1: %2").arg(m_program, m_process.errorString());
        return false;
    }

    QElapsedTimer clock;
    clock.start();
    while (!m_process.canReadLine() && clock.elapsed() < 10000) {
        if (m_process.state() != QProcess::Running)
            break;
        m_process.waitForReadyRead(200);
    }
    if (!m_process.canReadLine()) {
        if (error)
            *error = QStringLiteral("no device line; stderr: %1")
                         .arg(QString::fromLocal8Bit(m_process.readAllStandardError()));
        return false;
    }
    m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return !m_device.isEmpty();
}

void SimulatorProcess::command(const QString &line)
{
    m_process.write(line.toUtf8() + '\n');
    m_process.waitForBytesWritten(1000);
}

QString SimulatorProcess::ask(const QString &line, const QString &answerPrefix, int ms)
{
    command(line);
    QString answer;
    QTest::qWaitFor(
        [&] {
            while (m_process.canReadLine()) {
                const QString l = QString::fromUtf8(m_process.readLine()).trimmed();
                if (l.startsWith(answerPrefix)) {
                    answer = l;
                    return true;
                }
            }
            return false;
        },
        ms);
    return answer;
}

void SimulatorProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    command(QStringLiteral("quit"));
    m_process.closeWriteChannel();
    if (m_process.waitForFinished(3000))
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}
