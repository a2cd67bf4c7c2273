// Riding out a bad line: with the reconnect option on, a link that has
// completed its handshake shows no box for garbled answers, wrong echoes,
// time-outs or port failures, counts them, and makes the link again with a
// handshake every 2 s, for at most 2 minutes on the session's clock. With the
// option off every failure does what it always did.
#include "SessionHarness.h"

#include "link/LineQuality.h"
#include "link/PortFailure.h"

using namespace session_test;

namespace {

struct ReconnectHarness : SessionHarness
{
    FakeTimer retry{QStringLiteral("retry"), log};
    FakeClock clock;

    void SetUp() override
    {
        session.setReconnectParts(retry, clock);
        session.setAutoReconnect(true);
    }

    void retryTick()
    {
        ASSERT_TRUE(retry.active) << "retry timer is off";
        session.Timer_ReconnectTimer();
    }

    // The time the retry timer waits, then its tick.
    void waitAndRetry()
    {
        clock.now += Session::ReconnectInterval;
        retryTick();
    }

    // An attempt that the controller answers: polling again afterwards.
    void reconnectWith(const QByteArray &settings = settingsAnswer())
    {
        waitAndRetry();
        ASSERT_EQ(lastFrame(), startup);
        receiveIn(settings, {100});
        tick();
        ASSERT_EQ(session.linkState(), Session::Count);
        ASSERT_FALSE(session.reconnecting());
    }
};

// --- each failure in each polling state, option on and off ------------------

enum class PollState { WaitingForAnswer, AnswerHalfIn, CommandInFlight };
enum class Failure { Garbled, WrongEcho, TimeOut, PortFails };

struct FailureCase
{
    const char *name;
    PollState state;
    Failure failure;
    bool reconnectOn;
    // Option off: the messages the user sees and whether the link is ended.
    QStringList offMessages;
    bool offEnds;
};

void PrintTo(const FailureCase &c, std::ostream *os)
{
    *os << c.name;
}

struct FailureInState : ReconnectHarness, ::testing::WithParamInterface<FailureCase>
{
    void SetUp() override
    {
        session.setReconnectParts(retry, clock);
        session.setAutoReconnect(GetParam().reconnectOn);
    }

    void enterState(PollState state)
    {
        connectAndHandshake();
        pollCycle();
        if (state == PollState::CommandInFlight) {
            session.setCommandRetries(5);
            session.QueueCommand(body("0919"));
        }
        tick();
        if (state == PollState::AnswerHalfIn)
            receive(liveAnswer().left(20));
    }

    void fail(Failure failure)
    {
        switch (failure) {
        case Failure::Garbled:
            receive(QByteArray::fromHex("3c1f07"));
            break;
        case Failure::WrongEcho:
            receive(liveAnswer(0x55));
            break;
        case Failure::TimeOut:
            timeout();
            break;
        case Failure::PortFails:
            port.failRead = true;
            port.incoming = "xyz";
            session.ComPort1RxChar(3);
            port.failRead = false;
            break;
        }
    }
};

TEST_P(FailureInState, NoBoxAndTheLinkIsMadeAgainOnlyWithTheOptionOn)
{
    const FailureCase &c = GetParam();
    enterState(c.state);
    const int startupsBefore = writer.count(startup);
    fail(c.failure);

    if (!c.reconnectOn) {
        EXPECT_EQ(view.messages, c.offMessages);
        EXPECT_EQ(session.linkState().isEmpty(), c.offEnds);
        EXPECT_FALSE(session.reconnecting());
        EXPECT_FALSE(retry.active);
        EXPECT_TRUE(view.reconnectAttempts.isEmpty());
        EXPECT_EQ(view.lineErrors, 0);
        return;
    }

    EXPECT_TRUE(view.messages.isEmpty()) << view.messages.join(" | ").toStdString();
    EXPECT_EQ(view.lineErrors, 1);
    if (!c.offEnds) {
        // Nothing that would have ended the link: it goes on polling.
        EXPECT_FALSE(session.reconnecting());
        EXPECT_TRUE(poll.active);
        return;
    }
    EXPECT_TRUE(session.reconnecting());
    EXPECT_EQ(view.reconnectAttempts, QList<int>{0});
    EXPECT_TRUE(session.linkActive());
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_TRUE(view.windowEnabled);
    // The port is closed only when it failed; it is reopened by the attempt.
    EXPECT_EQ(port.isOpen, c.failure != Failure::PortFails);
    EXPECT_FALSE(log.contains(QStringLiteral("switch:off")));

    reconnectWith();
    EXPECT_EQ(writer.count(startup), startupsBefore + 1);
    EXPECT_TRUE(port.isOpen);
    EXPECT_EQ(view.reconnects, QList<bool>{false});
    EXPECT_EQ(view.reconnectAttempts, (QList<int>{0, 1}));
    EXPECT_TRUE(view.messages.isEmpty());
    // The displays were never rested: no 500-byte rest frame went to them.
    for (const QByteArray &frame : view.liveFrames)
        EXPECT_NE(frame.size(), Session::LiveRestBytes);
    pollCycle();
    EXPECT_EQ(lastFrame(), c.state == PollState::CommandInFlight ? body("aa0919cc") : pollFrame);
}

const QString NoController = QStringLiteral("Brak Sterownika");
const QString InitError = QStringLiteral("Init Error");
const QString ReadFailed = QStringLiteral("ReadFile function failed (win error code: 995)");

INSTANTIATE_TEST_SUITE_P(
    Session, FailureInState,
    ::testing::Values(
        FailureCase{"garbledWhileWaiting_off", PollState::WaitingForAnswer, Failure::Garbled, false, {InitError}, false},
        FailureCase{"garbledWhileWaiting_on", PollState::WaitingForAnswer, Failure::Garbled, true, {}, false},
        FailureCase{"garbledCommandAnswer_off", PollState::CommandInFlight, Failure::Garbled, false, {InitError}, false},
        FailureCase{"garbledCommandAnswer_on", PollState::CommandInFlight, Failure::Garbled, true, {}, false},
        FailureCase{"wrongEcho_off", PollState::CommandInFlight, Failure::WrongEcho, false, {}, false},
        FailureCase{"wrongEcho_on", PollState::CommandInFlight, Failure::WrongEcho, true, {}, false},
        FailureCase{"timeOutWhileWaiting_off", PollState::WaitingForAnswer, Failure::TimeOut, false, {NoController}, true},
        FailureCase{"timeOutWhileWaiting_on", PollState::WaitingForAnswer, Failure::TimeOut, true, {}, true},
        FailureCase{"timeOutHalfIn_off", PollState::AnswerHalfIn, Failure::TimeOut, false, {NoController}, true},
        FailureCase{"timeOutHalfIn_on", PollState::AnswerHalfIn, Failure::TimeOut, true, {}, true},
        FailureCase{"timeOutOfCommand_off", PollState::CommandInFlight, Failure::TimeOut, false, {NoController}, true},
        FailureCase{"timeOutOfCommand_on", PollState::CommandInFlight, Failure::TimeOut, true, {}, true},
        FailureCase{"portFailsWhileWaiting_off", PollState::WaitingForAnswer, Failure::PortFails, false, {ReadFailed}, true},
        FailureCase{"portFailsWhileWaiting_on", PollState::WaitingForAnswer, Failure::PortFails, true, {}, true},
        FailureCase{"portFailsHalfIn_off", PollState::AnswerHalfIn, Failure::PortFails, false, {ReadFailed}, true},
        FailureCase{"portFailsHalfIn_on", PollState::AnswerHalfIn, Failure::PortFails, true, {}, true},
        FailureCase{"portFailsWithCommand_off", PollState::CommandInFlight, Failure::PortFails, false, {ReadFailed}, true},
        FailureCase{"portFailsWithCommand_on", PollState::CommandInFlight, Failure::PortFails, true, {}, true}),
    [](const auto &info) { return std::string(info.param.name); });

// --- what the option does not change ----------------------------------------

TEST_F(ReconnectHarness, TheFirstConnectStillFailsAfterFiveAttemptsWithItsBox)
{
    connect();
    for (int i = 0; i < Session::ConnectAttempts; ++i)
        timeout();
    EXPECT_EQ(writer.count(startup), Session::ConnectAttempts);
    EXPECT_EQ(view.messages, QStringList{NoController});
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_FALSE(session.reconnecting());
    EXPECT_FALSE(retry.active);
}

TEST_F(ReconnectHarness, TheUserCanStopAReconnectWithTheSwitchOrTheMenu)
{
    for (const bool bySwitch : {true, false}) {
        connectAndHandshake();
        pollCycle();
        tick();
        timeout();
        ASSERT_TRUE(session.reconnecting());
        if (bySwitch)
            session.Polacz_switchStatusChanged(false);
        else
            session.rozlacz1Click();
        EXPECT_FALSE(session.reconnecting()) << bySwitch;
        EXPECT_FALSE(session.linkActive()) << bySwitch;
        EXPECT_FALSE(retry.active) << bySwitch;
        EXPECT_FALSE(port.isOpen) << bySwitch;
        EXPECT_TRUE(view.messages.isEmpty()) << bySwitch;
    }
}

// --- the 2-minute limit -----------------------------------------------------

TEST_F(ReconnectHarness, GivesUpAfterTwoMinutesWithTheNoControllerBox)
{
    connectAndHandshake();
    pollCycle();
    tick();
    const int startupsBefore = writer.count(startup);
    timeout();
    ASSERT_TRUE(session.reconnecting());

    // Nobody answers: an attempt every 2 s up to the limit.
    int attempts = 0;
    while (clock.now + Session::ReconnectInterval < Session::ReconnectLimit) {
        waitAndRetry();
        ++attempts;
        ASSERT_TRUE(session.reconnecting()) << "at " << clock.now << " ms";
        ASSERT_TRUE(view.messages.isEmpty());
    }
    EXPECT_EQ(writer.count(startup), startupsBefore + attempts);
    EXPECT_EQ(attempts, Session::ReconnectLimit / Session::ReconnectInterval - 1);
    EXPECT_EQ(session.reconnectAttempt(), attempts);

    waitAndRetry(); // two minutes after the loss
    EXPECT_FALSE(session.reconnecting());
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_FALSE(session.linkActive());
    EXPECT_FALSE(port.isOpen);
    EXPECT_FALSE(retry.active);
    EXPECT_EQ(writer.count(startup), startupsBefore + attempts);
    EXPECT_EQ(view.messages, QStringList{NoController});
    EXPECT_EQ(view.liveFrames.last(), QByteArray(Session::LiveRestBytes, '\0'));
}

TEST_F(ReconnectHarness, SwitchingTheOptionOffDuringAReconnectEndsTheLinkAsBefore)
{
    connectAndHandshake();
    pollCycle();
    tick();
    timeout();
    ASSERT_TRUE(session.reconnecting());
    session.setAutoReconnect(false);
    EXPECT_FALSE(session.linkActive());
    EXPECT_EQ(view.messages, QStringList{NoController});
}

// --- the port went away -----------------------------------------------------

TEST_F(ReconnectHarness, APortThatWillNotOpenIsTriedAgainUntilTheAdapterIsBack)
{
    connectAndHandshake();
    pollCycle();
    tick();
    session.portFailed(QStringLiteral("WriteFile function failed (win error code: 6)"));
    EXPECT_FALSE(port.isOpen);
    EXPECT_EQ(view.portLosses, QStringList{"WriteFile function failed (win error code: 6)"});
    const int opens = port.opens;

    port.failOpen = true; // still unplugged
    waitAndRetry();
    waitAndRetry();
    EXPECT_TRUE(session.reconnecting());
    EXPECT_EQ(view.portLosses.size(), 3);
    EXPECT_EQ(view.portLosses.last(), "Unable to open com port (win error code: 2)");
    EXPECT_EQ(port.opens, opens);

    port.failOpen = false; // plugged in again under the same name
    reconnectWith();
    EXPECT_EQ(port.opens, opens + 1);
    EXPECT_TRUE(view.messages.isEmpty());
}

// The adapter went out during a silence and is back: the open port fails at
// the attempt's first write and is opened afresh in the same attempt.
TEST_F(ReconnectHarness, AnAttemptWhoseWriteFailsReopensThePortAtOnce)
{
    connectAndHandshake();
    pollCycle();
    tick();
    timeout();
    ASSERT_TRUE(session.reconnecting());
    const int opens = port.opens;
    writer.failWrite = true;
    port.onOpen = [this] { writer.failWrite = false; }; // a fresh device takes writes
    waitAndRetry();
    EXPECT_EQ(port.opens, opens + 1);
    EXPECT_TRUE(view.portLosses.isEmpty());
    EXPECT_EQ(session.linkState(), Session::WaitStart);
    receiveIn(settingsAnswer(), {100});
    EXPECT_EQ(session.linkState(), Session::StartDone);
}

// --- a queued command across a reconnect ------------------------------------

TEST_F(ReconnectHarness, ACommandWhoseAnswerWasNotSeenIsSentAgainOnceAfterTheReconnect)
{
    connectAndHandshake();
    pollCycle();
    session.setCommandRetries(5);
    session.QueueCommand(body("0919"));
    tick();
    ASSERT_EQ(lastFrame(), body("aa0919cc"));
    timeout(); // its answer never came
    reconnectWith();
    EXPECT_EQ(writer.count(body("aa0919cc")), 1);
    tick();
    EXPECT_EQ(lastFrame(), body("aa0919cc"));
    receive(liveAnswer(0x09));
    EXPECT_TRUE(session.queue().current().isEmpty());
    pollCycle();
    EXPECT_EQ(lastFrame(), pollFrame);
    EXPECT_EQ(writer.count(body("aa0919cc")), 2);
    EXPECT_TRUE(view.unsent.isEmpty());
}

TEST_F(ReconnectHarness, ACommandWhoseAnswerWasSeenIsNotSentAgain)
{
    connectAndHandshake();
    pollCycle();
    session.setCommandRetries(5);
    session.QueueCommand(body("0919"));
    pollCycle(liveAnswer(0x09)); // acknowledged
    tick();
    timeout();
    reconnectWith();
    pollCycle();
    pollCycle();
    EXPECT_EQ(writer.count(body("aa0919cc")), 1);
    EXPECT_TRUE(view.unsent.isEmpty());
}

TEST_F(ReconnectHarness, ACommandThatSpendsItsBudgetIsReportedNotSentAndTheLinkIsMadeAgain)
{
    connectAndHandshake();
    pollCycle();
    session.setCommandRetries(2);
    session.QueueCommand(body("0919"), body("2401"));
    tick();
    receive(liveAnswer(0x55)); // wrong echo: the framing that would resend ends the budget
    EXPECT_TRUE(view.messages.isEmpty());
    EXPECT_TRUE(session.reconnecting());
    EXPECT_EQ(view.unsent, (QList<QByteArray>{body("0919"), body("2401")}));
    reconnectWith();
    pollCycle();
    EXPECT_EQ(writer.count(body("aa0919cc")), 1);
    EXPECT_EQ(lastFrame(), pollFrame);
}

TEST_F(ReconnectHarness, GivingUpWithACommandWaitingReportsItNotSent)
{
    connectAndHandshake();
    pollCycle();
    session.setCommandRetries(5);
    session.QueueCommand(body("0919"));
    tick();
    timeout();
    clock.now += Session::ReconnectLimit;
    retryTick();
    EXPECT_EQ(view.unsent, QList<QByteArray>{body("0919")});
    EXPECT_EQ(view.messages, QStringList{NoController});
}

// --- the controller after a reconnect ---------------------------------------

TEST_F(ReconnectHarness, ADifferentSettingsBlockAfterAReconnectIsAppliedAndReported)
{
    connectAndHandshake();
    pollCycle();
    tick();
    timeout();
    QByteArray other = settingsAnswer();
    other[100] = char(other[100] ^ 0xFF);
    reconnectWith(other);
    EXPECT_EQ(view.reconnects, QList<bool>{true});
    EXPECT_EQ(view.settingsFrames.last(), other);
    EXPECT_EQ(session.storedSettings(), other);
}

TEST_F(ReconnectHarness, AnotherFirmwareAfterAReconnectEndsTheLink)
{
    connectAndHandshake();
    pollCycle();
    tick();
    timeout();
    waitAndRetry();
    view.changedControllerText = QStringLiteral("another controller");
    const QByteArray other = settingsAnswer(0x0C, 3, 7, 8);
    receiveIn(other, {100});
    EXPECT_FALSE(session.linkActive());
    EXPECT_FALSE(session.reconnecting());
    // Told before the link ends (a recording still takes the block), and the
    // box says why instead of "no controller".
    EXPECT_EQ(view.changedControllers, QList<QByteArray>{other});
    EXPECT_EQ(view.messages, QStringList{QStringLiteral("another controller")});
    // Not taken for the car's controller: its block is neither kept nor applied.
    EXPECT_EQ(view.settingsFrames.size(), 1);
    EXPECT_NE(session.storedSettings(), other);
    EXPECT_EQ(Session::versionText(other), QStringLiteral("3.07.08"));
}

TEST_F(ReconnectHarness, AnAttemptAnsweredWithGarbageWaitsForTheNextOne)
{
    connectAndHandshake();
    pollCycle();
    tick();
    timeout();
    waitAndRetry();
    receive(QByteArray::fromHex("0102030405"));
    receive(settingsAnswer().left(100)); // the rest of a garbled attempt: dropped
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_TRUE(session.reconnecting());
    EXPECT_TRUE(view.messages.isEmpty());
    reconnectWith();
    EXPECT_EQ(view.reconnectAttempts, (QList<int>{0, 1, 2}));
}

// --- the line-quality count ---------------------------------------------------

TEST_F(ReconnectHarness, LineErrorsAreCountedOverTheLastMinute)
{
    connectAndHandshake();
    pollCycle();
    tick();
    receive(QByteArray::fromHex("3c"));
    clock.now += 30000;
    tick();
    receive(QByteArray::fromHex("3c"));
    EXPECT_EQ(view.lineErrors, 2);
    EXPECT_EQ(session.lineErrorsLastMinute(), 2);
    clock.now += 30000; // the first one is a minute old
    EXPECT_EQ(session.lineErrorsLastMinute(), 1);
    clock.now += 30000;
    EXPECT_EQ(session.lineErrorsLastMinute(), 0);
}

TEST(LineQuality, AnErrorCountsForExactlyOneMinute)
{
    LineQuality q;
    q.errorAt(1000);
    q.errorAt(1000);
    EXPECT_EQ(q.errorsInLastMinute(1000), 2);
    q.errorAt(20000);
    EXPECT_EQ(q.errorsInLastMinute(60999), 3);
    EXPECT_EQ(q.errorsInLastMinute(61000), 1);
    EXPECT_EQ(q.errorsInLastMinute(80000), 0);
}

// --- what a port failure means --------------------------------------------------

struct FailureText
{
    const char *name;
    const char *message;
    PortFailure cause;
};

void PrintTo(const FailureText &c, std::ostream *os)
{
    *os << c.name;
}

struct PortFailureMeaning : ::testing::TestWithParam<FailureText>
{
};

TEST_P(PortFailureMeaning, TheCauseIsReadFromThePortsMessage)
{
    EXPECT_EQ(portFailureOf(QString::fromUtf8(GetParam().message)), GetParam().cause);
}

INSTANTIATE_TEST_SUITE_P(
    Session, PortFailureMeaning,
    ::testing::Values(FailureText{"writeOnAGoneDevice", "WriteFile function failed (win error code: 6)", PortFailure::Unplugged},
                      FailureText{"readOnAGoneDevice", "ReadFile function failed (win error code: 6)", PortFailure::Unplugged},
                      FailureText{"purgeOnAGoneDevice", "PurgeComm function failed (win error code: 6)", PortFailure::Unplugged},
                      FailureText{"openNoDevice", "Unable to open com port (win error code: 1)", PortFailure::Missing},
                      FailureText{"openNoPermission", "Unable to open com port (win error code: 2)", PortFailure::Busy},
                      FailureText{"openOther", "Unable to open com port (win error code: 3)", PortFailure::Other},
                      FailureText{"plainWriteError", "WriteFile function failed (win error code: 4)", PortFailure::Other},
                      FailureText{"storeWithoutCode", "Failed to store settings", PortFailure::Other},
                      FailureText{"codeNotAtTheEnd", "Resource error (win error code: 6) later", PortFailure::Other}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
