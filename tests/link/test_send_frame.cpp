#include "link/CommandBodies.h"
#include "link/CommandFrame.h"
#include "link/FrameWriter.h"
#include "link/SendFrame.h"
#include "link/WireCodec.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Records what SendFrame does, in order: "W<n>" for a write of n bytes,
// "P<ms>" for a pause.
class RecordingWriter : public FrameWriter
{
public:
    void write(const QByteArray &bytes) override
    {
        steps << QStringLiteral("W%1").arg(bytes.size());
        writes << bytes;
    }
    void pause(int ms) override { steps << QStringLiteral("P%1").arg(ms); }

    QByteArray allWritten() const { return writes.join(); }

    QStringList steps;
    QList<QByteArray> writes;
};

// A valid frame of the given total length whose bytes vary, so a piece that
// is dropped, repeated or reordered shows up in the byte comparison.
QByteArray frameOfLength(int length)
{
    QByteArray body;
    for (int i = 0; i < length - 2; ++i)
        body.append(char(uint8_t(0x11 * i + 3)));
    return CommandFrame::frame(body);
}

} // namespace

TEST(SendFrame, PiecesAndPausesByLength)
{
    struct Case { int frameLength; const char *steps; };
    const Case cases[] = {
        {4, "W5"},                                       // poll-sized
        {79, "W80"},                                     // lead + 79 fits exactly
        {80, "W80 P1 W1"},                               // one byte over
        {159, "W80 P1 W80 P1"},                          // two full pieces, no empty write
        {160, "W80 P1 W80 P1 W1"},
        {249, "W80 P1 W80 P1 W80 P1 W10"},               // correction map / zero map
        {543, "W80 P1 W80 P1 W80 P1 W80 P1 W80 P1 W80 P1 W64"}, // full write-all
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.frameLength);
        const QByteArray frame = frameOfLength(c.frameLength);
        ASSERT_EQ(frame.size(), c.frameLength);
        RecordingWriter w;
        SendFrame(w, frame);
        EXPECT_EQ(w.steps.join(' ').toStdString(), c.steps);
        // The pieces put together are exactly the lead and the coded frame.
        const QByteArray line = w.allWritten();
        ASSERT_EQ(line.size(), c.frameLength + 1);
        EXPECT_EQ(uint8_t(line[0]), 0xCC);
        EXPECT_EQ(WireCodec::decodeCommand(line.mid(1)), frame);
        EXPECT_EQ(line, lineBytesOf(frame));
    }
}

TEST(SendFrame, LeadIsRawAndOnlyInFrontOfTheFirstPiece)
{
    // Known answers of the send coding: 0x00 -> 0x4C, 0x41 -> 0xBB; the lead
    // is not coded (coded it would be something else).
    ASSERT_NE(WireCodec::encodeSend(0xCC), 0xCC);
    RecordingWriter small;
    SendFrame(small, QByteArray::fromHex("0041"));
    EXPECT_EQ(small.allWritten().toHex(), QByteArray("cc4cbb"));

    // A long frame: later pieces start with coded frame bytes, not a lead.
    RecordingWriter big;
    const QByteArray frame = frameOfLength(249);
    SendFrame(big, frame);
    ASSERT_EQ(big.writes.size(), 4);
    EXPECT_EQ(uint8_t(big.writes[0][0]), 0xCC);
    for (int piece = 1; piece < big.writes.size(); ++piece) {
        SCOPED_TRACE(piece);
        const qsizetype frameOffset = piece * 80 - 1; // the lead shifts every piece by one
        EXPECT_EQ(uint8_t(big.writes[piece][0]), WireCodec::encodeSend(uint8_t(frame[frameOffset])));
    }
}

TEST(SendFrame, CatalogueFramesHaveTheExpectedLengths)
{
    // The long frames of the catalogue: map write, zero map, full write-all.
    const std::vector<int> map(CommandBodies::MapPoints, 100);
    struct Case { const char *what; QByteArray body; int frameLength; int writes; };
    const Case cases[] = {
        {"map write", CommandBodies::correctionMapWrite(map), 249, 4},
        {"zero map", CommandBodies::zeroMap(), 249, 4},
        {"write-all", CommandBodies::settingsWrite(QByteArray(540, 'x')), 543, 7},
        {"poll", CommandBodies::poll(), 4, 1},
        {"level thresholds", CommandBodies::levelThresholds({0.7, 1.5, 2.2, 2.8}, CommandBodies::LevelSensor::Ohm0To90).first, 8, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray frame = CommandFrame::frame(c.body);
        EXPECT_EQ(frame.size(), c.frameLength);
        RecordingWriter w;
        SendFrame(w, frame);
        EXPECT_EQ(w.writes.size(), c.writes);
    }
}
