// The built zenu-sim against the program's codec over a real pseudo-terminal.
#include "PtyClient.h"
#include "SimTestSupport.h"
#include "link/RegistryKey.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

using SimTest::hex;
using SimTest::lineFor;

namespace {

const QString MapKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\SERIALCOMM");

class SimProcess
{
public:
    explicit SimProcess(const QTemporaryDir &config)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
    }
    ~SimProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    // Starts it and returns the device path from its first line.
    QString start(const QStringList &args)
    {
        m_process.start(QStringLiteral(ZENU_SIM_BINARY), args);
        if (!m_process.waitForStarted(5000))
            return {};
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(5000))
                return {};
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    void say(const QByteArray &line) { m_process.write(line + '\n'); m_process.waitForBytesWritten(1000); }
    // The next line of output, or "" after the timeout.
    QString reply(int timeoutMs = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!m_process.canReadLine() && clock.elapsed() < timeoutMs)
            m_process.waitForReadyRead(int(timeoutMs - clock.elapsed()));
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    bool terminate(int &exitCode)
    {
        ::kill(pid_t(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(5000))
            return false;
        exitCode = m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
        return true;
    }
    QString errors() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }

private:
    QProcess m_process;
};

QByteArray exchange(PtyClient &pty, const QByteArray &body, int answerSize, PtyClient::Reply *reply = nullptr)
{
    if (!pty.write(lineFor(body)))
        return {};
    PtyClient::Reply r = pty.read(answerSize, 3000);
    QByteArray a = r.bytes;
    WireCodec::decodeReceiveInPlace(a);
    if (reply)
        *reply = r;
    return a;
}

} // namespace

TEST(SimLoopback, PacedHandshakePollsAndQueuedCommands)
{
    QTemporaryDir config, files;
    ASSERT_TRUE(config.isValid() && files.isValid());
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QString log = files.filePath(QStringLiteral("frames.jsonl"));
    SimProcess sim(config);
    const QString device = sim.start({"--pace", "--warm", "--com", "COM9", "--select", "--log", log});
    ASSERT_TRUE(device.startsWith(QLatin1String("/dev/"))) << qPrintable(device) << qPrintable(sim.errors());

    {
        RegistryKey map(MapKey);
        EXPECT_EQ(map.readString(QStringLiteral("COM9")).value_or(QString()), device);
        RegistryKey port(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\ComPort1"));
        EXPECT_EQ(port.readString(QStringLiteral("Port")).value_or(QString()), QStringLiteral("COM9"));
        EXPECT_EQ(port.readString(QStringLiteral("BaudRate")).value_or(QString()), QStringLiteral("Custom"));
        EXPECT_EQ(port.readInt(QStringLiteral("CustomBaudRate")).value_or(0), 7200);
        EXPECT_EQ(port.readString(QStringLiteral("Parity")).value_or(QString()), QStringLiteral("None"));
    }

    PtyClient pty;
    ASSERT_TRUE(pty.open(device));

    // One paced handshake: 602 bytes at 7200 baud take about 0.84 s and
    // arrive over many reads.
    PtyClient::Reply r;
    const QByteArray settings = exchange(pty, hex("6601"), 602, &r);
    ASSERT_EQ(settings.size(), 602) << qPrintable(sim.errors());
    EXPECT_EQ(uint8_t(settings[0]), 0xAA);
    EXPECT_EQ(CommandFrame::answerLength(settings), 602);
    EXPECT_EQ(uint8_t(settings[3]), 0x0C);
    EXPECT_EQ(settings.mid(4, 3), hex("030707"));
    EXPECT_GT(r.reads, 1);
    EXPECT_GE(r.lastMs - r.firstMs, 600);

    sim.say("line pace off");
    EXPECT_EQ(sim.reply(), QStringLiteral("line pace off"));
    for (int i = 0; i < 3; ++i) {
        const QByteArray live = exchange(pty, CommandFrame::body(CommandFrame::pollFrame()), 57);
        ASSERT_EQ(live.size(), 57) << i;
        EXPECT_EQ(CommandFrame::answerLength(live), 57);
        EXPECT_EQ(uint8_t(live[3]), 0x55);
        EXPECT_EQ(uint8_t(live[4]) & 1, 1) << "ignition on";
        EXPECT_NEAR(uint8_t(live[21]), 8, 1) << "idle near 800 rpm";
        EXPECT_EQ(uint8_t(live[34]), 0xFF);
    }
    const QByteArray ack = exchange(pty, hex("0919"), 57);
    ASSERT_EQ(ack.size(), 57);
    EXPECT_EQ(uint8_t(ack[3]), 0x09);
    const QByteArray readBack = exchange(pty, hex("6600"), 602);
    ASSERT_EQ(readBack.size(), 602);
    EXPECT_EQ(uint8_t(readBack[3]), 0x66);
    EXPECT_EQ(uint8_t(readBack[23]), 0x19);

    // A wrong checksum gets no answer at all.
    QByteArray bad = lineFor(hex("0920"));
    bad[bad.size() - 1] = char(uint8_t(bad.back()) ^ 0x04);
    ASSERT_TRUE(pty.write(bad));
    EXPECT_TRUE(pty.read(1, 400).bytes.isEmpty());

    int exitCode = -1;
    ASSERT_TRUE(sim.terminate(exitCode));
    EXPECT_EQ(exitCode, 0);
    {
        RegistryKey map(MapKey);
        EXPECT_FALSE(map.contains(QStringLiteral("COM9"))) << "the map entry goes with the simulator";
    }

    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList codes;
    int lines = 0;
    while (!f.atEnd()) {
        const QJsonObject o = QJsonDocument::fromJson(f.readLine()).object();
        ASSERT_FALSE(o.isEmpty());
        ++lines;
        EXPECT_LE(o.value(QStringLiteral("first_us")).toDouble(), o.value(QStringLiteral("last_us")).toDouble());
        codes << o.value(QStringLiteral("dir")).toString() + QLatin1Char(' ') + o.value(QStringLiteral("code")).toString();
    }
    EXPECT_EQ(codes.mid(0, 2), (QStringList{"in 0x66", "out 0x0c"}));
    EXPECT_TRUE(codes.contains(QStringLiteral("out 0x09")));
    EXPECT_EQ(lines, 2 * 6 + 1) << "six exchanges and the rejected frame";
}

TEST(SimLoopback, UnplugClosesTheLineAndTheMapEntry)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    SimProcess sim(config);
    const QString device = sim.start({"--com", "COM4"});
    ASSERT_FALSE(device.isEmpty()) << qPrintable(sim.errors());
    PtyClient pty;
    ASSERT_TRUE(pty.open(device));
    ASSERT_EQ(exchange(pty, hex("5501"), 57).size(), 57);

    sim.say("line unplug");
    EXPECT_EQ(sim.reply(), QStringLiteral("unplugging"));
    const PtyClient::Reply r = pty.read(1, 3000);
    EXPECT_TRUE(r.hungUp) << "the program sees the adapter go away";
    EXPECT_FALSE(RegistryKey(MapKey).contains(QStringLiteral("COM4")));

    sim.say("line plug");
    EXPECT_EQ(sim.reply(), QStringLiteral("plugging in"));
    const QString again = sim.reply();
    ASSERT_TRUE(again.startsWith(QLatin1String("/dev/")));
    EXPECT_EQ(RegistryKey(MapKey).readString(QStringLiteral("COM4")).value_or(QString()), again);
    PtyClient second;
    ASSERT_TRUE(second.open(again));
    EXPECT_EQ(exchange(second, hex("5501"), 57).size(), 57);
}

// Nobody reads for a while: the simulator keeps running and answers the
// console, and every answer arrives intact once the reader catches up.
TEST(SimLoopback, SlowReaderHoldsNothingUp)
{
    QTemporaryDir config;
    SimProcess sim(config);
    const QString device = sim.start({});
    ASSERT_FALSE(device.isEmpty());
    PtyClient pty;
    ASSERT_TRUE(pty.open(device));
    const int count = 30;
    QByteArray burst;
    for (int i = 0; i < count; ++i)
        burst += lineFor(hex("6600"));
    ASSERT_TRUE(pty.write(burst));
    QElapsedTimer clock;
    clock.start();
    sim.say("status");
    EXPECT_TRUE(sim.reply(2000).startsWith(QLatin1String("engine running")));
    EXPECT_LT(clock.elapsed(), 2000);
    const PtyClient::Reply r = pty.read(count * 602, 10000);
    ASSERT_EQ(r.bytes.size(), count * 602);
    QByteArray all = r.bytes;
    WireCodec::decodeReceiveInPlace(all);
    for (int i = 0; i < count; ++i) {
        const QByteArray a = all.mid(i * 602, 602);
        EXPECT_EQ(uint8_t(a[0]), 0xAA) << i;
        EXPECT_EQ(uint8_t(a[3]), 0x66) << i;
        EXPECT_EQ(uint8_t(a.back()), CommandFrame::checksum(a.left(601))) << i;
    }
}
