#include "link/CommandFrame.h"
#include "link/WireCodec.h"

#include <gtest/gtest.h>

TEST(WireCodec, KnownAnswersOfTheMaskFreeSteps)
{
    EXPECT_EQ(WireCodec::sendSteps(0x00), 0xDF);
    EXPECT_EQ(WireCodec::sendSteps(0x41), 0x28);
    EXPECT_EQ(WireCodec::receiveSteps(0x07), 0xC6);
    EXPECT_EQ(WireCodec::receiveSteps(0x99), 0x32);
}

TEST(WireCodec, AllValuesLoopBackWithBitZeroInverted)
{
    bool seenSend[256] = {};
    bool seenReceive[256] = {};
    for (int b = 0; b < 256; ++b) {
        const auto v = uint8_t(b);
        EXPECT_EQ(WireCodec::decodeReceive(WireCodec::encodeSend(v)), uint8_t(v ^ 0x01)) << b;
        EXPECT_EQ(WireCodec::decodeReceive(WireCodec::encodeReply(v)), v) << b;
        EXPECT_EQ(WireCodec::decodeCommand(WireCodec::encodeSend(v)), v) << b;
        seenSend[WireCodec::encodeSend(v)] = true;
        seenReceive[WireCodec::decodeReceive(v)] = true;
    }
    for (int b = 0; b < 256; ++b) {
        EXPECT_TRUE(seenSend[b]) << "send coding is not one-to-one at " << b;
        EXPECT_TRUE(seenReceive[b]) << "receive coding is not one-to-one at " << b;
    }
}

TEST(CommandFrame, FramesAndChecksums)
{
    struct Case { const char *body; const char *frame; };
    const Case cases[] = {
        {"6600", "aa660010"}, {"26", "aa26d0"}, {"1000", "aa1000ba"},
        {"6601", "aa660111"}, {"5501", "aa550100"}, {"0919", "aa0919cc"},
    };
    for (const auto &c : cases) {
        const QByteArray f = CommandFrame::frame(QByteArray::fromHex(c.body));
        EXPECT_EQ(f.toHex(), QByteArray(c.frame)) << c.body;
        EXPECT_TRUE(CommandFrame::isValidFrame(f));
        EXPECT_EQ(CommandFrame::body(f), QByteArray::fromHex(c.body));
    }
    EXPECT_EQ(CommandFrame::startupFrame().toHex(), QByteArray("aa660111"));
    EXPECT_EQ(CommandFrame::pollFrame().toHex(), QByteArray("aa550100"));
    EXPECT_FALSE(CommandFrame::isValidFrame(QByteArray::fromHex("aa660112")));
}
