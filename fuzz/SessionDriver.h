#pragma once

// Drives the link session from a stream of bytes: every byte picks an event
// (a chunk from the line, a tick, a time-out, a user action, a failure of the
// port or the store), the bytes after it are that event's data. Message boxes
// take further events from the same stream while they are open, as a modal
// box's event loop does. After every event the session's invariants are
// checked; the first broken one is kept as a readable sentence.
//
// The fuzz target and a deterministic randomized test share this driver.

#include "link/CommandBodies.h"
#include "link/CommandFrame.h"
#include "link/ESerialPort.h"
#include "link/FrameWriter.h"
#include "link/Session.h"
#include "link/WireCodec.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

namespace session_fuzz {

// Reads the event stream; past its end every read gives 0.
class Stream
{
public:
    Stream(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    bool done() const { return m_at >= m_size; }
    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    QByteArray bytes(size_t n)
    {
        QByteArray out;
        while (n-- > 0 && !done())
            out.append(char(byte()));
        return out;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

class Driver;

struct Port : LinkPort
{
    bool isOpen = false;
    bool failOpen = false, failClose = false, failRead = false, failStore = false;
    QByteArray incoming;

    void open() override
    {
        if (isOpen)
            return;
        if (failOpen)
            throw ESerialPort(QStringLiteral("Unable to open com port"), 2);
        isOpen = true;
    }
    void close() override
    {
        if (!isOpen)
            return;
        if (failClose)
            throw ESerialPort(QStringLiteral("PurgeComm function failed"), 22);
        isOpen = false;
    }
    bool connected() const override { return isOpen; }
    QString portName() const override { return QStringLiteral("COM3"); }
    void setCustomBaudRate(int) override {}
    void clearLineErrors() override
    {
        if (!isOpen)
            throw ESerialPort(QStringLiteral("ClearCommError function failed"), 6);
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
    void storeSettings(const QString &) override
    {
        if (failStore)
            throw ESerialPort(QStringLiteral("Failed to store settings"));
    }
};

struct Writer : FrameWriter
{
    bool failWrite = false;
    int writes = 0;
    void write(const QByteArray &) override
    {
        if (failWrite)
            throw ESerialPort(QStringLiteral("WriteFile function failed"), 5);
        ++writes;
    }
    void pause(int) override {}
};

struct Timer : LinkTimer
{
    bool active = false;
    int ms = 0;
    void start() override { active = true; }
    void stop() override { active = false; }
    void setInterval(int m) override { ms = m; }
    int interval() const override { return ms; }
    bool isActive() const override { return active; }
};

struct Store : LanguageKeyStore
{
    bool fail = false;
    void storeLanguageKey(const QString &) override
    {
        if (fail)
            throw ESerialPort(QStringLiteral("Failed to store settings"));
    }
};

struct View : LinkView
{
    Driver *driver = nullptr;
    int depth = 0;
    int maxDepth = 0;
    int messages = 0;
    bool answerYes = false;
    bool windowEnabled = true;
    bool panelsGrey = false;
    QString status = QStringLiteral("ZENU ver.");

    void showMessage(const QString &) override;
    bool askYesNo(const QString &) override;
    QString messageText(int row) const override { return row == 11 ? QStringLiteral("Brak Sterownika") : QString(); }
    QString currentLanguageKey() const override { return QStringLiteral("PolskiPL"); }
    QString statusText() const override { return status; }
    void setStatusText(const QString &text) override { status = text; }
    void setWindowEnabled(bool enabled) override { windowEnabled = enabled; }
    void setLinkPanelsGrey(bool grey) override { panelsGrey = grey; }
    void setConnectSwitchOn(bool) override {}
    void setConnectSwitchOnText(const QString &) override {}
    void setFileMenuAvailable(bool) override {}
    void setErrorLedVisible(bool) override {}
    QString faultMemoText() const override { return {}; }
    void setFaultMemoText(const QString &) override {}
    void setReserveLedsFlashing(bool) override {}
    void resetInjectorLeds() override {}
    void uncheckScopeLambdaButtons() override {}
    void applySettingsFrame(const QByteArray &) override {}
    void applyLiveFrame(const QByteArray &) override {}
    void writeDataFile() override {}
};

class Driver
{
public:
    explicit Driver(Stream &stream) : m_stream(stream)
    {
        view.driver = this;
    }

    // Runs the whole stream; false when an invariant broke (see failure()).
    bool run()
    {
        while (!m_stream.done() && m_failure.empty())
            step();
        // The stream may end while the link still waits: let its timers
        // finish the story as the event loop would.
        for (int i = 0; i < 64 && m_failure.empty() && (poll.active || answer.active); ++i) {
            if (answer.active)
                session.Timer_Czekaj_na_odczytTimer();
            else
                session.Timer_CountTimer();
            check("after the stream");
        }
        return m_failure.empty();
    }

    const std::string &failure() const { return m_failure; }

    // One event from the stream (also what a box's event loop delivers).
    void step()
    {
        const uint8_t op = m_stream.byte();
        std::string what;
        switch (op % 16) {
        case 0:
        case 1:
        case 2:
        case 3: { // a chunk: plain answer bytes coded as the controller sends them
            const QByteArray plain = m_stream.bytes(m_stream.byte() % 64 + 1);
            session.bytesReceived(WireCodec::encodeReply(plain));
            what = "a chunk";
            break;
        }
        case 4: { // a well-formed answer, whole or cut short, so assembly gets far
            const uint8_t code = m_stream.byte();
            const int length = (op & 0x80) ? 602 : 57;
            QByteArray a(length, char(m_stream.byte()));
            a[0] = char(0xAA);
            a[1] = char(length >> 8);
            a[2] = char(length & 0xFF);
            a[3] = char((op & 0x40) ? 0x0C : code);
            a[4] = 3;
            a[5] = 7;
            a[6] = 7;
            const int cut = (op & 0x20) ? m_stream.byte() % length + 1 : length;
            session.bytesReceived(WireCodec::encodeReply(a.left(cut)));
            what = "an answer";
            break;
        }
        case 5:
            if (poll.active)
                session.Timer_CountTimer();
            what = "a tick";
            break;
        case 6:
            if (answer.active)
                session.Timer_Czekaj_na_odczytTimer();
            what = "a time-out";
            break;
        case 7:
            session.polaczClick(Session::ConnectOrigin::PolaczItem);
            what = "a connect";
            break;
        case 8:
            session.rozlacz1Click();
            what = "a disconnect";
            break;
        case 9: { // a settings control, or a group of them
            session.setCommandRetries(int(m_stream.byte() % 9));
            const QByteArray first = QByteArray::fromHex("0919");
            if (op & 0x80)
                session.QueueCommand(first, QByteArray::fromHex("2402"), QByteArray::fromHex("3003"));
            else
                session.QueueCommand(first);
            what = "a queued command";
            break;
        }
        case 10: // the data file load or save: a long exchange and its command
            session.beginLongExchange();
            session.setCommandRetries(5);
            if (op & 0x80)
                session.QueueCommand(CommandBodies::dataFileSave());
            else
                session.QueueCommand(QByteArray::fromHex("6600"));
            what = "a long exchange";
            break;
        case 11:
            view.answerYes = (op & 0x80) != 0;
            session.Reset1Click();
            what = "a factory reset";
            break;
        case 12: { // the port goes away underneath
            port.isOpen = false;
            session.portFailed(QStringLiteral("Resource error"));
            what = "a lost port";
            break;
        }
        case 13: { // failures switched on or off
            const uint8_t f = m_stream.byte();
            port.failOpen = f & 0x01;
            port.failClose = f & 0x02;
            port.failRead = f & 0x04;
            port.failStore = f & 0x08;
            store.fail = f & 0x10;
            writer.failWrite = f & 0x20;
            what = "failures changed";
            break;
        }
        case 14: { // a notification of waiting bytes read through the port
            port.incoming += WireCodec::encodeReply(m_stream.bytes(m_stream.byte() % 32 + 1));
            session.ComPort1RxChar(int(m_stream.byte() % 40));
            what = "a read";
            break;
        }
        case 15:
            session.Polacz_switchStatusChanged((op & 0x80) != 0);
            what = "the switch";
            break;
        }
        check(what);
    }

    // A modal box is open: its event loop hands on some events.
    void insideBox()
    {
        ++view.depth;
        if (view.depth > view.maxDepth)
            view.maxDepth = view.depth;
        if (view.depth > 1 && m_failure.empty())
            m_failure = "a second message box opened inside the first";
        const int events = m_stream.byte() % 8;
        for (int i = 0; i < events && !m_stream.done() && m_failure.empty(); ++i)
            step();
        --view.depth;
    }

    Port port;
    Writer writer;
    Timer poll;
    Timer answer;
    View view;
    Store store;
    Session session{port, writer, poll, answer, view, store};

private:
    void check(const std::string &after)
    {
        if (!m_failure.empty())
            return;
        const QString &state = session.linkState();
        const bool waiting = state == Session::WaitStart || state == Session::WaitStartRest
                             || state == Session::ReadCount || state == Session::ReadCountRest;
        if (session.rxBuffer().size() > Session::LargestAnswer)
            m_failure = "the receive buffer grew past the largest answer after " + after;
        else if (waiting && !port.isOpen)
            m_failure = "waiting for an answer with the port closed after " + after;
        else if (state.isEmpty() && (poll.active || answer.active))
            m_failure = "a link timer runs with no link after " + after;
        else if (!state.isEmpty() && !poll.active && !answer.active)
            m_failure = "the link stalled (state " + state.toStdString() + ", no timer) after " + after;
        else if (state.isEmpty() && (!view.windowEnabled || view.panelsGrey))
            m_failure = "the window stays disabled with no link after " + after;
    }

    Stream &m_stream;
    std::string m_failure;
};

inline void View::showMessage(const QString &)
{
    ++messages;
    driver->insideBox();
}

inline bool View::askYesNo(const QString &)
{
    driver->insideBox();
    return answerYes;
}

} // namespace session_fuzz
