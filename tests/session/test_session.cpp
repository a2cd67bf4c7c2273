// The link session driven event by event: handshake, polling, answer
// assembly, time-outs, the command queue's sending side, factory reset,
// the disconnect sequence and the failure paths.
#include "SessionHarness.h"

#include "link/CommandBodies.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace session_test;

namespace {

// Table cases print as their `name`, never as a dump of their bytes.
template <class Case>
    requires requires(const Case &c) { std::string(c.name); }
void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

// "pieces_2_1_100": how an answer is cut into reads.
std::string piecesName(const ::testing::TestParamInfo<QList<int>> &info)
{
    std::string name = "pieces";
    for (int n : info.param)
        name += "_" + std::to_string(n);
    return name;
}

// --- construction -------------------------------------------------------------

TEST_F(SessionHarness, StartsDisconnectedWithBothTimersOff)
{
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_EQ(poll.intervalMs, 240);
    EXPECT_EQ(answerTimer.intervalMs, 3000);
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_EQ(session.connectRetries(), 5);
    EXPECT_EQ(session.lastCommandCode(), -1);
    EXPECT_FALSE(session.linkActive());
}

// --- handshake ----------------------------------------------------------------

TEST_F(SessionHarness, ConnectSendsOneStartupCommandAndBeginsLongExchange)
{
    connect();
    EXPECT_EQ(writer.frames(), QList<QByteArray>{startup});
    EXPECT_EQ(writer.writes.first(), QByteArray::fromHex("cc") + WireCodec::encodeSend(startup));
    EXPECT_EQ(port.customBaud, 7200);
    EXPECT_TRUE(port.isOpen);
    EXPECT_EQ(session.linkState(), Session::WaitStart);
    EXPECT_FALSE(poll.active);
    EXPECT_TRUE(answerTimer.active);
    EXPECT_EQ(poll.intervalMs, 1264);
    EXPECT_FALSE(view.windowEnabled);
    EXPECT_TRUE(view.panelsGrey);
    EXPECT_EQ(view.lambdaUnchecks, 1);
}

TEST_F(SessionHarness, WholeStartupAnswerInOneReadCompletesTheHandshake)
{
    connect();
    receive(settingsAnswer());
    EXPECT_EQ(session.linkState(), Session::StartDone);
    EXPECT_EQ(session.rxBuffer(), settingsAnswer());
    EXPECT_TRUE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_EQ(view.status, "ZENU ver. 3.07.07");
    EXPECT_EQ(log.count("settled"), 0) << "not before the settings are applied";
    tick();
    EXPECT_EQ(session.linkState(), Session::Count);
    EXPECT_EQ(writer.count(startup), 1);
    EXPECT_TRUE(view.messages.isEmpty());
    // Told once, with the window usable again: whatever follows the link looks now.
    ASSERT_EQ(log.count("settled"), 1);
    EXPECT_GT(log.indexOf("settled"), log.lastIndexOf("window:on"));
}

struct HandshakeSplit : SessionHarness, ::testing::WithParamInterface<QList<int>>
{
};

TEST_P(HandshakeSplit, CompletesAndTheNextTickStartsPolling)
{
    connect();
    receiveIn(settingsAnswer(), GetParam());
    EXPECT_EQ(session.linkState(), Session::StartDone);
    EXPECT_EQ(view.status, "ZENU ver. 3.07.07");
    EXPECT_TRUE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_EQ(poll.intervalMs, 1264);

    tick();
    EXPECT_EQ(session.linkState(), Session::Count);
    EXPECT_EQ(view.settingsFrames, QList<QByteArray>{settingsAnswer()});
    EXPECT_EQ(session.storedSettings(), settingsAnswer());
    EXPECT_TRUE(session.rxBuffer().isEmpty());
    EXPECT_TRUE(view.switchOn);
    EXPECT_EQ(view.switchOnText, "COM3 - ON");
    EXPECT_TRUE(view.reserveFlashing);
    EXPECT_TRUE(view.fileMenu);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_FALSE(view.panelsGrey);
    EXPECT_EQ(poll.intervalMs, 240);
    EXPECT_TRUE(poll.active);
    // That tick sends nothing; exactly one startup command for the attempt.
    EXPECT_EQ(writer.frames(), QList<QByteArray>{startup});
    EXPECT_TRUE(view.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Pieces, HandshakeSplit,
                         ::testing::Values(QList<int>{1}, QList<int>{2}, QList<int>{3},
                                           QList<int>{4}, QList<int>{300}, QList<int>{601},
                                           QList<int>{2, 1, 100}, QList<int>{1, 1, 1, 1, 1}),
                         piecesName);

struct BadFirstChunk
{
    const char *name;
    QByteArray chunk;
    bool retried; // the chunk is no startup answer: one attempt spent on it
};

struct HandshakeBadStart : SessionHarness, ::testing::WithParamInterface<BadFirstChunk>
{
};

TEST_P(HandshakeBadStart, ABadChunkSpendsOneAttemptSilentlyAndIsDropped)
{
    const BadFirstChunk &c = GetParam();
    connect();
    receive(c.chunk);
    const int retries = c.retried ? 1 : 0;
    EXPECT_EQ(writer.count(startup), 1 + retries);
    EXPECT_EQ(session.connectRetries(), 5 - retries);
    EXPECT_EQ(port.clears, retries);
    EXPECT_TRUE(view.messages.isEmpty());
    EXPECT_EQ(session.linkState(), c.retried ? Session::WaitStart : Session::WaitStartRest);
    EXPECT_EQ(session.rxBuffer(), c.retried ? QByteArray() : c.chunk);
    EXPECT_TRUE(answerTimer.active);
    EXPECT_FALSE(view.windowEnabled);
}

QByteArray withByte(QByteArray bytes, int offset, uint8_t value)
{
    bytes[offset] = char(value);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, HandshakeBadStart,
    ::testing::Values(
        BadFirstChunk{"accepted0C", settingsAnswer(0x0C).left(50), false},
        BadFirstChunk{"accepted26", settingsAnswer(0x26).left(50), false},
        BadFirstChunk{"wrongFirstByte", withByte(settingsAnswer().left(50), 0, 0x55), true},
        BadFirstChunk{"wrongCode", settingsAnswer(0x66).left(50), true},
        BadFirstChunk{"bothWrong", withByte(settingsAnswer(0x66).left(50), 0, 0x00), true},
        BadFirstChunk{"oneNoiseByte", QByteArray::fromHex("3c"), true},
        // The code is only looked at when it arrives in the first chunk.
        BadFirstChunk{"codeNotYetThere", settingsAnswer(0x66).left(3), false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionHarness, FiveSilentAttemptsEndWithNoControllerMessageAndFreshBudgetAfter)
{
    connect();
    for (int i = 0; i < 10 && answerTimer.active; ++i)
        timeout();
    EXPECT_EQ(writer.count(startup), 5);
    EXPECT_EQ(view.messages, QStringList{"Brak Sterownika"});
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_FALSE(port.isOpen);
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_TRUE(view.windowEnabled);

    connect();
    EXPECT_EQ(session.connectRetries(), 5);
    EXPECT_EQ(writer.count(startup), 6);
    for (int i = 0; i < 10 && answerTimer.active; ++i)
        timeout();
    EXPECT_EQ(writer.count(startup), 10);
}

struct FirmwareCase
{
    uint8_t major, minor, build;
    bool accepted;
};

std::string firmwareName(const FirmwareCase &c)
{
    return "v" + std::to_string(c.major) + "_" + std::to_string(c.minor) + "_" + std::to_string(c.build);
}

void PrintTo(const FirmwareCase &c, std::ostream *os)
{
    *os << firmwareName(c) << (c.accepted ? " accepted" : " refused");
}

struct Firmware : SessionHarness, ::testing::WithParamInterface<FirmwareCase>
{
};

TEST_P(Firmware, OnlyThreeSevenSevenIsAcceptedAtTheFirstHandshake)
{
    const FirmwareCase &c = GetParam();
    connect();
    receiveIn(settingsAnswer(0x0C, c.major, c.minor, c.build), {10});
    EXPECT_TRUE(view.messages.isEmpty());
    if (c.accepted) {
        EXPECT_EQ(session.linkState(), Session::StartDone);
        EXPECT_EQ(view.status, "ZENU ver. 3.07.07");
        EXPECT_TRUE(port.isOpen);
    } else {
        EXPECT_TRUE(session.linkState().isEmpty());
        EXPECT_EQ(view.status, "ZENU ver.");
        EXPECT_FALSE(port.isOpen);
        EXPECT_FALSE(poll.active);
        EXPECT_FALSE(answerTimer.active);
        EXPECT_TRUE(view.settingsFrames.isEmpty());
        EXPECT_EQ(port.storedPaths.size(), 1); // the disconnect sequence ran
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, Firmware,
                         ::testing::Values(FirmwareCase{3, 7, 7, true}, FirmwareCase{3, 7, 8, false},
                                           FirmwareCase{3, 8, 7, false}, FirmwareCase{2, 7, 7, false},
                                           FirmwareCase{7, 7, 3, false}, FirmwareCase{0, 0, 0, false}),
                         [](const auto &info) { return firmwareName(info.param); });

TEST_F(SessionHarness, LaterHandshakeInTheSameRunIsNotChecked)
{
    connectAndHandshake();
    session.rozlacz1Click();
    connect();
    receiveIn(settingsAnswer(0x0C, 9, 0x10, 0x0A), {10});
    EXPECT_EQ(session.linkState(), Session::StartDone);
    EXPECT_EQ(view.status, "ZENU ver. 3.07.07");
    tick();
    EXPECT_EQ(session.linkState(), Session::Count);
}

TEST_F(SessionHarness, LastAttemptSpentByABadChunkEndsTheLinkCleanlyAtOnce)
{
    connect();
    for (int i = 0; i < 4; ++i)
        timeout();
    ASSERT_EQ(session.connectRetries(), 1);
    ASSERT_EQ(writer.count(startup), 5);
    const int clearsBefore = port.clears;

    // Bad first byte and bad code in one chunk: one attempt, the last.
    receive(withByte(settingsAnswer(0x66).left(20), 0, 0x00));
    EXPECT_EQ(port.clears, clearsBefore + 1);
    EXPECT_FALSE(port.isOpen);
    EXPECT_EQ(port.opens, 1);
    EXPECT_EQ(writer.count(startup), 5);
    EXPECT_EQ(view.messages, QStringList{"Brak Sterownika"});
    EXPECT_TRUE(session.linkState().isEmpty());
    // Nothing is left waiting: no timer, no second disconnect later.
    EXPECT_FALSE(answerTimer.active);
    EXPECT_FALSE(poll.active);
    EXPECT_EQ(port.storedPaths.size(), 1);
    EXPECT_TRUE(view.windowEnabled);
    receive(settingsAnswer());
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_EQ(view.messages.size(), 1);
}

TEST_F(SessionHarness, PeerSendingGarbageDuringTheHandshakeEndsItWithinOneTimeout)
{
    connect();
    // Every chunk of the chatter is a failed attempt; no time-out is needed.
    for (int i = 0; i < 40 && !session.linkState().isEmpty(); ++i)
        receive(QByteArray(16, char(0x3C + i)));
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_EQ(writer.count(startup), 5);
    EXPECT_EQ(view.messages, QStringList{"Brak Sterownika"});
    EXPECT_EQ(port.storedPaths.size(), 1);
    EXPECT_FALSE(answerTimer.active);
}

struct Chatter
{
    const char *name;
    QByteArray firstChunk; // a plausible start
    int resultingStartups; // startup commands sent in all
};

struct HandshakeChatter : SessionHarness, ::testing::WithParamInterface<Chatter>
{
};

TEST_P(HandshakeChatter, AnAnswerPastItsLengthIsAbandonedAtOnceAndTheBufferStaysBounded)
{
    const Chatter &c = GetParam();
    connect();
    receive(c.firstChunk);
    int largest = int(session.rxBuffer().size());
    for (int i = 0; i < 200 && session.linkState() == Session::WaitStartRest; ++i) {
        receive(QByteArray(7, char(0x41)));
        largest = std::max(largest, int(session.rxBuffer().size()));
    }
    EXPECT_LE(largest, Session::LargestAnswer);
    EXPECT_EQ(session.linkState(), Session::WaitStart); // a fresh attempt
    EXPECT_EQ(writer.count(startup), c.resultingStartups);
    EXPECT_TRUE(view.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Peers, HandshakeChatter,
    ::testing::Values(
        // The header's own length (602) is passed by the chatter.
        Chatter{"pastTheHeaderLength", settingsAnswer().left(10), 2},
        // A header announcing more than any answer: the 602-byte bound.
        Chatter{"headerBeyondTheLargestAnswer", QByteArray::fromHex("aaffff0c03"), 2}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionHarness, RetryWithThePortClosedUnderneathReopensWithoutClearingIt)
{
    connect();
    port.isOpen = false;
    timeout();
    EXPECT_TRUE(view.messages.isEmpty());
    EXPECT_EQ(port.clears, 0);
    EXPECT_TRUE(port.isOpen);
    EXPECT_EQ(writer.count(startup), 2);
    EXPECT_EQ(session.linkState(), Session::WaitStart);
}


// --- polling and answer assembly ------------------------------------------------

TEST_F(SessionHarness, PollCycleSendsPollAndAppliesEachAnswerAtTheNextTick)
{
    connectAndHandshake();
    for (int i = 0; i < 12; ++i) {
        tick();
        EXPECT_EQ(lastFrame(), pollFrame);
        EXPECT_EQ(session.linkState(), Session::ReadCount);
        EXPECT_FALSE(poll.active);
        EXPECT_TRUE(answerTimer.active);
        receive(liveAnswer(0x55, uint8_t(i)));
        EXPECT_EQ(session.linkState(), Session::Count);
        EXPECT_TRUE(poll.active);
        EXPECT_FALSE(answerTimer.active);
    }
    tick();
    EXPECT_EQ(writer.count(pollFrame), 13);
    // First tick after the handshake: an empty buffer; then every answer.
    ASSERT_EQ(view.liveFrames.size(), 13);
    EXPECT_TRUE(view.liveFrames.first().isEmpty());
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(view.liveFrames[i + 1], liveAnswer(0x55, uint8_t(i)));
    EXPECT_TRUE(view.messages.isEmpty());
}

struct AnswerPieces : SessionHarness, ::testing::WithParamInterface<QList<int>>
{
};

TEST_P(AnswerPieces, AssembledAnswerIsAppliedWhole)
{
    connectAndHandshake();
    tick();
    receiveIn(liveAnswer(), GetParam());
    EXPECT_EQ(session.linkState(), Session::Count);
    EXPECT_EQ(session.rxBuffer(), liveAnswer());
    EXPECT_TRUE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    tick();
    EXPECT_EQ(view.liveFrames.last(), liveAnswer());
}

INSTANTIATE_TEST_SUITE_P(Pieces, AnswerPieces,
                         ::testing::Values(QList<int>{57}, QList<int>{1}, QList<int>{2},
                                           QList<int>{3}, QList<int>{56}, QList<int>{2, 1},
                                           QList<int>{10, 10, 10}, QList<int>{1, 1, 1, 1}),
                         piecesName);

TEST_F(SessionHarness, TwoByteFirstChunkTakesOnlyTheHighLengthByte)
{
    connectAndHandshake();
    tick();
    const QByteArray reply = answer(0x55, QByteArray(300, '\x01')); // length 0x0131
    receive(reply.left(2));
    EXPECT_EQ(session.expectedLength(), 256);
    EXPECT_EQ(session.linkState(), Session::ReadCountRest);
    receive(reply.mid(2, 10));
    EXPECT_EQ(session.expectedLength(), 0x131);
    receive(reply.mid(12));
    EXPECT_EQ(session.linkState(), Session::Count);
}

struct Overlong
{
    const char *name;
    QList<QByteArray> chunks;
};

struct OverlongAnswers : SessionHarness, ::testing::WithParamInterface<Overlong>
{
};

TEST_P(OverlongAnswers, AreAbandonedAtOnceAsATimeoutWould)
{
    connectAndHandshake();
    tick();
    for (const QByteArray &chunk : GetParam().chunks)
        receive(chunk);
    EXPECT_EQ(view.messages, QStringList{"Brak Sterownika"});
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_TRUE(session.rxBuffer().isEmpty());
    EXPECT_EQ(port.storedPaths.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, OverlongAnswers,
    ::testing::Values(
        Overlong{"twoBytesTooManyInOneRead", {liveAnswer() + QByteArray::fromHex("0102")}},
        Overlong{"oneByteTooManyInALaterRead", {liveAnswer().left(50), liveAnswer().mid(50) + "x"}},
        Overlong{"headerBeyondTheLargestAnswer",
                 {QByteArray::fromHex("aa7fff55"), QByteArray(300, 'a'), QByteArray(300, 'b')}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionHarness, GarbledAnswerShowsInitErrorOnceAndTheNextPollRecovers)
{
    connectAndHandshake();
    pollCycle();
    tick();
    // Three stray bytes, then the live answer, as a noisy line delivers it.
    QByteArray noise = QByteArray::fromHex("3c1f07");
    receive(noise);
    EXPECT_EQ(view.messages, QStringList{"Init Error"});
    EXPECT_EQ(session.linkState(), Session::Count);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_TRUE(poll.active);
    receive(liveAnswer(0x55, 0x22)); // the rest of the abandoned answer: dropped
    EXPECT_TRUE(session.rxBuffer().isEmpty());
    const int liveBefore = int(view.liveFrames.size());
    pollCycle(liveAnswer(0x55, 0x33));
    EXPECT_EQ(session.linkState(), Session::Count);
    tick();
    EXPECT_EQ(view.liveFrames.size(), liveBefore + 2); // the empty one, then the new answer
    EXPECT_EQ(view.liveFrames.last(), liveAnswer(0x55, 0x33));
    EXPECT_EQ(view.messages, QStringList{"Init Error"});
}

TEST_F(SessionHarness, GarbledAnswerToACommandSpendsOneUnitOfItsBudget)
{
    connectAndHandshake();
    session.setCommandRetries(5);
    session.QueueCommand(body("0919"));
    tick();
    receive(QByteArray::fromHex("00aa0039"));
    EXPECT_EQ(session.commandRetries(), 3);
    EXPECT_EQ(session.queue().current(), body("aa0919cc"));
    EXPECT_EQ(view.messages, QStringList{"Init Error"});
    tick();
    EXPECT_EQ(lastFrame(), body("aa0919cc"));
    receive(liveAnswer(0x09));
    EXPECT_TRUE(session.queue().current().isEmpty());
}

TEST_F(SessionHarness, ALineThatGarblesEveryAnswerEndsTheLinkWithOneTimeoutMessage)
{
    connectAndHandshake();
    for (int i = 0; i < 10 && !session.linkState().isEmpty(); ++i) {
        tick();
        receive(QByteArray::fromHex("5a5a5a"));
    }
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_EQ(writer.count(pollFrame), Session::ConnectAttempts);
    // Each box was closed before the next garbled answer came.
    EXPECT_EQ(view.messages.count("Init Error"), Session::ConnectAttempts - 1);
    EXPECT_EQ(view.messages.last(), "Brak Sterownika");
    EXPECT_EQ(view.messages.count("Brak Sterownika"), 1);
}

TEST_F(SessionHarness, ANoiseBurstWhileTheBoxIsOpenOpensNoSecondBox)
{
    connectAndHandshake();
    tick();
    // The box's own event loop delivers the burst and keeps the ticks coming.
    int nestedEvents = 0;
    view.duringMessage = [&] {
        for (int i = 0; i < 400 && !session.linkState().isEmpty(); ++i, ++nestedEvents) {
            receive(QByteArray(3, char(0x10 + i % 7)));
            if (poll.active)
                session.Timer_CountTimer();
        }
    };
    receive(QByteArray::fromHex("0102"));
    EXPECT_GT(nestedEvents, 0);
    EXPECT_EQ(view.maxDepth, 1);
    // The burst outlasted the attempts: one Init Error, closed by the
    // session as the link ended, then the time-out message at once (not
    // waiting for the fitter to close the stale box).
    EXPECT_EQ(view.messages, (QStringList{"Init Error", "Brak Sterownika"}));
    EXPECT_EQ(view.dismissals, 1);
    EXPECT_LT(log.indexOf(QStringLiteral("dismiss")), log.indexOf(QStringLiteral("message:Brak Sterownika")));
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_EQ(port.storedPaths.size(), 1);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
}

TEST_F(SessionHarness, BytesOutsideAnyWaitingStateAreDropped)
{
    receive(liveAnswer()); // not connected
    EXPECT_TRUE(session.rxBuffer().isEmpty());
    connect();
    receiveIn(settingsAnswer(), {10});
    ASSERT_EQ(session.linkState(), Session::StartDone);
    receive(liveAnswer()); // between the end of the handshake and its tick
    EXPECT_EQ(session.rxBuffer(), settingsAnswer());
    tick();
    receive(liveAnswer()); // "count": nothing was asked yet
    EXPECT_TRUE(session.rxBuffer().isEmpty());
    EXPECT_EQ(session.linkState(), Session::Count);
}

TEST_F(SessionHarness, ReceiveHandlerReadsTheCountWaitingFromThePort)
{
    connectAndHandshake();
    tick();
    port.incoming = WireCodec::encodeReply(liveAnswer());
    session.ComPort1RxChar(20);
    EXPECT_EQ(session.rxBuffer(), liveAnswer().left(20));
    session.ComPort1RxChar(port.bytesWaiting());
    EXPECT_EQ(session.linkState(), Session::Count);
    EXPECT_TRUE(port.incoming.isEmpty());
    // A notification that finds nothing changes nothing.
    session.ComPort1RxChar(5);
    EXPECT_EQ(session.linkState(), Session::Count);
    EXPECT_TRUE(poll.active);
}

// --- time-outs ------------------------------------------------------------------

struct TimeoutCase
{
    const char *name;
    std::function<void(SessionHarness &)> reach;
    QString state;
    bool retried;
};

struct Timeouts : SessionHarness, ::testing::WithParamInterface<TimeoutCase>
{
};

TEST_P(Timeouts, HandshakeRetriesEverythingElseDisconnects)
{
    const TimeoutCase &c = GetParam();
    SessionHarness &h = *this;
    c.reach(h);
    ASSERT_EQ(h.session.linkState(), c.state);
    const int startups = h.writer.count(h.startup);
    h.timeout();
    if (c.retried) {
        EXPECT_EQ(h.writer.count(h.startup), startups + 1);
        EXPECT_EQ(h.session.linkState(), Session::WaitStart);
        EXPECT_TRUE(h.view.messages.isEmpty());
        EXPECT_TRUE(h.port.isOpen);
    } else {
        EXPECT_EQ(h.view.messages, QStringList{"Brak Sterownika"});
        EXPECT_TRUE(h.session.linkState().isEmpty());
        EXPECT_FALSE(h.port.isOpen);
        EXPECT_FALSE(h.poll.active);
        EXPECT_FALSE(h.answerTimer.active);
        EXPECT_TRUE(h.view.windowEnabled);
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, Timeouts,
    ::testing::Values(
        TimeoutCase{"w_s_0", [](SessionHarness &h) { h.connect(); }, Session::WaitStart, true},
        TimeoutCase{"w_s_count",
                    [](SessionHarness &h) {
                        h.connect();
                        h.receive(settingsAnswer().left(100));
                    },
                    Session::WaitStartRest, true},
        TimeoutCase{"read_count",
                    [](SessionHarness &h) {
                        h.connectAndHandshake();
                        h.tick();
                    },
                    Session::ReadCount, false},
        TimeoutCase{"read_count_1",
                    [](SessionHarness &h) {
                        h.connectAndHandshake();
                        h.tick();
                        h.receive(liveAnswer().left(30));
                    },
                    Session::ReadCountRest, false},
        TimeoutCase{"queued_command_unanswered",
                    [](SessionHarness &h) {
                        h.connectAndHandshake();
                        h.session.setCommandRetries(5);
                        h.session.QueueCommand(body("0919"));
                        h.tick();
                    },
                    Session::ReadCount, false}),
    [](const auto &info) { return std::string(info.param.name); });

// --- command queue ---------------------------------------------------------------

TEST_F(SessionHarness, QueuedCommandLeavesAtNextTickInPlaceOfPoll)
{
    connectAndHandshake();
    pollCycle();
    session.setCommandRetries(5);
    session.QueueCommand(body("0919"));
    EXPECT_EQ(session.linkState(), Session::Count);
    EXPECT_EQ(session.queue().current(), body("aa0919cc"));
    EXPECT_EQ(session.lastCommandCode(), 0x09);
    EXPECT_TRUE(poll.active);
    const int polls = writer.count(pollFrame);
    const int liveBefore = int(view.liveFrames.size());

    // With a command waiting, the previous answer is not shown.
    tick();
    EXPECT_EQ(lastFrame(), body("aa0919cc"));
    EXPECT_EQ(writer.count(pollFrame), polls);
    EXPECT_EQ(view.liveFrames.size(), liveBefore);
    receive(liveAnswer(0x09));
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_EQ(session.commandRetries(), 0);
    tick();
    EXPECT_EQ(view.liveFrames.size(), liveBefore + 1);
    EXPECT_EQ(view.liveFrames.last(), liveAnswer(0x09));
    EXPECT_EQ(lastFrame(), pollFrame);
    EXPECT_EQ(session.lastCommandCode(), -1);
}

TEST_F(SessionHarness, UnacknowledgedResetIsSentFourTimesThenTheLinkEnds)
{
    connectAndHandshake();
    session.setCommandRetries(5);
    session.QueueCommand(body("26"));
    for (int i = 0; i < 4; ++i) {
        tick();
        receive(liveAnswer(0x55)); // wrong echo
    }
    const QList<QByteArray> sent = writer.frames();
    EXPECT_EQ(sent.count(body("aa26d0")), 4);
    // Every resend is the very same bytes on the line.
    QList<QByteArray> resetWrites;
    for (const QByteArray &w : writer.writes)
        if (WireCodec::decodeCommand(w.mid(1)) == body("aa26d0"))
            resetWrites << w;
    ASSERT_EQ(resetWrites.size(), 4);
    for (const QByteArray &w : resetWrites)
        EXPECT_EQ(w, resetWrites.first());

    EXPECT_EQ(view.messages, QStringList{"Time out - Error1"});
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_FALSE(port.isOpen);
    EXPECT_TRUE(session.queue().current().isEmpty());
}

TEST_F(SessionHarness, EachWrongEchoSpendsOneUnitOfTheBudget)
{
    connectAndHandshake();
    session.setCommandRetries(5);
    session.QueueCommand(body("2a01"));
    tick();
    receive(liveAnswer(0x55));
    EXPECT_EQ(session.commandRetries(), 3);
    EXPECT_EQ(session.queue().current(), body("aa2a01d5"));
    tick();
    receive(liveAnswer(0x2A));
    EXPECT_EQ(session.commandRetries(), 0);
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_TRUE(view.messages.isEmpty());
}

TEST_F(SessionHarness, SecondCommandBeforeTheTickReplacesTheFirst)
{
    connectAndHandshake();
    session.setCommandRetries(5);
    session.QueueCommand(body("0919"));
    session.setCommandRetries(5);
    session.QueueCommand(body("1101"));
    tick();
    receive(liveAnswer(0x11));
    for (int i = 0; i < 3; ++i)
        pollCycle();
    EXPECT_EQ(writer.count(body("aa0919cc")), 0);
    EXPECT_EQ(writer.count(CommandFrame::frame(body("1101"))), 1);
}

struct QueuedWhile
{
    const char *name;
    int bytesBefore; // of the answer under way when the command is queued
};

struct QueueingDuringAnAnswer : SessionHarness, ::testing::WithParamInterface<QueuedWhile>
{
};

TEST_P(QueueingDuringAnAnswer, TheAnswerEndsFirstAndIsNotTakenForTheCommands)
{
    connectAndHandshake();
    tick();
    // The answer under way echoes 0x09 by chance; it still answers the poll.
    const QByteArray under = liveAnswer(0x09);
    receive(under.left(GetParam().bytesBefore));
    session.setCommandRetries(5);
    session.QueueCommand(body("0919"));
    EXPECT_FALSE(poll.active); // nothing leaves before that answer is done
    receive(under.mid(GetParam().bytesBefore));
    EXPECT_EQ(session.linkState(), Session::Count);
    EXPECT_EQ(session.queue().current(), body("aa0919cc"));
    EXPECT_EQ(session.commandRetries(), 4);
    tick();
    EXPECT_EQ(lastFrame(), body("aa0919cc"));
    receive(liveAnswer(0x09));
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_EQ(writer.count(body("aa0919cc")), 1);
    EXPECT_TRUE(view.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Points, QueueingDuringAnAnswer,
    ::testing::Values(QueuedWhile{"beforeItsFirstByte", 0}, QueuedWhile{"afterItsHeader", 3},
                      QueuedWhile{"withOneByteToCome", 56}),
    [](const auto &info) { return std::string(info.param.name); });

struct GroupCase
{
    const char *name;
    QList<QByteArray> bodies;
};

struct Groups : SessionHarness, ::testing::WithParamInterface<GroupCase>
{
};

TEST_P(Groups, BodiesLeaveInOrderEachAfterTheLastWasAcknowledged)
{
    const QList<QByteArray> &bodies = GetParam().bodies;
    connectAndHandshake();
    session.setCommandRetries(5);
    session.QueueCommand(bodies.value(0), bodies.value(1), bodies.value(2));

    for (int i = 0; i < bodies.size(); ++i) {
        SCOPED_TRACE(i);
        if (i > 0) {
            // This tick frames the next body and sends nothing.
            const int writes = int(writer.writes.size());
            tick();
            EXPECT_EQ(writer.writes.size(), writes);
            EXPECT_EQ(session.commandRetries(), 6); // budget 7, one framing
            EXPECT_EQ(session.queue().currentBody(), bodies[i]);
        }
        tick();
        EXPECT_EQ(lastFrame(), CommandFrame::frame(bodies[i]));
        receive(liveAnswer(uint8_t(bodies[i][0])));
        EXPECT_TRUE(session.queue().current().isEmpty());
    }
    tick();
    EXPECT_EQ(lastFrame(), pollFrame);
    EXPECT_TRUE(session.queue().next().isEmpty());
    EXPECT_TRUE(session.queue().afterNext().isEmpty());
    for (const QByteArray &b : bodies)
        EXPECT_EQ(writer.count(CommandFrame::frame(b)), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, Groups,
    ::testing::Values(GroupCase{"one", {body("0919")}},
                      GroupCase{"two", {body("0d0102030405"), body("3100")}},
                      GroupCase{"three", {body("0e01"), body("2402"), body("3003")}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionHarness, FollowingCommandGetsBudgetSevenSoSixSendings)
{
    connectAndHandshake();
    session.setCommandRetries(5);
    session.QueueCommand(body("0e01"), body("2402"));
    tick();
    receive(liveAnswer(0x0E));
    tick(); // frames 24 02
    for (int i = 0; i < 6; ++i) {
        tick();
        receive(liveAnswer(0x55));
    }
    EXPECT_EQ(writer.count(body("aa2402d0")), 6);
    EXPECT_EQ(view.messages, QStringList{"Time out - Error1"});
    EXPECT_TRUE(session.linkState().isEmpty());
}

TEST_F(SessionHarness, SingleCommandLeavesAWaitingGroupMemberInPlace)
{
    connectAndHandshake();
    session.setCommandRetries(5);
    session.QueueCommand(body("0e01"), body("2402"));
    tick();
    receive(liveAnswer(0x0E));
    session.setCommandRetries(5);
    session.QueueCommand(body("2a01"));
    EXPECT_EQ(session.queue().next(), body("2402"));
    tick();
    EXPECT_EQ(lastFrame(), body("aa2a01d5"));
    receive(liveAnswer(0x2A));
    tick(); // frames 24 02
    tick();
    EXPECT_EQ(lastFrame(), body("aa2402d0"));
}

// --- settings answers, the save marker and the factory reset -----------------------

TEST_F(SessionHarness, DataFileSaveWritesTheFileOnceAfterItsSettingsAnswer)
{
    connectAndHandshake();
    pollCycle();
    session.beginLongExchange();
    session.setCommandRetries(5);
    session.QueueCommand(CommandBodies::dataFileSave());
    tick();
    EXPECT_EQ(lastFrame(), body("aa660010"));
    const QByteArray block = settingsAnswer(0x66);
    receiveIn(block, {7, 300});
    EXPECT_EQ(view.dataFileWrites, 0);
    const int writes = int(writer.writes.size());
    tick();
    EXPECT_EQ(writer.writes.size(), writes); // this tick sends nothing
    EXPECT_EQ(view.settingsFrames.last(), block);
    EXPECT_EQ(session.storedSettings(), block);
    EXPECT_EQ(view.dataFileWrites, 1);
    EXPECT_TRUE(view.droppedSaves.isEmpty());
    EXPECT_TRUE(session.queue().afterNext().isEmpty());
    EXPECT_EQ(session.lastCommandCode(), -1);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(poll.intervalMs, 240);
    // The settings order in the log: applied first, then the file.
    EXPECT_LT(log.lastIndexOf("applySettings"), log.lastIndexOf("writeDataFile"));
    for (int i = 0; i < 3; ++i)
        pollCycle();
    EXPECT_EQ(view.dataFileWrites, 1);
    EXPECT_EQ(view.settingsFrames.size(), 2);
}

TEST_F(SessionHarness, SaveMarkerBehindAnUnfinishedGroupIsDroppedNeverSent)
{
    connectAndHandshake();
    session.setCommandRetries(5);
    session.QueueCommand(body("0e01"), body("2402"));
    tick();
    receive(liveAnswer(0x0E));
    session.setCommandRetries(5);
    session.QueueCommand(CommandBodies::dataFileSave());
    tick();
    receive(settingsAnswer(0x66));
    tick(); // settings applied; 24 02 still waits, so no file
    EXPECT_EQ(view.dataFileWrites, 0);
    tick(); // frames 24 02, the marker moves up behind it
    EXPECT_EQ(session.queue().next(), CommandBodies::saveMarker());
    tick();
    receive(liveAnswer(0x24));
    const int polls = writer.count(pollFrame);
    tick(); // the marker would be next: it goes, and the tick polls instead
    EXPECT_EQ(writer.count(pollFrame), polls + 1);
    EXPECT_TRUE(session.queue().next().isEmpty());
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_TRUE(answerTimer.active);
    for (const QByteArray &f : writer.frames())
        EXPECT_FALSE(f.contains("ZAPIS"));
    EXPECT_EQ(view.dataFileWrites, 0);
    // The save that will never happen is told, once.
    EXPECT_EQ(view.droppedSaves, QList<LinkView::SaveDropped>{LinkView::SaveDropped::GroupUnfinished});
}

TEST_F(SessionHarness, SaveWhoseReadAllAnswerIsShortWritesNoFileAndSaysSo)
{
    connectAndHandshake();
    pollCycle();
    const QByteArray kept = session.storedSettings();
    session.beginLongExchange();
    session.setCommandRetries(5);
    session.QueueCommand(CommandBodies::dataFileSave());
    tick();
    // A complete answer to the read-all by its own length, but far shorter
    // than a settings block.
    receive(answer(0x66, QByteArray(40, '\x11')));
    tick();
    EXPECT_EQ(view.dataFileWrites, 0);
    EXPECT_EQ(view.droppedSaves, QList<LinkView::SaveDropped>{LinkView::SaveDropped::ShortAnswer});
    EXPECT_EQ(session.storedSettings(), kept);
    EXPECT_TRUE(session.queue().afterNext().isEmpty());
    EXPECT_TRUE(view.windowEnabled);
    for (int i = 0; i < 3; ++i)
        pollCycle();
    EXPECT_EQ(view.dataFileWrites, 0);
    EXPECT_EQ(view.droppedSaves.size(), 1);
}

TEST_F(SessionHarness, FactoryResetAnsweredNoSendsNothing)
{
    connectAndHandshake();
    view.answerYes = false;
    const int writes = int(writer.writes.size());
    session.Reset1Click();
    EXPECT_EQ(view.questions, QStringList{"Reset przywróci ustawienia fabryczne"});
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(poll.intervalMs, 240);
    tick();
    EXPECT_EQ(writer.writes.size(), writes + 1);
    EXPECT_EQ(lastFrame(), pollFrame);
}

TEST_F(SessionHarness, FactoryResetYesRunsALongExchangeUntilItsSettingsAreApplied)
{
    connectAndHandshake();
    view.errorLed = true;
    session.Reset1Click();
    EXPECT_FALSE(view.errorLed);
    EXPECT_FALSE(view.windowEnabled);
    EXPECT_TRUE(view.panelsGrey);
    EXPECT_EQ(poll.intervalMs, 1264);
    EXPECT_EQ(session.commandRetries(), 4);
    tick();
    EXPECT_EQ(lastFrame(), body("aa26d0"));
    const QByteArray block = settingsAnswer(0x26);
    receiveIn(block, {100});
    EXPECT_FALSE(view.windowEnabled);
    tick();
    EXPECT_EQ(view.settingsFrames.last(), block);
    EXPECT_EQ(session.storedSettings(), block);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_FALSE(view.panelsGrey);
    EXPECT_EQ(poll.intervalMs, 240);
    EXPECT_EQ(view.dataFileWrites, 0);
    tick();
    EXPECT_EQ(lastFrame(), pollFrame);
}

// An answer to read-all that is complete by its own length but too short to
// be a settings block is not kept: the last block and the controls stay.
TEST_F(SessionHarness, ShortSettingsAnswerKeepsTheLastBlock)
{
    connectAndHandshake();
    const QByteArray good = session.storedSettings();
    ASSERT_EQ(good.size(), 602);
    const int applied = int(view.settingsFrames.size());
    session.setCommandRetries(5);
    session.QueueCommand(CommandBodies::readAll());
    tick();
    EXPECT_EQ(lastFrame(), body("aa660010"));
    const QByteArray shortBlock = answer(0x66, QByteArray(596, char(0x33))); // 601 bytes
    receiveIn(shortBlock, {50});
    tick();
    EXPECT_EQ(session.storedSettings(), good);
    EXPECT_EQ(view.settingsFrames.size(), applied);
    EXPECT_TRUE(view.windowEnabled);
    tick();
    EXPECT_EQ(lastFrame(), pollFrame); // the link goes on polling
}

TEST_F(SessionHarness, LongExchangeBitIsTheOnlyIntervalChange)
{
    session.beginLongExchange();
    EXPECT_EQ(poll.intervalMs, 1264);
    session.beginLongExchange();
    EXPECT_EQ(poll.intervalMs, 1264);
    session.endLongExchange();
    EXPECT_EQ(poll.intervalMs, 240);
    EXPECT_TRUE(view.windowEnabled);
    view.windowEnabled = true;
    session.raisePollInterval();
    EXPECT_EQ(poll.intervalMs, 1264);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_FALSE(view.panelsGrey);
}

// --- disconnect ----------------------------------------------------------------------

struct DisconnectFrom
{
    const char *name;
    std::function<void(Session &)> act;
};

struct Disconnects : SessionHarness, ::testing::WithParamInterface<DisconnectFrom>
{
};

TEST_P(Disconnects, SequenceRunsInOrderAndKeepsTheFaultList)
{
    connectAndHandshake();
    pollCycle();
    session.setCommandRetries(5);
    session.QueueCommand(body("0e01"), body("2402"), body("3003"));
    view.memo = " - Cisnienie gazu za niskie";
    view.errorLed = true;
    log.clear();

    GetParam().act(session);

    EXPECT_EQ(view.memo, " - Cisnienie gazu za niskie");
    EXPECT_FALSE(view.errorLed);
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_TRUE(session.queue().next().isEmpty());
    EXPECT_TRUE(session.queue().afterNext().isEmpty());
    EXPECT_EQ(session.commandRetries(), 0);
    EXPECT_EQ(session.lastCommandCode(), -1);
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_FALSE(port.isOpen);
    EXPECT_FALSE(view.switchOn);
    EXPECT_FALSE(view.fileMenu);
    EXPECT_FALSE(view.reserveFlashing);
    EXPECT_TRUE(session.rxBuffer().isEmpty());
    EXPECT_EQ(view.liveFrames.last(), QByteArray(500, '\0'));
    EXPECT_EQ(port.storedPaths, QStringList{"HKEY_LOCAL_MACHINE\\Software\\ZENU"});
    EXPECT_EQ(langStore.keys, QStringList{"PolskiPL"});
    EXPECT_TRUE(view.messages.isEmpty());
    const QStringList expected = {
        "errorLed:off", "port.close",   "switch:off",         "applyLive:500",
        "errorLed:off", "fileMenu:off", "reserve:off",        "injectorLeds:reset",
        "store.port",   "store.lang",   "window:on",          "panels:face",
        "memo:restore", "settled",
    };
    EXPECT_EQ(log, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, Disconnects,
    ::testing::Values(DisconnectFrom{"menu", [](Session &s) { s.rozlacz1Click(); }},
                      DisconnectFrom{"switch", [](Session &s) { s.Polacz_switchStatusChanged(false); }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionHarness, ClosingTheWindowStoresLikeTheMenu)
{
    connectAndHandshake();
    view.languageKey = "AngielskiGB";
    session.windowClosing();
    EXPECT_FALSE(port.isOpen);
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_EQ(port.storedPaths.size(), 1);
    EXPECT_EQ(langStore.keys, QStringList{"AngielskiGB"});
}

struct StoreFailure
{
    const char *name;
    std::function<void(SessionHarness &)> end; // how the link ends
    QStringList messages;
};

struct StoreFailures : SessionHarness, ::testing::WithParamInterface<StoreFailure>
{
};

TEST_P(StoreFailures, EveryStepOfTheDisconnectStillRunsAndTheErrorIsToldOnce)
{
    connectAndHandshake();
    tick();
    session.beginLongExchange();
    view.memo = "faults";
    port.failStore = true;
    log.clear();
    GetParam().end(*this);

    EXPECT_EQ(view.messages, GetParam().messages);
    EXPECT_EQ(langStore.keys.size(), langStore.failStore ? 0 : 1);
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_FALSE(port.isOpen);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_FALSE(view.panelsGrey);
    EXPECT_FALSE(view.switchOn);
    EXPECT_FALSE(view.fileMenu);
    EXPECT_EQ(view.memo, "faults");
    EXPECT_EQ(log.count("memo:restore"), 1);
    // The error comes after the sequence, not in its middle.
    EXPECT_LT(log.indexOf("memo:restore"), log.indexOf("message:Failed to store settings"));
}

INSTANTIATE_TEST_SUITE_P(
    Ends, StoreFailures,
    ::testing::Values(
        StoreFailure{"menu", [](SessionHarness &h) { h.session.rozlacz1Click(); },
                     {"Failed to store settings"}},
        StoreFailure{"answerTimeout", [](SessionHarness &h) { h.timeout(); },
                     {"Failed to store settings", "Brak Sterownika"}},
        StoreFailure{"bothStoresFailAlike",
                     [](SessionHarness &h) {
                         h.langStore.failStore = true;
                         h.session.rozlacz1Click();
                     },
                     {"Failed to store settings"}}),
    [](const auto &info) { return std::string(info.param.name); });

// --- the connection switch --------------------------------------------------------------

TEST_F(SessionHarness, SwitchConnectsAndDisconnectsOnlyWithAPortName)
{
    struct Case
    {
        QString portName;
        bool on;
        int startups;
        bool disconnected;
    };
    const Case cases[] = {
        {"COM3", true, 1, false},
        {"COM3", false, 0, true},
        {"", true, 0, false},
        {"", false, 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.portName.toStdString() + (c.on ? " on" : " off"));
        Log l;
        FakePort p{l};
        FakeWriter w{l};
        FakeTimer t1{"poll", l}, t2{"answer", l};
        FakeView v{l};
        FakeLanguageStore st{l};
        Session s{p, w, t1, t2, v, st};
        p.name = c.portName;
        s.Polacz_switchStatusChanged(c.on);
        EXPECT_EQ(w.count(CommandFrame::startupFrame()), c.startups);
        EXPECT_EQ(v.switchOnText, c.startups ? c.portName : QString());
        EXPECT_EQ(s.linkState(), c.startups ? Session::WaitStart : QString());
        EXPECT_EQ(p.storedPaths.size(), c.disconnected ? 1 : 0);
    }
}

TEST_F(SessionHarness, SwitchConnectRestoresTheAttemptBudget)
{
    connect();
    timeout();
    timeout();
    ASSERT_EQ(session.connectRetries(), 3);
    session.Polacz_switchStatusChanged(true);
    EXPECT_EQ(session.connectRetries(), 5);
}

// --- failures of the port and queueing without a link --------------------------------------

TEST_F(SessionHarness, PortThatWillNotOpenIsReportedAndChangesNothing)
{
    port.failOpen = true;
    connect();
    EXPECT_EQ(view.messages, QStringList{"Unable to open com port (win error code: 2)"});
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_TRUE(writer.writes.isEmpty());
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_TRUE(port.storedPaths.isEmpty());
}

struct NoLink
{
    const char *name;
    std::function<void(SessionHarness &)> reach;
};

struct QueueWithoutLink : SessionHarness, ::testing::WithParamInterface<NoLink>
{
};

TEST_P(QueueWithoutLink, CommandIsDroppedSilentlyAndNeverSentLater)
{
    GetParam().reach(*this);
    const int writes = int(writer.writes.size());
    const bool pollWasRunning = poll.active;
    session.beginLongExchange(); // as a caller that greys the window first
    session.setCommandRetries(5);
    session.QueueCommand(body("0919"), body("2402"));
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_TRUE(session.queue().next().isEmpty());
    EXPECT_EQ(session.commandRetries(), 0);
    EXPECT_EQ(poll.active, pollWasRunning);
    EXPECT_EQ(writer.writes.size(), writes);
    EXPECT_TRUE(view.messages.isEmpty());
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(poll.intervalMs, 240);

    port.isOpen = false;
    connectAndHandshake();
    pollCycle();
    tick();
    EXPECT_EQ(writer.count(body("aa0919cc")), 0);
    EXPECT_EQ(writer.count(CommandFrame::frame(body("2402"))), 0);
}

INSTANTIATE_TEST_SUITE_P(
    States, QueueWithoutLink,
    ::testing::Values(NoLink{"neverConnected", [](SessionHarness &) {}},
                      NoLink{"afterDisconnect",
                             [](SessionHarness &h) {
                                 h.connectAndHandshake();
                                 h.session.rozlacz1Click();
                             }},
                      NoLink{"portClosedUnderneath",
                             [](SessionHarness &h) {
                                 h.connectAndHandshake();
                                 h.port.isOpen = false;
                             }}),
    [](const auto &info) { return std::string(info.param.name); });

struct PortLoss
{
    const char *name;
    std::function<void(SessionHarness &)> fail;
    QString message;
};

struct PortLosses : SessionHarness, ::testing::WithParamInterface<PortLoss>
{
};

TEST_P(PortLosses, EndTheLinkAndTellTheUserOnce)
{
    connectAndHandshake();
    pollCycle();
    view.memo = "listed";
    GetParam().fail(*this);

    EXPECT_EQ(view.messages, QStringList{GetParam().message});
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_EQ(port.storedPaths.size(), 1);
    EXPECT_EQ(view.memo, "listed");
    EXPECT_TRUE(view.windowEnabled);

    // Whatever the broken port reports afterwards is not news.
    session.portFailed("The device went away");
    session.ComPort1RxChar(3);
    EXPECT_EQ(view.messages.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PortLosses,
    ::testing::Values(
        PortLoss{"writeAtPollTick",
                 [](SessionHarness &h) {
                     h.writer.failWrite = true;
                     h.session.Timer_CountTimer();
                 },
                 "WriteFile function failed (win error code: 5)"},
        PortLoss{"writeOfQueuedCommand",
                 [](SessionHarness &h) {
                     h.session.setCommandRetries(5);
                     h.session.QueueCommand(body("0919"));
                     h.writer.failWrite = true;
                     h.session.Timer_CountTimer();
                 },
                 "WriteFile function failed (win error code: 5)"},
        PortLoss{"read",
                 [](SessionHarness &h) {
                     h.session.Timer_CountTimer();
                     h.port.failRead = true;
                     h.session.ComPort1RxChar(4);
                 },
                 "ReadFile function failed (win error code: 995)"},
        PortLoss{"deviceGoneAndCloseFails",
                 [](SessionHarness &h) {
                     h.port.failClose = true;
                     h.session.portFailed("Resource error");
                     h.port.failClose = false;
                     h.port.isOpen = false;
                 },
                 "Resource error"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionHarness, WriteFailingDuringTheHandshakeEndsTheAttempt)
{
    writer.failWrite = true;
    connect();
    EXPECT_EQ(view.messages, QStringList{"WriteFile function failed (win error code: 5)"});
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_FALSE(answerTimer.active);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_FALSE(port.isOpen);
}

TEST_F(SessionHarness, PortFailureWithoutALinkIsIgnored)
{
    session.portFailed("Resource error");
    EXPECT_TRUE(view.messages.isEmpty());
    EXPECT_TRUE(port.storedPaths.isEmpty());
}

TEST_F(SessionHarness, EventsDuringAModalBoxLeaveTheLinkConsistent)
{
    // "Init Error" is modal: while it is open the rest of the answer
    // arrives, and the ticks go on polling.
    connectAndHandshake();
    tick();
    QByteArray bad = liveAnswer();
    bad[0] = char(0x00);
    bool nested = false;
    view.duringMessage = [&] {
        if (nested)
            return;
        nested = true;
        receive(liveAnswer().mid(20)); // the rest of the garbled answer
        pollCycle(liveAnswer(0x55, 0x44));
    };
    receive(bad.left(20));
    EXPECT_EQ(view.messages, QStringList{"Init Error"});
    EXPECT_EQ(view.dismissals, 0) << "the link goes on: the box stays for the fitter";
    // The resumed handler left the state as the nested events made it.
    EXPECT_EQ(session.linkState(), Session::Count);
    EXPECT_EQ(session.rxBuffer(), liveAnswer(0x55, 0x44));
    EXPECT_TRUE(poll.active);
    EXPECT_FALSE(answerTimer.active);
}

TEST_F(SessionHarness, TimeoutWhoseDisconnectFindsThePortGoneTellsOnlyThePortsFailure)
{
    connectAndHandshake();
    tick();
    port.failClose = true;
    timeout();
    EXPECT_EQ(view.messages, QStringList{"PurgeComm function failed (win error code: 22)"});
    EXPECT_TRUE(session.linkState().isEmpty());
    EXPECT_FALSE(poll.active);
    EXPECT_FALSE(answerTimer.active);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(port.storedPaths.size(), 1); // the rest of the sequence ran
}

TEST_F(SessionHarness, MessageThatComesUpWhileTheResetQuestionIsOpenWaitsForIt)
{
    connectAndHandshake();
    tick();
    view.answerYes = false;
    view.duringMessage = [&] {
        if (answerTimer.active) // only while the question is open
            timeout();
    };
    session.Reset1Click();
    EXPECT_EQ(view.maxDepth, 1);
    EXPECT_EQ(view.messages, QStringList{"Brak Sterownika"});
    EXPECT_TRUE(session.linkState().isEmpty());
}

} // namespace
