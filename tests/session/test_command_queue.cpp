// The queue's own rules: framing, budget, acknowledgement, slot moves and the
// save marker, without any session around it.
#include "link/CommandBodies.h"
#include "link/CommandQueue.h"

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

struct FramingCase
{
    const char *body;
    const char *frame;
};

TEST(CommandQueueFraming, FramesBodyWithStartAndSum)
{
    const FramingCase cases[] = {
        {"0919", "aa0919cc"},
        {"26", "aa26d0"},
        {"1000", "aa1000ba"},
        {"6600", "aa660010"},
        {"2a01", "aa2a01d5"},
    };
    for (const FramingCase &c : cases) {
        CommandQueue q;
        q.setCommandRetries(5);
        ASSERT_EQ(q.frame(hex(c.body), {}, {}), CommandQueue::FrameResult::Framed) << c.body;
        EXPECT_EQ(q.current(), hex(c.frame)) << c.body;
        EXPECT_EQ(q.currentBody(), hex(c.body)) << c.body;
        EXPECT_EQ(q.lastCommandCode(), uint8_t(hex(c.body)[0])) << c.body;
        EXPECT_EQ(q.commandRetries(), 4) << c.body;
    }
}

TEST(CommandQueueFraming, BudgetReachingZeroStoresNothing)
{
    CommandQueue q;
    q.setCommandRetries(2);
    ASSERT_EQ(q.frame(hex("0919"), hex("2401"), {}), CommandQueue::FrameResult::Framed);
    EXPECT_EQ(q.commandRetries(), 1);
    EXPECT_EQ(q.frame(hex("26"), hex("3002"), CommandBodies::saveMarker()),
              CommandQueue::FrameResult::BudgetExhausted);
    EXPECT_EQ(q.commandRetries(), 0);
    EXPECT_EQ(q.current(), hex("aa0919cc"));
    EXPECT_EQ(q.next(), hex("2401"));
    EXPECT_TRUE(q.afterNext().isEmpty());
    EXPECT_EQ(q.lastCommandCode(), 0x09);
}

TEST(CommandQueueFraming, NoBudgetMeansOneAttemptNeverEndlessResends)
{
    for (int budget : {0, -3}) {
        SCOPED_TRACE(budget);
        CommandQueue q;
        q.setCommandRetries(budget);
        ASSERT_EQ(q.frame(hex("0919"), {}, {}), CommandQueue::FrameResult::Framed);
        EXPECT_EQ(q.current(), hex("aa0919cc"));
        // The resend a wrong answer asks for ends the link instead.
        EXPECT_EQ(q.frame(q.currentBody(), {}, {}), CommandQueue::FrameResult::BudgetExhausted);
        EXPECT_EQ(q.commandRetries(), 0);
    }
}

TEST(CommandQueueFraming, EmptyFollowersLeaveWaitingBodiesInPlace)
{
    CommandQueue q;
    q.setCommandRetries(5);
    q.frame(hex("0e01"), hex("2402"), hex("3003"));
    q.setCommandRetries(5);
    q.frame(hex("2a01"), {}, {});
    EXPECT_EQ(q.current(), hex("aa2a01d5"));
    EXPECT_EQ(q.next(), hex("2402"));
    EXPECT_EQ(q.afterNext(), hex("3003"));
}

TEST(CommandQueueFraming, MarkerAndEmptyBodyAreNeverFramed)
{
    for (const QByteArray &first : {CommandBodies::saveMarker(), QByteArray()}) {
        CommandQueue q;
        q.setCommandRetries(5);
        EXPECT_EQ(q.frame(first, hex("2401"), {}), CommandQueue::FrameResult::Refused);
        EXPECT_TRUE(q.current().isEmpty());
        EXPECT_TRUE(q.next().isEmpty());
        EXPECT_EQ(q.commandRetries(), 5);
        EXPECT_EQ(q.lastCommandCode(), -1);
    }
}

TEST(CommandQueueAcknowledge, OnlyTheEchoedCodeClearsTheSlot)
{
    struct Case
    {
        const char *answer;
        bool acknowledged;
    };
    const Case cases[] = {
        {"aa000626005a", true},   // code 0x26 echoed at offset 3
        {"aa000655005a", false},  // a live answer's code
        {"aa0006d0005a", false},  // the checksum is not the code
        {"aa00", false},          // too short to carry a code
        {"aa000426", false},      // offset 3 is this answer's check byte
        {"aa00052600", true},     // the shortest answer with a code
    };
    for (const Case &c : cases) {
        CommandQueue q;
        q.setCommandRetries(5);
        q.frame(hex("26"), {}, {});
        EXPECT_EQ(q.acknowledge(hex(c.answer)), c.acknowledged) << c.answer;
        EXPECT_EQ(q.current().isEmpty(), c.acknowledged) << c.answer;
        EXPECT_EQ(q.commandRetries(), c.acknowledged ? 0 : 4) << c.answer;
    }
}

TEST(CommandQueueAcknowledge, NothingOutstandingNeedsNoEcho)
{
    CommandQueue q;
    EXPECT_TRUE(q.acknowledge(hex("aa000699005a")));
    EXPECT_TRUE(q.current().isEmpty());
}

TEST(CommandQueueSlots, TakeNextShiftsAndSaveMarkerOnlyAloneAtTheBack)
{
    CommandQueue q;
    q.setCommandRetries(5);
    q.frame(hex("0e01"), hex("2402"), CommandBodies::saveMarker());
    EXPECT_FALSE(q.takeSaveMarker()); // the current and next slots are busy
    q.acknowledge(hex("aa00060e005a"));
    EXPECT_FALSE(q.takeSaveMarker()); // the next slot still waits
    EXPECT_EQ(q.takeNext(), hex("2402"));
    EXPECT_EQ(q.next(), CommandBodies::saveMarker());
    EXPECT_TRUE(q.afterNext().isEmpty());
    EXPECT_FALSE(q.takeSaveMarker()); // in the next slot it is not recognised

    CommandQueue save;
    save.setCommandRetries(5);
    save.frame(hex("6600"), {}, CommandBodies::saveMarker());
    save.acknowledge(hex("aa000666005a"));
    EXPECT_TRUE(save.takeSaveMarker());
    EXPECT_TRUE(save.afterNext().isEmpty());
    EXPECT_FALSE(save.takeSaveMarker());
}

TEST(CommandQueueSlots, ClearRestoresStartState)
{
    CommandQueue q;
    q.setCommandRetries(5);
    q.frame(hex("0e01"), hex("2402"), hex("3003"));
    q.clear();
    EXPECT_TRUE(q.current().isEmpty());
    EXPECT_TRUE(q.next().isEmpty());
    EXPECT_TRUE(q.afterNext().isEmpty());
    EXPECT_EQ(q.commandRetries(), 0);
    EXPECT_EQ(q.lastCommandCode(), -1);
}

} // namespace
