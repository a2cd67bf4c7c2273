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
    return !m_linkState.isEmpty() || m_pollTimer.isActive() || m_answerTimer.isActive();
}

bool Session::inHandshake() const
{
    return m_linkState == WaitStart || m_linkState == WaitStartRest;
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
    // Without this the link could sit in a polling state with both timers
    // off, waiting for an answer that can never come.
    if (linkActive()) {
        try {
            disconnectSequence(true);
        } catch (const ESerialPort &e) {
            m_view.showMessage(e.message());
        } catch (const std::exception &e) {
            m_view.showMessage(QString::fromUtf8(e.what()));
        }
    }
    m_view.showMessage(message);
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
    if (origin == ConnectOrigin::PolaczItem)
        m_connectRetries = ConnectAttempts;
    m_port.setCustomBaudRate(LineBaudRate);
    m_expectedLength = 0;
    m_rxBuffer.clear();
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
    m_view.setErrorLedVisible(false);
    // Resting the live displays rebuilds the fault list; the user keeps
    // seeing the faults that were listed when the link ended.
    const QString faults = m_view.faultMemoText();

    if (portLost) {
        // A vanished device often refuses to be closed cleanly; it is gone
        // either way and the rest of the sequence must still run.
        try {
            m_port.close();
        } catch (const ESerialPort &) {
        }
    } else {
        m_port.close();
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

    m_port.storeSettings(PortSettingsPath);
    m_languageStore.storeLanguageKey(m_view.currentLanguageKey());

    m_view.setWindowEnabled(true);
    m_view.setLinkPanelsGrey(false);
    m_view.setFaultMemoText(faults);
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
        if (!m_view.askYesNo(m_view.messageText(ResetQuestionRow)))
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
    m_answerTimer.stop();
    WireCodec::decodeReceiveInPlace(chunk);

    if (m_linkState == WaitStart)
        onStartupFirstChunk(chunk);
    else if (m_linkState == WaitStartRest)
        onStartupRest(chunk);
    else if (m_linkState == ReadCount)
        onAnswerFirstChunk(chunk);
    else if (m_linkState == ReadCountRest)
        onAnswerRest(chunk);
    // In any other state the bytes belong to nothing we are waiting for.
}

void Session::recomputeExpectedLength()
{
    if (m_rxBuffer.size() > 3 && uint8_t(m_rxBuffer[0]) == CommandFrame::Start)
        m_expectedLength = CommandFrame::answerLength(m_rxBuffer);
}

void Session::onStartupFirstChunk(const QByteArray &chunk)
{
    for (int j = 1; j <= chunk.size(); ++j) {
        const uint8_t b = uint8_t(chunk[j - 1]);
        if (j == 1 && b != CommandFrame::Start)
            connectImpl(ConnectOrigin::Retry);
        if (j == 4 && b != StartupAnswerCodes[0] && b != StartupAnswerCodes[1])
            connectImpl(ConnectOrigin::Retry);
        if (j == 2)
            m_expectedLength = b * 256;
        if (j == 3)
            m_expectedLength += b;
    }
    // Completion is only looked for from the next chunk on, even when this
    // one already holds the whole answer.
    m_rxBuffer.append(chunk);
    m_linkState = WaitStartRest;
    m_answerTimer.start();
}

void Session::onStartupRest(const QByteArray &chunk)
{
    m_rxBuffer.append(chunk);
    recomputeExpectedLength();
    if (m_rxBuffer.size() != m_expectedLength) {
        m_answerTimer.start();
        return;
    }
    if (!versionAccepted())
        return;
    m_linkState = StartDone;
    m_pollTimer.start();
}

bool Session::versionAccepted()
{
    // Only the first handshake of a run is checked; afterwards the status bar
    // already shows the version and later handshakes go through as they are.
    if (m_view.statusText() != StatusIdle)
        return true;
    const uint8_t major = byteAt(m_rxBuffer, 4);
    const uint8_t minor = byteAt(m_rxBuffer, 5);
    const uint8_t build = byteAt(m_rxBuffer, 6);
    if (major != 3 || minor != 7 || build != 7) {
        disconnectSequence(false);
        return false;
    }
    m_view.setStatusText(QStringLiteral("ZENU ver. %1.%2.%3")
                             .arg(major)
                             .arg(twoHexDigits(minor), twoHexDigits(build)));
    return true;
}

void Session::onAnswerFirstChunk(const QByteArray &chunk)
{
    m_pollTimer.stop();
    for (int j = 1; j <= chunk.size(); ++j) {
        const uint8_t b = uint8_t(chunk[j - 1]);
        if (j == 1 && b != CommandFrame::Start)
            m_view.showMessage(InitErrorText);
        if (j == 2)
            m_expectedLength = b * 256;
        if (j == 3)
            m_expectedLength += b;
    }
    m_rxBuffer.append(chunk);
    m_linkState = ReadCountRest;
    m_answerTimer.start();
    if (m_rxBuffer.size() == m_expectedLength) {
        m_answerTimer.stop();
        answerComplete();
    }
}

void Session::onAnswerRest(const QByteArray &chunk)
{
    m_pollTimer.stop();
    m_rxBuffer.append(chunk);
    recomputeExpectedLength();
    m_answerTimer.start();
    if (m_rxBuffer.size() == m_expectedLength) {
        answerComplete();
        m_answerTimer.stop();
    }
}

void Session::answerComplete()
{
    m_linkState = Count;
    acknowledgeImpl();
    // A budget used up by this answer has ended the link; no more ticks then.
    if (!m_linkState.isEmpty())
        m_pollTimer.start();
}

// --- ticks ------------------------------------------------------------------

void Session::keepSettings()
{
    // A short answer would leave the window reading past its end; the last
    // good block stays, and the controls keep their values.
    if (m_rxBuffer.size() < MinimumSettingsSize)
        return;
    m_storedSettings = m_rxBuffer;
    m_view.applySettingsFrame(m_storedSettings);
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
        keepSettings();
        m_queue.setLastCommandCode(-1);
        if (m_queue.takeSaveMarker())
            m_view.writeDataFile();
        m_rxBuffer.clear();
        return;
    }

    if (m_queue.current().isEmpty())
        m_queue.setLastCommandCode(-1);

    if (m_linkState == StartDone) {
        keepSettings();
        m_rxBuffer.clear();
        m_linkState = Count;
        m_view.setConnectSwitchOn(true);
        m_view.setConnectSwitchOnText(m_port.portName() + QStringLiteral(" - ON"));
        m_view.setReserveLedsFlashing(true);
        m_view.setFileMenuAvailable(true);
        endLongExchange();
        return;
    }

    m_pollTimer.stop();
    if (m_linkState == Count && m_queue.current().isEmpty())
        m_view.applyLiveFrame(m_rxBuffer);
    m_expectedLength = 0;
    m_rxBuffer.clear();
    m_linkState = ReadCount;

    // Framing the next command of a group takes this tick; it leaves at the
    // following one.
    if (m_queue.current().isEmpty() && !m_queue.next().isEmpty() && advanceImpl())
        return;
    sendFrame(m_queue.current().isEmpty() ? CommandFrame::pollFrame() : m_queue.current());
    m_answerTimer.start();
}

void Session::Timer_Czekaj_na_odczytTimer()
{
    guarded([&] { answerTimeout(); });
}

void Session::answerTimeout()
{
    m_view.setWindowEnabled(true);
    m_view.setLinkPanelsGrey(false);
    m_answerTimer.stop();
    if (m_connectRetries > 0 && inHandshake())
        connectImpl(ConnectOrigin::Retry);
    if (m_connectRetries < 1 || !inHandshake()) {
        disconnectSequence(false);
        m_view.showMessage(m_view.messageText(NoControllerRow));
    }
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
    if (m_linkState.isEmpty() || !m_port.connected()) {
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
    m_pollTimer.stop();
    if (result == CommandQueue::FrameResult::BudgetExhausted) {
        disconnectSequence(false);
        m_view.showMessage(QueueTimeoutText);
        return;
    }
    m_linkState = Count;
    m_pollTimer.start();
}

void Session::AcknowledgeCommand()
{
    guarded([&] { acknowledgeImpl(); });
}

void Session::acknowledgeImpl()
{
    if (!m_queue.acknowledge(m_rxBuffer))
        queueCommandImpl(m_queue.currentBody(), {}, {});
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
    // behind an unfinished group; it is not a command, so it goes.
    if (body.isEmpty() || CommandQueue::isSaveMarker(body))
        return false;
    m_queue.setCommandRetries(QueueRetriesFollowing);
    queueCommandImpl(body, m_queue.next(), m_queue.afterNext());
    return !m_queue.current().isEmpty();
}
