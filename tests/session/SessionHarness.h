#pragma once

// Fakes around the link session: a port, a frame writer, two timers, the
// window and the language store, all recording into one ordered log, so
// tests drive the session by explicit events and read back what it did.

#include "link/CommandFrame.h"
#include "link/ESerialPort.h"
#include "link/FrameWriter.h"
#include "link/LinkClock.h"
#include "link/Session.h"
#include "link/WireCodec.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

namespace session_test {

using Log = QStringList;

struct FakePort : LinkPort
{
    explicit FakePort(Log &log) : log(log) {}

    void open() override
    {
        if (isOpen)
            return;
        if (failOpen)
            throw ESerialPort(QStringLiteral("Unable to open com port"), 2);
        isOpen = true;
        ++opens;
        log << QStringLiteral("port.open");
        if (onOpen)
            onOpen();
    }
    void close() override
    {
        if (!isOpen)
            return;
        if (failClose)
            throw ESerialPort(QStringLiteral("PurgeComm function failed"), 22);
        isOpen = false;
        log << QStringLiteral("port.close");
    }
    bool connected() const override { return isOpen; }
    QString portName() const override { return name; }
    void setCustomBaudRate(int rate) override { customBaud = rate; }
    // As the real layer: asking a closed device for its error state fails.
    void clearLineErrors() override
    {
        if (!isOpen)
            throw ESerialPort(QStringLiteral("ClearCommError function failed"), 6);
        ++clears;
        log << QStringLiteral("port.clearLineErrors");
    }
    int bytesWaiting() override { return int(incoming.size()); }
    QByteArray read(int count) override
    {
        if (failRead)
            throw ESerialPort(QStringLiteral("ReadFile function failed"), 995);
        const QByteArray out = incoming.left(count);
        incoming.remove(0, out.size());
        return out;
    }
    void storeSettings(const QString &path) override
    {
        if (failStore)
            throw ESerialPort(QStringLiteral("Failed to store settings"));
        storedPaths << path;
        log << QStringLiteral("store.port");
    }

    Log &log;
    QString name = QStringLiteral("COM3");
    bool isOpen = false;
    bool failOpen = false;
    std::function<void()> onOpen; // runs after each open
    bool failClose = false;
    bool failRead = false;
    bool failStore = false;
    int opens = 0;
    int clears = 0;
    int customBaud = 0;
    QByteArray incoming;
    QStringList storedPaths;
};

struct FakeWriter : FrameWriter
{
    explicit FakeWriter(Log &log) : log(log) {}

    void write(const QByteArray &bytes) override
    {
        if (failWrite)
            throw ESerialPort(QStringLiteral("WriteFile function failed"), 5);
        writes << bytes;
        log << QStringLiteral("write");
    }
    void pause(int) override {}

    // Every frame the tests send is short enough to leave in one write:
    // raw 0xCC lead, then the coded frame.
    QList<QByteArray> frames() const
    {
        QList<QByteArray> out;
        for (const QByteArray &w : writes) {
            EXPECT_EQ(uint8_t(w.at(0)), CommandFrame::Lead);
            out << WireCodec::decodeCommand(w.mid(1));
        }
        return out;
    }
    int count(const QByteArray &frame) const { return int(frames().count(frame)); }

    Log &log;
    bool failWrite = false;
    QList<QByteArray> writes;
};

struct FakeTimer : LinkTimer
{
    FakeTimer(const QString &name, Log &log) : name(name), log(log) {}

    void start() override
    {
        active = true;
        ++starts;
    }
    void stop() override { active = false; }
    void setInterval(int ms) override { intervalMs = ms; }
    int interval() const override { return intervalMs; }
    bool isActive() const override { return active; }

    QString name;
    Log &log;
    bool active = true; // the session must switch both off at construction
    int intervalMs = 0;
    int starts = 0;
};

struct FakeView : LinkView
{
    explicit FakeView(Log &log) : log(log) {}

    // A box runs the caller's nested events while it is open; depth counts
    // boxes open at once.
    void showMessage(const QString &text) override
    {
        messages << text;
        log << QStringLiteral("message:") + text;
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (duringMessage)
            duringMessage();
        --depth;
    }
    void dismissMessage() override
    {
        ++dismissals;
        log << QStringLiteral("dismiss");
    }
    bool askYesNo(const QString &text) override
    {
        questions << text;
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        if (duringMessage)
            duringMessage();
        --depth;
        return answerYes;
    }
    QString messageText(int row) const override
    {
        switch (row) {
        case 10: return QStringLiteral("Reset przywróci ustawienia fabryczne");
        case 11: return QStringLiteral("Brak Sterownika");
        default: return QStringLiteral("row %1").arg(row);
        }
    }
    QString currentLanguageKey() const override { return languageKey; }
    QString statusText() const override { return status; }
    void setStatusText(const QString &text) override { status = text; }
    void setWindowEnabled(bool enabled) override
    {
        windowEnabled = enabled;
        log << QStringLiteral("window:%1").arg(enabled ? "on" : "off");
    }
    void setLinkPanelsGrey(bool grey) override
    {
        panelsGrey = grey;
        log << QStringLiteral("panels:%1").arg(grey ? "grey" : "face");
    }
    void setConnectSwitchOn(bool on) override
    {
        switchOn = on;
        log << QStringLiteral("switch:%1").arg(on ? "on" : "off");
    }
    void setConnectSwitchOnText(const QString &text) override { switchOnText = text; }
    void linkSettled() override { log << QStringLiteral("settled"); }
    void setFileMenuAvailable(bool available) override
    {
        fileMenu = available;
        log << QStringLiteral("fileMenu:%1").arg(available ? "on" : "off");
    }
    void setErrorLedVisible(bool visible) override
    {
        errorLed = visible;
        log << QStringLiteral("errorLed:%1").arg(visible ? "on" : "off");
    }
    QString faultMemoText() const override { return memo; }
    void setFaultMemoText(const QString &text) override
    {
        memo = text;
        log << QStringLiteral("memo:restore");
    }
    void setReserveLedsFlashing(bool flashing) override
    {
        reserveFlashing = flashing;
        log << QStringLiteral("reserve:%1").arg(flashing ? "on" : "off");
    }
    void resetInjectorLeds() override { log << QStringLiteral("injectorLeds:reset"); }
    void uncheckScopeLambdaButtons() override { ++lambdaUnchecks; }
    void applySettingsFrame(const QByteArray &settings) override
    {
        settingsFrames << settings;
        log << QStringLiteral("applySettings");
    }
    void applyLiveFrame(const QByteArray &answer) override
    {
        liveFrames << answer;
        log << QStringLiteral("applyLive:%1").arg(answer.size());
        // The live decoder rebuilds the current-fault list; the rest frame
        // of the disconnect lists none.
        if (answer.size() > 5 && answer.count('\0') == answer.size())
            memo.clear();
    }
    void writeDataFile() override
    {
        ++dataFileWrites;
        log << QStringLiteral("writeDataFile");
    }
    void lineErrorsChanged(int errorsLastMinute) override { lineErrors = errorsLastMinute; }
    void reconnecting(int attempt) override
    {
        reconnectAttempts << attempt;
        log << QStringLiteral("reconnecting:%1").arg(attempt);
    }
    void portLost(const QString &message) override { portLosses << message; }
    void reconnected(bool settingsDiffer) override
    {
        reconnects << settingsDiffer;
        log << QStringLiteral("reconnected:%1").arg(settingsDiffer ? "other settings" : "same");
    }
    void commandNotSent(const QByteArray &body) override { unsent << body; }
    QString controllerChanged(const QByteArray &block) override
    {
        changedControllers << block;
        log << QStringLiteral("controllerChanged");
        return changedControllerText;
    }
    void dataFileNotWritten(SaveDropped why) override
    {
        droppedSaves << why;
        log << QStringLiteral("saveDropped");
    }

    Log &log;
    QStringList messages;
    int dismissals = 0;
    QList<QByteArray> changedControllers;
    QString changedControllerText; // empty: the no-controller box
    QStringList questions;
    bool answerYes = true;
    std::function<void()> duringMessage;
    int depth = 0;
    int maxDepth = 0;
    QString languageKey = QStringLiteral("PolskiPL");
    QString status = QStringLiteral("ZENU ver.");
    bool windowEnabled = true;
    bool panelsGrey = false;
    bool switchOn = false;
    QString switchOnText;
    bool fileMenu = false;
    bool errorLed = false;
    QString memo;
    bool reserveFlashing = false;
    int lambdaUnchecks = 0;
    QList<QByteArray> settingsFrames;
    QList<SaveDropped> droppedSaves;
    QList<QByteArray> liveFrames;
    int dataFileWrites = 0;
    int lineErrors = 0;
    QList<int> reconnectAttempts;
    QStringList portLosses;
    QList<bool> reconnects;
    QList<QByteArray> unsent;
};

struct FakeClock : LinkClock
{
    qint64 nowMs() const override { return now; }
    qint64 now = 0;
};

struct FakeLanguageStore : LanguageKeyStore
{
    explicit FakeLanguageStore(Log &log) : log(log) {}
    void storeLanguageKey(const QString &key) override
    {
        if (failStore)
            throw ESerialPort(QStringLiteral("Failed to store settings"));
        keys << key;
        log << QStringLiteral("store.lang");
    }
    Log &log;
    bool failStore = false;
    QStringList keys;
};

// --- answers as a controller puts them on the line ---------------------------

// AA, length (BE, whole answer), code, data, a last byte nobody checks.
inline QByteArray answer(uint8_t code, const QByteArray &data)
{
    const int length = int(data.size()) + 5;
    QByteArray a;
    a.append(char(0xAA));
    a.append(char(length >> 8));
    a.append(char(length & 0xFF));
    a.append(char(code));
    a.append(data);
    a.append(char(0x5A));
    return a;
}

// A settings block of 602 bytes with the firmware version at offsets 4 to 6.
inline QByteArray settingsAnswer(uint8_t code = 0x0C, uint8_t major = 3, uint8_t minor = 7,
                                 uint8_t build = 7)
{
    QByteArray data(597, '\0');
    data[0] = char(major);
    data[1] = char(minor);
    data[2] = char(build);
    for (int i = 3; i < data.size(); ++i)
        data[i] = char(i * 7);
    return answer(code, data);
}

// A live frame: data at offsets 4 to 55, 57 bytes in all.
inline QByteArray liveAnswer(uint8_t code = 0x55, uint8_t fill = 0x11)
{
    return answer(code, QByteArray(52, char(fill)));
}

inline QByteArray body(const char *hex) { return QByteArray::fromHex(hex); }

struct SessionHarness : ::testing::Test
{
    Log log;
    FakePort port{log};
    FakeWriter writer{log};
    FakeTimer poll{QStringLiteral("poll"), log};
    FakeTimer answerTimer{QStringLiteral("answer"), log};
    FakeView view{log};
    FakeLanguageStore langStore{log};
    Session session{port, writer, poll, answerTimer, view, langStore};

    const QByteArray startup = CommandFrame::startupFrame();
    const QByteArray pollFrame = CommandFrame::pollFrame();

    // Plain answer bytes, coded as the controller sends them.
    void receive(const QByteArray &plain) { session.bytesReceived(WireCodec::encodeReply(plain)); }
    void receiveIn(const QByteArray &plain, const QList<int> &pieces)
    {
        int at = 0;
        for (int n : pieces) {
            receive(plain.mid(at, n));
            at += n;
        }
        if (at < plain.size())
            receive(plain.mid(at));
    }
    // Only a running timer can tick; a test that needs a tick from a stopped
    // timer has found a stall.
    void tick()
    {
        ASSERT_TRUE(poll.active) << "poll timer is off";
        session.Timer_CountTimer();
    }
    void timeout()
    {
        ASSERT_TRUE(answerTimer.active) << "answer timer is off";
        session.Timer_Czekaj_na_odczytTimer();
    }

    void connect() { session.polaczClick(Session::ConnectOrigin::PolaczItem); }

    // Connect, a startup answer in two pieces, and the tick that finishes the
    // handshake: the link is polling afterwards.
    void connectAndHandshake(const QByteArray &settings = settingsAnswer())
    {
        connect();
        receiveIn(settings, {100});
        tick();
        ASSERT_EQ(session.linkState(), Session::Count);
    }

    // One poll tick and its answer.
    void pollCycle(const QByteArray &reply = liveAnswer())
    {
        tick();
        receive(reply);
    }

    QByteArray lastFrame() const { return writer.frames().isEmpty() ? QByteArray() : writer.frames().last(); }
};

} // namespace session_test
