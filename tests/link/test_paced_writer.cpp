// The line writer's pieces: a long frame leaves in its 80-byte pieces, in
// order, with the event loop running between them, and nothing written in
// the meantime overtakes a waiting piece.
#include "link/CommandFrame.h"
#include "link/ESerialPort.h"
#include "link/PacedWriter.h"
#include "link/SendFrame.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

QByteArray frameOfLength(int length)
{
    QByteArray body;
    for (int i = 0; i < length - 2; ++i)
        body.append(char(uint8_t(0x13 * i + 5)));
    return CommandFrame::frame(body);
}

struct Line
{
    QList<QByteArray> pieces;
    bool open = true;
    int failAt = -1; // the piece whose write fails
    QStringList failures;

    PacedWriter writer{[this](const QByteArray &bytes) {
                           if (int(pieces.size()) == failAt)
                               throw ESerialPort(QStringLiteral("WriteFile function failed"));
                           pieces << bytes;
                       },
                       [this] { return open; }};

    Line() { writer.setFailureHandler([this](const QString &m) { failures << m; }); }

    // Runs the event loop until nothing waits; ten times the longest frame's
    // gaps would still end far inside the limit.
    bool drain()
    {
        QDeadlineTimer limit(5000);
        while (writer.pendingPieces() > 0 && !limit.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return writer.pendingPieces() == 0;
    }
};

} // namespace

TEST(PacedWriter, ShortFrameGoesOutAtOnce)
{
    Line line;
    SendFrame(line.writer, CommandFrame::pollFrame());
    ASSERT_EQ(line.pieces.size(), 1);
    EXPECT_EQ(line.pieces[0], lineBytesOf(CommandFrame::pollFrame()));
    EXPECT_EQ(line.writer.pendingPieces(), 0);
}

TEST(PacedWriter, LongFrameLeavesInItsPiecesWithoutHoldingTheCaller)
{
    Line line;
    const QByteArray frame = frameOfLength(543);
    SendFrame(line.writer, frame);
    // Only the first piece is on the line when SendFrame returns; the rest
    // follow from the event loop.
    ASSERT_EQ(line.pieces.size(), 1);
    EXPECT_EQ(line.writer.pendingPieces(), 6);
    ASSERT_TRUE(line.drain());

    const QByteArray expected = lineBytesOf(frame);
    ASSERT_EQ(line.pieces.size(), 7);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(line.pieces[i], expected.mid(i * 80, 80)) << "piece " << i;
    EXPECT_EQ(line.pieces[6], expected.mid(480));
}

TEST(PacedWriter, NothingOvertakesAWaitingPiece)
{
    Line line;
    const QByteArray big = frameOfLength(249);
    SendFrame(line.writer, big);
    SendFrame(line.writer, CommandFrame::pollFrame());
    ASSERT_TRUE(line.drain());
    EXPECT_EQ(line.pieces.join(), lineBytesOf(big) + lineBytesOf(CommandFrame::pollFrame()));
    // Piece boundaries stay as SendFrame cut them: 80, 80, 80, 10, then 5.
    QList<int> sizes;
    for (const QByteArray &p : line.pieces)
        sizes << int(p.size());
    EXPECT_EQ(sizes, (QList<int>{80, 80, 80, 10, 5}));
}

TEST(PacedWriter, PiecesAreDroppedOnceTheLineIsClosed)
{
    Line line;
    SendFrame(line.writer, frameOfLength(249));
    line.open = false;
    ASSERT_TRUE(line.drain());
    EXPECT_EQ(line.pieces.size(), 1);
    EXPECT_TRUE(line.failures.isEmpty());
}

TEST(PacedWriter, ADeferredFailureIsReportedOnceAndTheRestDropped)
{
    Line line;
    line.failAt = 2;
    SendFrame(line.writer, frameOfLength(543));
    ASSERT_TRUE(line.drain());
    EXPECT_EQ(line.pieces.size(), 2);
    EXPECT_EQ(line.failures, QStringList{QStringLiteral("WriteFile function failed")});
}

TEST(PacedWriter, DiscardDropsWhatWaits)
{
    Line line;
    SendFrame(line.writer, frameOfLength(249));
    line.writer.discard();
    EXPECT_EQ(line.writer.pendingPieces(), 0);
    // The next frame is not held behind the dropped pieces.
    SendFrame(line.writer, CommandFrame::pollFrame());
    EXPECT_EQ(line.pieces.size(), 2);
}
