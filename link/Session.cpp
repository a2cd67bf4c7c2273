#include "link/Session.h"

#include "link/CommandBodies.h"
#include "link/CommandFrame.h"
#include "link/ESerialPort.h"
#include "link/SendFrame.h"
#include "link/WireCodec.h"

#include <exception>

namespace {

constexpr int LineBaudRate = 7200;
constexpr uint8_t StartupAnswerCodes[] = {0x0C, 0x26};
constexpr int ReadAllCode = 0x66;
constexpr int FactoryResetCode = 0x26;
constexpr int QueueRetriesDefault = 5;
constexpr int QueueRetriesFollowing = 7;

uint8_t byteAt(const QByteArray &bytes, int offset)
{
    return offset < bytes.size() ? uint8_t(bytes[offset]) : 0;
}

// The one firmware this program speaks to: 3.7.7.
bool spokenFirmware(const QByteArray &block)
{
    return byteAt(block, 4) == 3 && byteAt(block, 5) == 7 && byteAt(block, 6) == 7;
}

QString twoHexDigits(uint8_t value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

} // namespace

Session::Session(LinkPort &port, FrameWriter &writer, LinkTimer &pollTimer, LinkTimer &answerTimer,
                 LinkView &view, LanguageKeyStore &languageStore)
    : m_port(port), m_writer(writer), m_pollTimer(pollTimer), m_answerTimer(answerTimer),
      m_view(view), m_languageStore(languageStore)
{
    m_pollTimer.stop();
    m_answerTimer.stop();
    m_pollTimer.setInterval(PollInterval);
    m_answerTimer.setInterval(AnswerTimeout);
}

bool Session::linkActive() const
{
    return !m_linkState.isEmpty() || m_pollTimer.isActive() || m_answerTimer.isActive() || m_reconnecting;
}

bool Session::inHandshake() const
{
    return m_linkState == WaitStart || m_linkState == WaitStartRest;
}

// --- message boxes ------------------------------------------------------------

namespace {

// Clears the open-box mark however the box ends.
struct BoxMark
{
    BoxMark(bool &open, QString &text, const QString &shown) : open(open), text(text)
    {
        open = true;
        text = shown;
    }
    ~BoxMark()
    {
        open = false;
        text.clear();
    }
    bool &open;
    QString &text;
};

} // namespace

void Session::tell(const QString &text)
{
    if (m_boxOpen) {
        // The same text again (noise keeps garbling answers) is no news.
        if (text != m_openBoxText && !m_waitingMessages.contains(text))
            m_waitingMessages << text;
        // The link ended while "Init Error" was up: the ending is the news,
        // and it is shown now. Left behind the stale box, it would come up
        // only when that one is closed, where it reads as the answer to the
        // fitter's next click (which it swallows).
        if (m_openBoxText == InitErrorText && !linkActive())
            m_view.dismissMessage();
        return;
    }
    {
        BoxMark mark(m_boxOpen, m_openBoxText, text);
        m_view.showMessage(text);
    }
    showWaitingMessages();
}

bool Session::ask(const QString &text)
{
    // Only the user asks for a question, and no menu is reachable while a
    // box is open; should one come anyway, the answer is no.
    if (m_boxOpen)
        return false;
    bool yes = false;
    {
        BoxMark mark(m_boxOpen, m_openBoxText, text);
        yes = m_view.askYesNo(text);
    }
    showWaitingMessages();
    return yes;
}

void Session::showWaitingMessages()
{
    while (!m_boxOpen && !m_waitingMessages.isEmpty()) {
        const QString next = m_waitingMessages.takeFirst();
        BoxMark mark(m_boxOpen, m_openBoxText, next);
        m_view.showMessage(next);
    }
}

// --- failure boundary ---------------------------------------------------

void Session::guarded(const std::function<void()> &event)
{
    try {
        event();
    } catch (const ESerialPort &e) {
        linkFailed(e.message());
    } catch (const std::exception &e) {
        linkFailed(QString::fromUtf8(e.what()));
    }
}

void Session::linkFailed(const QString &message)
{
    if (ridesOut() && linkActive()) {
        noteLineError();
        // Reconnecting first: the view tells the loss as part of the reconnect.
        startReconnect(true);
        m_view.portLost(message);
        return;
    }
    // Without this the link could sit in a polling state with both timers
    // off, waiting for an answer that can never come.
    if (linkActive()) {
        try {
            disconnectSequence(true);
        } catch (const std::exception &e) {
            tell(QString::fromUtf8(e.what()));
        }
    }
    tell(message);
}

void Session::portFailed(const QString &message)
{
    // Only the first report counts: once the link is down there is nothing
    // left to tell the user.
    if (!linkActive())
        return;
    linkFailed(message);
}

// --- connect and disconnect ---------------------------------------------

void Session::polaczClick(ConnectOrigin origin)
{
    guarded([&] { connectImpl(origin); });
}

void Session::connectImpl(ConnectOrigin origin)
{
    if (origin == ConnectOrigin::Retry) {
        // A second bad byte in the same chunk after the last attempt already
        // closed the port: the link has been given up, leave the port alone.
        if (!m_port.connected() && m_connectRetries <= 0)
            return;
        --m_connectRetries;
        if (m_port.connected())
            m_port.clearLineErrors();
    }
    if (origin == ConnectOrigin::PolaczItem) {
        m_connectRetries = ConnectAttempts;
        // A connect by the user starts afresh, a reconnect under way too.
        m_handshakeDone = false;
        m_reconnecting = false;
        m_portSuspect = false;
        if (m_retryTimer)
            m_retryTimer->stop();
    }
    m_port.setCustomBaudRate(LineBaudRate);
    m_expectedLength = 0;
    m_rxBuffer.clear();
    m_inFlight.clear();
    m_garbledAnswers = 0;
    if (m_connectRetries <= 0) {
        disconnectSequence(false);
        return;
    }
    m_port.open();
    m_linkState = WaitStart;
    m_pollTimer.stop();
    m_answerTimer.start();
    m_view.uncheckScopeLambdaButtons();
    beginLongExchange();
    sendFrame(CommandFrame::startupFrame());
}

void Session::rozlacz1Click()
{
    guarded([&] { disconnectSequence(false); });
}

void Session::windowClosing()
{
    guarded([&] {
        m_answerTimer.stop();
        m_pollTimer.stop();
        m_port.close();
        disconnectSequence(false);
    });
}

void Session::disconnectSequence(bool portLost)
{
    m_handshakeDone = false;
    m_reconnecting = false;
    m_portSuspect = false;
    if (m_retryTimer)
        m_retryTimer->stop();
    m_view.linkEnded();
    // A step that fails (a port that will not close, a settings store the
    // user may not write) must not leave the window disabled or the link
    // half torn down: every step runs, the failures are told afterwards.
    QStringList failures;
    const auto step = [&failures](const std::function<void()> &action) {
        try {
            action();
        } catch (const ESerialPort &e) {
            failures << e.message();
        } catch (const std::exception &e) {
            failures << QString::fromUtf8(e.what());
        }
    };

    m_view.setErrorLedVisible(false);
    // Resting the live displays rebuilds the fault list; the user keeps
    // seeing the faults that were listed when the link ended.
    const QString faults = m_view.faultMemoText();

    m_closeFailed = false;
    if (portLost) {
        // A vanished device often refuses to be closed cleanly; it is gone
        // either way and nobody needs to hear about it.
        try {
            m_port.close();
        } catch (const ESerialPort &) {
        }
    } else {
        step([this] { m_port.close(); });
        m_closeFailed = !failures.isEmpty();
    }

    m_linkState.clear();
    m_queue.clear();
    m_answerTimer.stop();
    m_pollTimer.stop();
    m_view.setConnectSwitchOn(false);

    m_rxBuffer = QByteArray(LiveRestBytes, '\0');
    m_view.applyLiveFrame(m_rxBuffer);
    m_rxBuffer.clear();

    m_view.setErrorLedVisible(false);
    m_view.setFileMenuAvailable(false);
    m_view.setReserveLedsFlashing(false);
    m_view.resetInjectorLeds();

    step([this] { m_port.storeSettings(PortSettingsPath); });
    step([this] { m_languageStore.storeLanguageKey(m_view.currentLanguageKey()); });

    m_view.setWindowEnabled(true);
    m_view.setLinkPanelsGrey(false);
    m_view.setFaultMemoText(faults);
    m_view.linkSettled();

    failures.removeDuplicates();
    for (const QString &failure : failures)
        tell(failure);
}

void Session::Polacz_switchStatusChanged(bool on)
{
    guarded([&] {
        const QString name = m_port.portName();
        if (name.isEmpty())
            return;
        if (on) {
            m_view.setConnectSwitchOnText(name);
            connectImpl(ConnectOrigin::PolaczItem);
        } else {
            disconnectSequence(false);
        }
    });
}

void Session::Reset1Click()
{
    guarded([&] {
        if (!ask(m_view.messageText(ResetQuestionRow)))
            return;
        m_view.setErrorLedVisible(false);
        m_queue.setCommandRetries(QueueRetriesDefault);
        beginLongExchange();
        queueCommandImpl(CommandBodies::factoryReset(), {}, {});
    });
}

// --- long exchange --------------------------------------------------------

void Session::beginLongExchange()
{
    m_view.setWindowEnabled(false);
    m_view.setLinkPanelsGrey(true);
    m_pollTimer.setInterval(m_pollTimer.interval() | LongExchangeBit);
}

void Session::endLongExchange()
{
    m_view.setLinkPanelsGrey(false);
    m_view.setWindowEnabled(true);
    m_pollTimer.setInterval(m_pollTimer.interval() & (LongExchangeBit - 1));
}

void Session::raisePollInterval()
{
    m_pollTimer.setInterval(m_pollTimer.interval() | LongExchangeBit);
}

// --- receiving ------------------------------------------------------------

void Session::ComPort1RxChar(int count)
{
    guarded([&] {
        // The port only notifies while open; a late notification after a
        // disconnect has nothing to read.
        if (count <= 0 || !m_port.connected())
            return;
        const QByteArray chunk = m_port.read(count);
        // An empty read carries nothing to act on; treating it as a chunk
        // would complete an answer of length 0.
        if (!chunk.isEmpty())
            receiveChunk(chunk);
    });
}

void Session::bytesReceived(const QByteArray &lineBytes)
{
    guarded([&] {
        if (!lineBytes.isEmpty())
            receiveChunk(lineBytes);
    });
}

void Session::receiveChunk(QByteArray chunk)
{
    m_expectedLength = 0;
    WireCodec::decodeReceiveInPlace(chunk);

    if (m_linkState == WaitStart)
        onStartupFirstChunk(chunk);
    else if (m_linkState == WaitStartRest)
        onStartupRest(chunk);
    else if (m_linkState == ReadCount)
        onAnswerFirstChunk(chunk);
    else if (m_linkState == ReadCountRest)
        onAnswerRest(chunk);
    // In any other state the bytes belong to nothing we are waiting for
    // (the rest of an abandoned answer, noise between answers).
}

void Session::takeLengthFromHeader()
{
    if (m_rxBuffer.isEmpty() || uint8_t(m_rxBuffer[0]) != CommandFrame::Start)
        return;
    // Two bytes give only the high half; the next chunk completes it.
    if (m_rxBuffer.size() >= 2)
        m_expectedLength = uint8_t(m_rxBuffer[1]) * 256;
    if (m_rxBuffer.size() >= 3)
        m_expectedLength += uint8_t(m_rxBuffer[2]);
}

bool Session::answerOverlong() const
{
    // Past its own header's length an answer can never complete, and no
    // answer is longer than the settings block: waiting for either would let
    // a peer that keeps talking hold the link for as long as it talks.
    return m_rxBuffer.size() > LargestAnswer
        || (m_rxBuffer.size() >= 3 && m_rxBuffer.size() > m_expectedLength);
}

void Session::onStartupFirstChunk(const QByteArray &chunk)
{
    m_answerTimer.stop();
    const uint8_t first = uint8_t(chunk[0]);
    const bool codeArrived = chunk.size() >= 4;
    const uint8_t code = codeArrived ? uint8_t(chunk[3]) : 0;
    if (first != CommandFrame::Start
        || (codeArrived && code != StartupAnswerCodes[0] && code != StartupAnswerCodes[1])) {
        // Not a startup answer: this attempt failed, as if it had timed out
        // (one attempt per bad chunk; the chunk itself is dropped).
        answerTimeout();
        return;
    }
    m_rxBuffer = chunk;
    m_linkState = WaitStartRest;
    // An answer that arrives whole in one read is complete with it.
    startupProgress();
}

void Session::onStartupRest(const QByteArray &chunk)
{
    m_answerTimer.stop();
    m_rxBuffer.append(chunk);
    startupProgress();
}

void Session::startupProgress()
{
    takeLengthFromHeader();
    if (answerOverlong()) {
        answerTimeout();
        return;
    }
    if (m_rxBuffer.size() != m_expectedLength) {
        m_answerTimer.start();
        return;
    }
    if (!versionAccepted())
        return;
    // The controller answered: no further attempts.
    if (m_reconnecting && m_retryTimer)
        m_retryTimer->stop();
    m_linkState = StartDone;
    m_pollTimer.start();
}

bool Session::versionAccepted()
{
    // After a loss the firmware is checked again: a controller this program
    // does not speak to is not taken for the one that was there.
    if (m_reconnecting) {
        if (spokenFirmware(m_rxBuffer))
            return true;
        const QString why = m_view.controllerChanged(m_rxBuffer);
        giveUp(why);
        return false;
    }
    // Only the first handshake of a run is checked; afterwards the status bar
    // already shows the version and later handshakes go through as they are.
    if (m_view.statusText() != StatusIdle)
        return true;
    if (!spokenFirmware(m_rxBuffer)) {
        disconnectSequence(false);
        return false;
    }
    m_view.setStatusText(QStringLiteral("ZENU ver. ") + versionText(m_rxBuffer));
    return true;
}

QString Session::versionText(const QByteArray &block)
{
    return QStringLiteral("%1.%2.%3")
        .arg(byteAt(block, 4))
        .arg(twoHexDigits(byteAt(block, 5)), twoHexDigits(byteAt(block, 6)));
}

void Session::onAnswerFirstChunk(const QByteArray &chunk)
{
    m_pollTimer.stop();
    m_answerTimer.stop();
    if (uint8_t(chunk[0]) != CommandFrame::Start) {
        abandonGarbledAnswer();
        return;
    }
    m_rxBuffer = chunk;
    m_linkState = ReadCountRest;
    answerProgress();
}

void Session::onAnswerRest(const QByteArray &chunk)
{
    m_pollTimer.stop();
    m_answerTimer.stop();
    m_rxBuffer.append(chunk);
    answerProgress();
}

void Session::answerProgress()
{
    takeLengthFromHeader();
    if (answerOverlong()) {
        answerTimeout();
        return;
    }
    if (m_rxBuffer.size() != m_expectedLength) {
        m_answerTimer.start();
        return;
    }
    answerComplete();
}

void Session::abandonGarbledAnswer()
{
    // The link leaves the first-chunk state before the box opens: the box's
    // own event loop delivers the rest of this answer, which must be dropped,
    // not taken for another first chunk. The next tick polls again.
    m_rxBuffer.clear();
    m_expectedLength = 0;
    m_linkState = Count;
    noteLineError();
    const bool commandAnswer = !m_queue.current().isEmpty() && m_inFlight == m_queue.current();
    if (commandAnswer) {
        // A garbled answer acknowledges nothing; the command goes again on
        // its own budget, which ends the link when spent.
        queueCommandImpl(m_queue.currentBody(), {}, {});
    } else if (++m_garbledAnswers >= ConnectAttempts) {
        // A line that garbles every answer is as good as no controller.
        answerTimeout();
        return;
    } else {
        m_pollTimer.start();
    }
    if (!m_linkState.isEmpty() && !ridesOut())
        tell(InitErrorText);
}

void Session::answerComplete()
{
    m_garbledAnswers = 0;
    m_linkState = Count;
    // An answer that was already arriving when a command was queued belongs
    // to what was sent before; it acknowledges nothing of the new command.
    if (m_queue.current().isEmpty() || m_inFlight == m_queue.current())
        acknowledgeImpl();
    // A budget used up by this answer has ended the link; no more ticks then.
    if (!m_linkState.isEmpty())
        m_pollTimer.start();
}

// --- ticks ------------------------------------------------------------------

bool Session::keepSettings()
{
    // A short answer would leave the window reading past its end; the last
    // good block stays, and the controls keep their values.
    if (m_rxBuffer.size() < MinimumSettingsSize)
        return false;
    m_storedSettings = m_rxBuffer;
    m_view.applySettingsFrame(m_storedSettings);
    return true;
}

void Session::Timer_CountTimer()
{
    guarded([&] { pollTick(); });
}

void Session::pollTick()
{
    const int lastCode = m_queue.lastCommandCode();
    if (m_queue.current().isEmpty() && m_linkState == Count
        && (lastCode == ReadAllCode || lastCode == FactoryResetCode)) {
        endLongExchange();
        const bool kept = keepSettings();
        m_queue.setLastCommandCode(-1);
        if (m_queue.takeSaveMarker()) {
            // A short answer leaves the block of an earlier read in place;
            // saving that would pass an old block off as the fresh one.
            if (kept)
                m_view.writeDataFile();
            else
                m_view.dataFileNotWritten(LinkView::SaveDropped::ShortAnswer);
        }
        m_rxBuffer.clear();
        return;
    }

    if (m_queue.current().isEmpty())
        m_queue.setLastCommandCode(-1);

    if (m_linkState == StartDone) {
        const bool afterLoss = m_reconnecting;
        const QByteArray before = m_storedSettings;
        keepSettings();
        const bool settingsDiffer = afterLoss && m_rxBuffer.size() >= MinimumSettingsSize
                                    && before.size() >= MinimumSettingsSize && before != m_rxBuffer;
        m_rxBuffer.clear();
        m_linkState = Count;
        m_view.setConnectSwitchOn(true);
        m_view.setConnectSwitchOnText(m_port.portName() + QStringLiteral(" - ON"));
        m_view.setReserveLedsFlashing(true);
        m_view.setFileMenuAvailable(true);
        endLongExchange();
        m_handshakeDone = true;
        if (afterLoss) {
            m_reconnecting = false;
            m_reconnectAttempt = 0;
            if (m_retryTimer)
                m_retryTimer->stop();
            m_view.reconnected(settingsDiffer);
        }
        m_view.linkSettled();
        return;
    }

    m_pollTimer.stop();
    if (m_linkState == Count && m_queue.current().isEmpty())
        m_view.applyLiveFrame(m_rxBuffer);
    m_expectedLength = 0;
    m_rxBuffer.clear();

    // Framing the next command of a group takes this tick; it leaves at the
    // following one. Nothing is awaited meanwhile.
    if (m_queue.current().isEmpty() && !m_queue.next().isEmpty()) {
        m_linkState = Count;
        if (advanceImpl() || m_linkState.isEmpty())
            return;
    }
    m_linkState = ReadCount;
    m_inFlight = m_queue.current().isEmpty() ? CommandFrame::pollFrame() : m_queue.current();
    sendFrame(m_inFlight);
    m_answerTimer.start();
}

void Session::Timer_Czekaj_na_odczytTimer()
{
    guarded([&] { answerTimeout(); });
}

void Session::answerTimeout()
{
    if (m_reconnecting) {
        // An attempt that failed: whatever else it sends is dropped, and the
        // retry timer starts the next one.
        m_answerTimer.stop();
        m_linkState.clear();
        m_rxBuffer.clear();
        m_expectedLength = 0;
        return;
    }
    if (ridesOut() && !inHandshake()) {
        noteLineError();
        startReconnect(false);
        return;
    }
    m_view.setWindowEnabled(true);
    m_view.setLinkPanelsGrey(false);
    m_answerTimer.stop();
    if (m_connectRetries > 0 && inHandshake()) {
        connectImpl(ConnectOrigin::Retry);
        // A fresh attempt is under way, unless that was the last one: then
        // the retry has already run the disconnect sequence.
        if (!m_linkState.isEmpty())
            return;
    } else {
        disconnectSequence(false);
    }
    if (!m_closeFailed)
        tell(m_view.messageText(NoControllerRow));
}

void Session::sendFrame(const QByteArray &frame)
{
    SendFrame(m_writer, frame);
}

// --- command queue ----------------------------------------------------------

void Session::QueueCommand(const QByteArray &first, const QByteArray &second, const QByteArray &third)
{
    guarded([&] { queueCommandImpl(first, second, third); });
}

void Session::queueCommandImpl(const QByteArray &first, const QByteArray &second,
                               const QByteArray &third)
{
    if (!acceptsCommands()) {
        // No controller to send it to. Keeping it would write to a closed
        // port now and surprise whichever controller connects next.
        m_queue.setCommandRetries(0);
        if (m_pollTimer.interval() & LongExchangeBit)
            endLongExchange();
        return;
    }

    const CommandQueue::FrameResult result = m_queue.frame(first, second, third);
    if (result == CommandQueue::FrameResult::Refused)
        return;
    if (result == CommandQueue::FrameResult::BudgetExhausted) {
        m_pollTimer.stop();
        if (ridesOut()) {
            // The command never got through; the rest of its group cannot
            // go without it. The link itself is made again.
            reportUnsent();
            m_queue.clear();
            startReconnect(false);
            return;
        }
        disconnectSequence(false);
        tell(QueueTimeoutText);
        return;
    }
    // While an answer (or the handshake) is still arriving, its bytes must
    // not be taken for the command's answer: the command waits in the
    // current slot and leaves at the first tick after that answer is done.
    if (m_linkState != Count)
        return;
    m_pollTimer.stop();
    m_pollTimer.start();
}

void Session::AcknowledgeCommand()
{
    guarded([&] { acknowledgeImpl(); });
}

void Session::acknowledgeImpl()
{
    if (!m_queue.acknowledge(m_rxBuffer)) {
        noteLineError();
        queueCommandImpl(m_queue.currentBody(), {}, {});
    }
}

bool Session::AdvanceQueue()
{
    bool framed = false;
    guarded([&] { framed = advanceImpl(); });
    return framed;
}

bool Session::advanceImpl()
{
    const QByteArray body = m_queue.takeNext();
    // The save marker can only drift to the front when a save was queued
    // behind an unfinished group; it is not a command, so it goes, and the
    // save it stood for will not happen.
    if (CommandQueue::isSaveMarker(body)) {
        m_view.dataFileNotWritten(LinkView::SaveDropped::GroupUnfinished);
        return false;
    }
    if (body.isEmpty())
        return false;
    m_queue.setCommandRetries(QueueRetriesFollowing);
    queueCommandImpl(body, m_queue.next(), m_queue.afterNext());
    return !m_queue.current().isEmpty();
}

// --- riding out a bad line --------------------------------------------------

void Session::setReconnectParts(LinkTimer &retryTimer, const LinkClock &clock)
{
    m_retryTimer = &retryTimer;
    m_clock = &clock;
    m_retryTimer->stop();
    m_retryTimer->setInterval(ReconnectInterval);
}

void Session::setAutoReconnect(bool on)
{
    m_autoReconnect = on;
    // Switched off while the link is being made again: it ends now, as it
    // would have when it was lost.
    if (!on && m_reconnecting)
        guarded([&] { giveUp(); });
}

bool Session::ridesOut() const
{
    return m_autoReconnect && m_retryTimer && m_handshakeDone;
}

int Session::lineErrorsLastMinute()
{
    return m_lineQuality.errorsInLastMinute(nowMs());
}

void Session::noteLineError()
{
    if (!ridesOut())
        return;
    m_lineQuality.errorAt(nowMs());
    m_view.lineErrorsChanged(m_lineQuality.errorsInLastMinute(nowMs()));
}

void Session::startReconnect(bool portFailed)
{
    m_portSuspect = m_portSuspect || portFailed;
    m_pollTimer.stop();
    m_answerTimer.stop();
    m_linkState.clear();
    m_rxBuffer.clear();
    m_expectedLength = 0;
    m_inFlight.clear();
    m_garbledAnswers = 0;
    if (m_portSuspect) {
        // A device that went away often refuses a clean close; it is
        // reopened at the next attempt either way.
        try {
            m_port.close();
        } catch (const ESerialPort &) {
        }
    }
    if (!m_retryTimer->isActive())
        m_retryTimer->start();
    if (m_reconnecting)
        return;
    m_reconnecting = true;
    m_reconnectSince = nowMs();
    m_reconnectAttempt = 0;
    // A long exchange cut short leaves the window to the fitter, who may
    // want to stop all this.
    m_view.setWindowEnabled(true);
    m_view.setLinkPanelsGrey(false);
    m_pollTimer.setInterval(m_pollTimer.interval() & (LongExchangeBit - 1));
    m_view.reconnecting(0);
}

void Session::Timer_ReconnectTimer()
{
    guarded([&] { reconnectTick(); });
}

void Session::reconnectTick()
{
    if (!m_reconnecting) {
        m_retryTimer->stop();
        return;
    }
    if (nowMs() - m_reconnectSince >= ReconnectLimit) {
        giveUp();
        return;
    }
    ++m_reconnectAttempt;
    m_view.reconnecting(m_reconnectAttempt);
    m_answerTimer.stop();
    m_linkState.clear();
    m_rxBuffer.clear();
    m_expectedLength = 0;
    m_inFlight.clear();
    const auto attempt = [this](bool reopen) {
        if (reopen) {
            try {
                m_port.close();
            } catch (const ESerialPort &) {
            }
        }
        m_port.setCustomBaudRate(LineBaudRate);
        m_port.open();
        m_portSuspect = false;
        m_linkState = WaitStart;
        sendFrame(CommandFrame::startupFrame());
    };
    try {
        if (m_portSuspect) {
            attempt(true);
        } else {
            // A silence may have been a pulled adapter that is back by now:
            // a port kept open fails at the first write, and is opened afresh
            // at once rather than a tick later.
            try {
                attempt(false);
            } catch (const ESerialPort &) {
                attempt(true);
            }
        }
    } catch (const ESerialPort &e) {
        // Not there yet (the adapter is still out): the next tick tries again.
        m_linkState.clear();
        m_portSuspect = true;
        m_view.portLost(e.message());
    }
}

void Session::reportUnsent()
{
    for (const QByteArray &body : {m_queue.currentBody(), m_queue.next(), m_queue.afterNext()}) {
        if (!body.isEmpty() && !CommandQueue::isSaveMarker(body))
            m_view.commandNotSent(body);
    }
}

void Session::giveUp(const QString &why)
{
    if (!m_queue.current().isEmpty() || !m_queue.next().isEmpty())
        reportUnsent();
    m_reconnecting = false;
    disconnectSequence(true);
    tell(why.isEmpty() ? m_view.messageText(NoControllerRow) : why);
}
