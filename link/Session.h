#pragma once

#include "link/CommandBodies.h"
#include "link/CommandQueue.h"
#include "link/LineQuality.h"
#include "link/LinkClock.h"
#include "link/LinkInterfaces.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class FrameWriter;

// The controller link's state machine: connect and firmware check, the poll
// cycle, answer assembly, time-outs, the command queue's sending side and the
// disconnect sequence. Every method is an event of the main window (a menu
// item, a timer tick, bytes from the port) and runs to completion on the UI
// thread; nothing here waits or sleeps.
//
// Port and store failures never leave a public method: a failure while a link
// exists ends the link (disconnect sequence) and is told to the user once;
// one without a link (the port will not open) is only shown.
class Session
{
public:
    enum class ConnectOrigin {
        PolaczItem, // the "Połącz" item, a port item or the connection switch
        Retry       // the session trying the handshake again by itself
    };

    static constexpr int PollInterval = 240;
    static constexpr int LongExchangeBit = 1024;
    static constexpr int AnswerTimeout = 3000;
    static constexpr int ConnectAttempts = 5;
    static constexpr int LiveRestBytes = 500;
    // The settings block is the longest answer the controller gives.
    static constexpr int LargestAnswer = 602;
    static inline const QString StatusIdle = QStringLiteral("ZENU ver.");
    static inline const QString PortSettingsPath = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU");
    static inline const QString InitErrorText = QStringLiteral("Init Error");
    static inline const QString QueueTimeoutText = QStringLiteral("Time out - Error1");
    // Riding out a bad line: a new handshake every 2 s, for at most 2 minutes.
    static constexpr int ReconnectInterval = 2000;
    static constexpr int ReconnectLimit = 120000;
    static constexpr int ResetQuestionRow = 10;
    static constexpr int NoControllerRow = 11;

    // Link states, as the tags the rest of the program knows them by.
    static inline const QString WaitStart = QStringLiteral("w_s_0");
    static inline const QString WaitStartRest = QStringLiteral("w_s_count");
    static inline const QString StartDone = QStringLiteral("T_C_start");
    static inline const QString Count = QStringLiteral("count");
    static inline const QString ReadCount = QStringLiteral("read_count");
    static inline const QString ReadCountRest = QStringLiteral("read_count_1");

    // `pollTimer` is `Timer_Count`, `answerTimer` `Timer_Czekaj_na_odczyt`;
    // their intervals are set here (240 ms and 3000 ms) and both are stopped.
    Session(LinkPort &port, FrameWriter &writer, LinkTimer &pollTimer, LinkTimer &answerTimer,
            LinkView &view, LanguageKeyStore &languageStore);

    // --- events ----------------------------------------------------------
    void polaczClick(ConnectOrigin origin);
    void rozlacz1Click();
    // The port reports `count` bytes waiting.
    void ComPort1RxChar(int count);
    // One chunk as read from the port, still in the line's coding.
    void bytesReceived(const QByteArray &lineBytes);
    void Timer_CountTimer();
    void Timer_Czekaj_na_odczytTimer();
    // `Polacz_switch` changed by the user (not by setConnectSwitchOn()).
    void Polacz_switchStatusChanged(bool on);
    void Reset1Click();
    // The port went away underneath us (unplugged adapter, driver error).
    void portFailed(const QString &message);
    // The window closes: timers off, port closed, disconnect sequence.
    void windowClosing();

    // --- riding out a bad line ---------------------------------------------
    // With the option on, a link whose handshake has completed is not ended
    // by a garbled answer, a wrong echo, a time-out or a port failure: no box
    // is shown, the error is counted (lineErrorsLastMinute), and where the
    // link would end the session makes it again, a handshake every 2 s
    // (reopening the port when it failed), until it answers or 2 minutes
    // have passed; then it ends as it would have at once, with the
    // "Brak Sterownika" message. Queued commands wait and go out afterwards.
    // Off (the default), everything is as without it.
    //
    // `retryTimer` paces the attempts (its interval is set here; its
    // timeout goes to Timer_ReconnectTimer); `clock` measures the 2 minutes
    // and the minute of the error count.
    void setReconnectParts(LinkTimer &retryTimer, const LinkClock &clock);
    void setAutoReconnect(bool on);
    bool autoReconnect() const { return m_autoReconnect; }
    void Timer_ReconnectTimer();
    bool reconnecting() const { return m_reconnecting; }
    // Handshakes started since the link was lost (0 while waiting for the first).
    int reconnectAttempt() const { return m_reconnectAttempt; }
    int lineErrorsLastMinute();

    // --- command queue ---------------------------------------------------
    // Callers set the budget (5, or 7 for the map editor) first.
    void setCommandRetries(int retries) { m_queue.setCommandRetries(retries); }
    int commandRetries() const { return m_queue.commandRetries(); }
    int lastCommandCode() const { return m_queue.lastCommandCode(); }
    void QueueCommand(const QByteArray &first, const QByteArray &second = {},
                      const QByteArray &third = {});
    void QueueCommand(const CommandBodies::Group &group)
    {
        QueueCommand(group.first, group.second, group.third);
    }
    void AcknowledgeCommand();
    // False when nothing was framed (the save marker reached the front).
    bool AdvanceQueue();
    const CommandQueue &queue() const { return m_queue; }

    // --- long exchange (handshake, factory reset, data file) ---------------
    void beginLongExchange();
    void endLongExchange();
    // Only the slower tick, as at the end of a calibration.
    void raisePollInterval();

    // --- state, for the parts that read it and for tests -------------------
    const QString &linkState() const { return m_linkState; }
    const QByteArray &rxBuffer() const { return m_rxBuffer; }
    int expectedLength() const { return m_expectedLength; }
    int connectRetries() const { return m_connectRetries; }
    const QByteArray &storedSettings() const { return m_storedSettings; }
    // The cylinder count edit rewrites two bytes of the kept block in place.
    QByteArray &editableStoredSettings() { return m_storedSettings; }
    // A settings answer shorter than this is not a settings block: it is
    // neither kept nor applied.
    static constexpr int MinimumSettingsSize = 602;
    // The firmware version a settings block carries, as the status bar shows
    // it: "3.07.07" for 3.7.7.
    static QString versionText(const QByteArray &block);
    // A link exists from the connect until the disconnect sequence.
    bool linkActive() const;
    // A command queued now would go out: a link state and an open port. The
    // parts that queue ask this first, so they can tell the user why not.
    bool acceptsCommands() const { return !m_linkState.isEmpty() && m_port.connected(); }
    // One of the session's message boxes is open right now.
    bool messageBoxOpen() const { return m_boxOpen; }

private:
    void connectImpl(ConnectOrigin origin);
    void disconnectSequence(bool portLost);
    void receiveChunk(QByteArray chunk);
    void onStartupFirstChunk(const QByteArray &chunk);
    void onStartupRest(const QByteArray &chunk);
    void onAnswerFirstChunk(const QByteArray &chunk);
    void onAnswerRest(const QByteArray &chunk);
    void startupProgress();
    void answerProgress();
    void abandonGarbledAnswer();
    bool answerOverlong() const;
    void answerComplete();
    bool versionAccepted();
    void pollTick();
    void answerTimeout();
    void queueCommandImpl(const QByteArray &first, const QByteArray &second, const QByteArray &third);
    void acknowledgeImpl();
    bool advanceImpl();
    void sendFrame(const QByteArray &frame);
    void takeLengthFromHeader();
    bool inHandshake() const;
    // Keeps a complete settings answer and hands it to the window.
    bool ridesOut() const;
    void noteLineError();
    void startReconnect(bool portFailed);
    void reconnectTick();
    void giveUp(const QString &why = {});
    void reportUnsent();
    qint64 nowMs() const { return m_clock->nowMs(); }
    // False when the answer is too short to be a settings block (nothing kept).
    bool keepSettings();

    // Every box the session opens goes through these: one box at a time. A
    // message that comes up while a box is open (its nested event loop keeps
    // the link running) waits and is shown after it, once.
    void tell(const QString &text);
    bool ask(const QString &text);
    void showWaitingMessages();

    // Runs one event; failures of the port or the store end here.
    void guarded(const std::function<void()> &event);
    void linkFailed(const QString &message);

    LinkPort &m_port;
    FrameWriter &m_writer;
    LinkTimer &m_pollTimer;
    LinkTimer &m_answerTimer;
    LinkView &m_view;
    LanguageKeyStore &m_languageStore;

    CommandQueue m_queue;
    QString m_linkState;
    QByteArray m_rxBuffer;
    int m_expectedLength = 0;
    int m_connectRetries = ConnectAttempts;
    QByteArray m_storedSettings;
    // The frame the awaited answer belongs to (the last one sent by a tick).
    QByteArray m_inFlight;
    // Polled answers in a row that did not even start with the start byte.
    int m_garbledAnswers = 0;
    // The last disconnect sequence could not close the port (the device is
    // gone): its failure is the news, not a time-out.
    bool m_closeFailed = false;
    // Riding out a bad line.
    SteadyLinkClock m_steadyClock;
    const LinkClock *m_clock = &m_steadyClock;
    LinkTimer *m_retryTimer = nullptr;
    bool m_autoReconnect = false;
    // A handshake has completed since the last connect by the user.
    bool m_handshakeDone = false;
    bool m_reconnecting = false;
    // The port failed since it was last opened: close and reopen it.
    bool m_portSuspect = false;
    int m_reconnectAttempt = 0;
    qint64 m_reconnectSince = 0;
    LineQuality m_lineQuality;
    bool m_boxOpen = false;
    QString m_openBoxText;
    QStringList m_waitingMessages;
};
