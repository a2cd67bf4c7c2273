// The port over a real pseudo-terminal: opening by COM name through the map,
// line settings on the device, receive notifications, reads, writes, the
// rules for changing settings while open, and the fixed error messages.
#include "PtyPair.h"
#include "TempStore.h"
#include "link/ComPortMap.h"
#include "link/ESerialPort.h"
#include "link/RegistryKey.h"
#include "link/TSerialPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs the event loop until `done` holds or the time is up (generous: the
// machine is shared with other builds).
bool spinUntil(const std::function<bool()> &done, int ms = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

void spinFor(int ms)
{
    spinUntil([] { return false; }, ms);
}

void registerDevice(const QString &com, const QString &device)
{
    RegistryKey key(ComPortMap::storeKeyPath());
    key.writeString(com, device);
    key.flush();
}

template <typename F>
QString errorOf(F &&f)
{
    try {
        f();
    } catch (const ESerialPort &e) {
        return e.message();
    }
    return "no error";
}

class SerialPortPty : public ::testing::Test
{
protected:
    TempStore store;
    PtyPair pty;
    TSerialPort port;
    QList<int> counts;  // every rxChar count, in order
    QByteArray received; // what the handler read

    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        registerDevice("COM5", pty.slavePath());
        port.setObjectName("ComPort1");
        port.setPort("COM5");
        port.setBaudRate(BaudRateChoice::Custom);
        port.setCustomBaudRate(7200);
        // Plays the program's receive handler: reads exactly what was counted.
        QObject::connect(&port, &TSerialPort::rxChar, &port, [this](int count) {
            counts << count;
            received += port.read(count);
        });
    }
};

TEST_F(SerialPortPty, OpensByComNameWithTheControllerLineSettings)
{
    port.open();
    ASSERT_TRUE(port.connected());
    const PtyPair::Line line = pty.line();
    EXPECT_EQ(line.speed, 7200u);
    EXPECT_EQ(line.dataBits, 8);
    EXPECT_FALSE(line.parity);
    EXPECT_FALSE(line.twoStopBits);
    EXPECT_FALSE(line.rtsCts);
    EXPECT_FALSE(line.xonXoff);
}

TEST_F(SerialPortPty, ListsTheRegisteredTerminal)
{
    // Qt does not enumerate pseudo-terminals: only the map entry lists it.
    // (Its disappearance is not tested here: a parallel test may be handed
    // the same /dev/pts number at once.)
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ASSERT_NE(info.systemLocation(), pty.slavePath());
    const QStringList names = TCustomSerialPort::listPorts();
    EXPECT_TRUE(names.contains("COM5")) << names.join(',').toStdString();
}

TEST_F(SerialPortPty, ReceivedBytesReachTheHandlerWithTheirCount)
{
    port.open();
    QByteArray sent;
    for (int i = 0; i < 300; ++i)
        sent += char(i * 7);
    pty.write(sent.left(100));
    ASSERT_TRUE(spinUntil([&] { return received.size() >= 100; }));
    pty.write(sent.mid(100));
    ASSERT_TRUE(spinUntil([&] { return received.size() >= sent.size(); }));
    spinFor(50);

    EXPECT_EQ(received, sent);
    int total = 0;
    for (int c : counts) {
        EXPECT_GT(c, 0);
        total += c;
    }
    EXPECT_EQ(total, sent.size());
}

TEST_F(SerialPortPty, NotificationsOnlyWhileOpenAndOnlyWithBytes)
{
    // Each case leaves one notification queued with one byte waiting; what
    // happens before the loop runs decides whether the handler sees it.
    const struct {
        const char *name;
        std::function<void(TSerialPort &)> beforeHandling;
        QList<int> expected;
    } cases[] = {
        {"Untouched", [](TSerialPort &) {}, {1}},
        {"AlreadyRead", [](TSerialPort &p) { p.read(1); }, {}},
        {"Closed", [](TSerialPort &p) { p.close(); }, {}},
        {"ClosedAndReopened", [](TSerialPort &p) { p.close(); p.open(); }, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        port.open();
        counts.clear();
        received.clear();
        pty.write("ab");
        QThread::msleep(30);
        // A direct read takes the first byte and, while waiting for it, lets
        // the port see the device's data: a notification is now queued.
        ASSERT_EQ(port.read(1), QByteArray("a"));
        c.beforeHandling(port);
        spinFor(150);
        EXPECT_EQ(counts, c.expected);
        port.close();
    }
}

TEST_F(SerialPortPty, OpenAndCloseTwiceDoNothingMore)
{
    port.open();
    port.open();
    ASSERT_TRUE(port.connected());
    pty.write("xyz");
    ASSERT_TRUE(spinUntil([&] { return received.size() >= 3; }));
    spinFor(50);
    EXPECT_EQ(received, "xyz");

    port.close();
    EXPECT_NO_THROW(port.close());
    EXPECT_FALSE(port.connected());
    pty.write("late");
    spinFor(100);
    EXPECT_EQ(received, "xyz");
}

TEST_F(SerialPortPty, WriteHandsEveryByteToTheDevice)
{
    port.open();
    QByteArray frame(159, '\0');
    for (int i = 0; i < frame.size(); ++i)
        frame[i] = char(0xCC ^ i);
    port.write(frame);
    EXPECT_EQ(pty.read(2000, frame.size()), frame);

    port.write(QByteArray());
    EXPECT_TRUE(pty.read(50).isEmpty());
}

// Each piece the line delivers is told as it comes, not held back until more
// has arrived; a closed and reopened port hears the line as before.
TEST_F(SerialPortPty, EachPieceIsToldAsItComes)
{
    port.open();
    pty.write("0123456789");
    ASSERT_TRUE(spinUntil([&] { return received.size() >= 10; }));
    pty.write("abcde");
    ASSERT_TRUE(spinUntil([&] { return received.size() >= 15; }));
    EXPECT_EQ(counts, (QList<int>{10, 5}));

    port.close();
    port.open();
    pty.write("xyz");
    ASSERT_TRUE(spinUntil([&] { return received.size() >= 18; }));
    EXPECT_EQ(received, "0123456789abcdexyz");
}

TEST_F(SerialPortPty, ReadReturnsWhatIsWaitingWithoutStalling)
{
    port.open();
    QObject::disconnect(&port, &TSerialPort::rxChar, nullptr, nullptr);
    pty.write("12345");
    ASSERT_TRUE(spinUntil([&] { return port.bytesWaiting() >= 5; }));
    EXPECT_EQ(port.bytesWaiting(), 5);
    EXPECT_EQ(port.read(3), "123");

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(port.read(10), "45");
    EXPECT_EQ(port.read(4), "");
    EXPECT_LT(clock.elapsed(), 200); // two short waits, not a blocking read
    EXPECT_EQ(port.bytesWaiting(), 0);
}

TEST_F(SerialPortPty, SameRateAgainIsNotReappliedANewOneIs)
{
    port.open();
    ASSERT_EQ(pty.line().speed, 7200u);
    // Something else changes the line; only a real re-application undoes it.
    pty.setSpeed(9600);
    port.setCustomBaudRate(7200);
    port.setBaudRate(BaudRateChoice::Custom);
    EXPECT_EQ(pty.line().speed, 9600u);

    port.setCustomBaudRate(7300);
    EXPECT_EQ(pty.line().speed, 7300u);
    port.setBaudRate(BaudRateChoice::Br19200);
    EXPECT_EQ(pty.line().speed, 19200u);
    EXPECT_EQ(port.effectiveBaudRate(), 19200);
}

TEST_F(SerialPortPty, NewNameWhileOpenReopensThere)
{
    PtyPair second;
    ASSERT_TRUE(second.ok());
    registerDevice("COM6", second.slavePath());
    port.open();
    port.setPort("COM6");
    ASSERT_TRUE(port.connected());
    EXPECT_EQ(second.line().speed, 7200u);

    port.write("to6");
    EXPECT_EQ(second.read(2000, 3), "to6");
    EXPECT_TRUE(pty.read(50).isEmpty());

    pty.write("old");
    second.write("new");
    ASSERT_TRUE(spinUntil([&] { return received.size() >= 3; }));
    spinFor(100);
    EXPECT_EQ(received, "new");

    // The same name again leaves the open port alone: nothing is lost.
    second.write("kept");
    port.setPort("COM6");
    ASSERT_TRUE(spinUntil([&] { return received.size() >= 7; }));
    EXPECT_EQ(received, "newkept");
}

TEST_F(SerialPortPty, OpenFailuresCarryTheCode)
{
    registerDevice("COM8", store.path() + "/no-such-device");
    const struct {
        QString name;
        QString message;
    } cases[] = {
        {"COM29", "Unable to open com port (win error code: 1)"}, // no entry in the map
        {"COM8", "Unable to open com port (win error code: 1)"},  // entry, device gone
        {"", "Unable to open com port (win error code: 1)"},      // nothing stored yet
    };
    for (const auto &c : cases) {
        TSerialPort other;
        other.setPort(c.name);
        EXPECT_EQ(errorOf([&] { other.open(); }), c.message) << c.name.toStdString();
        EXPECT_FALSE(other.connected());
    }
}

TEST_F(SerialPortPty, SecondOpenOfABusyPortFails)
{
    port.open();
    TSerialPort other;
    other.setPort("COM5");
    const QString message = errorOf([&] { other.open(); });
    EXPECT_TRUE(message.startsWith("Unable to open com port (win error code: ")) << message.toStdString();
    EXPECT_FALSE(other.connected());
    EXPECT_TRUE(port.connected());
}

TEST_F(SerialPortPty, OperationsOnAClosedPortFail)
{
    const QString code = QStringLiteral(" (win error code: %1)").arg(int(QSerialPort::NotOpenError));
    const struct {
        const char *name;
        std::function<void()> op;
        QString message;
    } cases[] = {
        {"read", [&] { port.read(1); }, "ReadFile function failed" + code},
        {"write", [&] { port.write("x"); }, "WriteFile function failed" + code},
        {"bytesWaiting", [&] { port.bytesWaiting(); }, "ClearCommError function failed" + code},
        {"clearLineErrors", [&] { port.clearLineErrors(); }, "ClearCommError function failed" + code},
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorOf(c.op), c.message) << c.name;
    // Writing nothing never touches the device.
    EXPECT_EQ(errorOf([&] { port.write(QByteArray()); }), "no error");
}

// A device that goes away between two reads (an adapter pulled while the
// program waits for an answer) is told at once, and once, with the resource
// error's code; busy traffic on a live line, where a wait takes bytes ahead
// of their notification, is no such loss.
TEST_F(SerialPortPty, ADeviceGoneWhileIdleIsToldAtOnceAndOnce)
{
    const QString code = QStringLiteral(" (win error code: %1)").arg(int(QSerialPort::ResourceError));
    QStringList told;
    QObject::connect(&port, &TSerialPort::errorRaised, &port, [&told](const QString &m) { told << m; });
    port.open();
    for (int i = 0; i < 20; ++i) {
        pty.write("abc");
        port.write("xyz");
        port.read(1);
        spinFor(5);
    }
    spinFor(200);
    EXPECT_TRUE(told.isEmpty()) << told.join(" | ").toStdString();
    EXPECT_TRUE(port.connected());

    pty.close();
    ASSERT_TRUE(spinUntil([&] { return !told.isEmpty(); }, 2000));
    spinFor(300);
    EXPECT_EQ(told.join(" | "), "ReadFile function failed" + code);
    EXPECT_EQ(errorOf([&] { port.write("x"); }), "WriteFile function failed" + code);
    // Closing a port whose device has gone may fail; it is closed all the same.
    errorOf([&] { port.close(); });
    EXPECT_FALSE(port.connected());
}

TEST_F(SerialPortPty, LoadWhileOpenAppliesTheStoredLine)
{
    {
        RegistryKey key("HKEY_LOCAL_MACHINE\\Software\\ZENU\\ComPort1");
        key.writeString("Port", "COM5");
        key.writeString("BaudRate", "Custom");
        key.writeInt("CustomBaudRate", 4800);
        key.writeString("StopBits", "2");
        key.flush();
    }
    port.open();
    port.loadSettings("HKEY_LOCAL_MACHINE\\Software\\ZENU");
    EXPECT_TRUE(port.connected());
    EXPECT_EQ(pty.line().speed, 4800u);
    EXPECT_TRUE(pty.line().twoStopBits);
}

// A pseudo-terminal keeps 8 data bits and no parity whatever it is told,
// which makes it a device that refuses a line setting.
TEST_F(SerialPortPty, RefusedLineSettingClosesTheDeviceAgain)
{
    {
        RegistryKey key("HKEY_LOCAL_MACHINE\\Software\\ZENU\\ComPort1");
        key.writeString("Port", "COM5");
        key.writeString("BaudRate", "Custom");
        key.writeInt("CustomBaudRate", 7200);
        key.writeString("Parity", "Even");
        key.flush();
    }
    port.open();
    EXPECT_EQ(errorOf([&] { port.loadSettings("HKEY_LOCAL_MACHINE\\Software\\ZENU"); }),
              "Failed to load settings");

    port.close();
    const QString refused = errorOf([&] { port.open(); });
    EXPECT_EQ(refused, QStringLiteral("SetCommState function failed (win error code: %1)")
                           .arg(int(QSerialPort::UnsupportedOperationError)));
    EXPECT_FALSE(port.connected());
    // The device was let go: another component can take it.
    TSerialPort other;
    other.setPort("COM5");
    EXPECT_NO_THROW(other.open());
    EXPECT_TRUE(other.connected());
}

} // namespace
