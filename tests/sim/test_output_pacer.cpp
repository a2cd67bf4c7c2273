#include "SimDrive.h"
#include "sim/OutputPacer.h"

#include <gtest/gtest.h>

#include <QList>

#include <ostream>
#include <string>

// How the paced simulator hands an answer to the line: in adapter packets, in
// order, never ahead of the 7200-baud line and never behind it on average.

namespace {

// Drives the pacer as the simulator's loop does: writes what it offers, then
// sleeps until it says; `lateUs` is added to every sleep (a busy machine).
SimTest::Written deliver(OutputPacer &p, qint64 start, qint64 lateUs = 0)
{
    SimTest::Written d;
    qint64 t = start;
    for (int guard = 0; guard < 100000; ++guard) {
        const QByteArray out = p.pending(t);
        if (!out.isEmpty()) {
            d.writes << out;
            d.times << t;
            p.wrote(int(out.size()), t);
            continue;
        }
        const auto next = p.nextUs(t);
        if (!next)
            break;
        t = std::max(t + 1, *next) + lateUs;
    }
    return d;
}

QByteArray counting(int size, int from = 0)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((from + i) * 7 + 1);
    return b;
}

struct Answer
{
    const char *name;
    QList<int> pieceSizes;
    qint64 pauseUs; // after every piece but the last
    qint64 lateUs;  // how late the loop wakes each time
};

void PrintTo(const Answer &a, std::ostream *os) { *os << a.name; }

Transmission transmission(const Answer &a)
{
    Transmission t;
    int from = 0;
    for (int i = 0; i < a.pieceSizes.size(); ++i) {
        const bool last = i + 1 == a.pieceSizes.size();
        t.pieces.append({counting(a.pieceSizes[i], from), last ? 0 : a.pauseUs});
        from += a.pieceSizes[i];
    }
    return t;
}

class PacedDelivery : public testing::TestWithParam<Answer>
{
};

} // namespace

TEST_P(PacedDelivery, PacketsKeepTheOrderAndTheLineRate)
{
    const Answer &a = GetParam();
    const Transmission t = transmission(a);
    OutputPacer p;
    p.setPaced(true);
    const qint64 start = 1000000;
    p.enqueue(t, start);
    const SimTest::Written d = deliver(p, start, a.lateUs);

    EXPECT_EQ(d.all(), t.line()) << "every byte once, in order";
    EXPECT_FALSE(p.busy());

    // No byte is handed over before the line has carried it: byte k of the
    // answer needs k byte times (plus the pauses before its piece).
    qint64 carriedUs = start;
    int piece = 0, inPiece = 0;
    for (int w = 0; w < d.writes.size(); ++w) {
        ASSERT_LE(d.writes[w].size(), OutputPacer::PacketBytes) << "write " << w;
        for (int k = 0; k < d.writes[w].size(); ++k) {
            ASSERT_GE(d.times[w], carriedUs) << "write " << w << " byte " << k;
            carriedUs += OutputPacer::ByteUs;
            if (++inPiece == t.pieces[piece].bytes.size()) {
                carriedUs += t.pieces[piece].pauseAfterUs;
                inPiece = 0;
                ++piece;
            }
        }
    }

    // On average as fast as the line: the last byte leaves when the line has
    // carried it (a late loop adds at most a packet's worth per piece).
    const qint64 ideal = carriedUs - OutputPacer::ByteUs;
    const qint64 slack = a.lateUs == 0 ? 0 : a.pieceSizes.size() * (OutputPacer::PacketUs + 2 * a.lateUs);
    EXPECT_LE(d.times.last() - ideal, slack + 1000);

    // Few writes: about one per latency period, and never more than one in a
    // period but for a piece's last bytes.
    int periods = 0;
    for (const Transmission::Piece &pc : t.pieces)
        periods += int(pc.bytes.size() * OutputPacer::ByteUs / OutputPacer::PacketUs) + 1;
    EXPECT_LE(d.writes.size(), periods);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PacedDelivery,
    testing::Values(Answer{"poll_echo_5_bytes", {5}, 0, 0}, Answer{"live_frame_57_bytes", {57}, 0, 0},
                    Answer{"settings_block_602_bytes", {602}, 0, 0},
                    Answer{"three_chunks_20ms_apart", {100, 100, 57}, 20000, 0},
                    Answer{"settings_block_loop_3ms_late", {602}, 0, 3000},
                    Answer{"live_frame_loop_40ms_late", {57}, 0, 40000}),
    [](const testing::TestParamInfo<Answer> &info) { return std::string(info.param.name); });

TEST(PacedDelivery, HoldsBytesUntilTheAdapterSendsItsPacket)
{
    OutputPacer p;
    p.setPaced(true);
    Transmission t;
    t.pieces.append({counting(57), 0});
    const qint64 start = 0;
    p.enqueue(t, start);
    EXPECT_TRUE(p.pending(start + 5 * OutputPacer::ByteUs).isEmpty()) << "six bytes in, the packet waits";
    EXPECT_EQ(p.nextUs(start + 1), start + OutputPacer::PacketUs);
    const QByteArray first = p.pending(start + OutputPacer::PacketUs);
    EXPECT_EQ(first, counting(57).left(int(1 + OutputPacer::PacketUs / OutputPacer::ByteUs)));
}

TEST(PacedDelivery, NeverBurstsMoreThanAPacketAfterALateWake)
{
    OutputPacer p;
    p.setPaced(true);
    Transmission t;
    t.pieces.append({QByteArray(200, 'x'), 0});
    p.enqueue(t, 0);
    qint64 now = 0;
    now += OutputPacer::PacketUs;
    p.wrote(int(p.pending(now).size()), now);
    now += 1000000; // the loop slept for a second
    const qsizetype burst = p.pending(now).size();
    EXPECT_LE(burst, OutputPacer::PacketBytes);
    p.wrote(int(burst), now);
    // What follows goes at the line's pace again, not as one more burst.
    EXPECT_TRUE(p.pending(now).isEmpty());
    EXPECT_GT(*p.nextUs(now), now);
    // A slow reader that takes one byte at a time holds nothing else up.
    now += 100000;
    p.wrote(1, now);
    EXPECT_TRUE(p.busy());
}

TEST(PacedDelivery, UnpacedAnswersStillGoOutWhole)
{
    OutputPacer p;
    Transmission t;
    t.pieces.append({counting(602), 0});
    p.enqueue(t, 0);
    const SimTest::Written d = deliver(p, 0);
    ASSERT_EQ(d.writes.size(), 1);
    EXPECT_EQ(d.writes.first(), counting(602));
}
