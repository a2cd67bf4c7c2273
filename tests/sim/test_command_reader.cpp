#include "SimTestSupport.h"
#include "sim/CommandCatalogue.h"
#include "sim/CommandReader.h"

#include <gtest/gtest.h>

using SimTest::hex;
using SimTest::lineFor;
using Status = ReceivedCommand::Status;

namespace {

// One body of every fixed-length command the program sends.
const QList<QByteArray> &catalogueBodies()
{
    static const QList<QByteArray> bodies = [] {
        QList<QByteArray> b = {
            hex("6601"), hex("5501"), hex("6600"), hex("26"), hex("1000"), hex("1b05"), hex("0a03"),
            hex("1701"), hex("2101"), hex("2d01"), hex("2e00"), hex("2b89"), hex("1e3c"), hex("1f02"),
            hex("1141"), hex("0f23"), hex("0919"), hex("2218"), hex("2314"), hex("0e03"), hex("2409"),
            hex("302d"), hex("03030f"), hex("25"), hex("0d244c708f00"), hex("3100"), hex("3101"),
            hex("19230680"), hex("0500"), hex("2a02"),
        };
        b << hex("02") + hex("641e785001");
        b << hex("20") + QByteArray(10, '\0') + hex("0a23ff") + QByteArray(7, '\0');
        b << hex("0b") + QByteArray(246, char(100));
        b << hex("06") + QByteArray(246, '\0');
        return b;
    }();
    return bodies;
}

QList<ReceivedCommand> feedAll(CommandReader &r, const QByteArray &line, int step, qint64 &t)
{
    for (qsizetype i = 0; i < line.size(); i += step) {
        r.feed(line.mid(i, step), t);
        t += 1000;
    }
    return r.take();
}

} // namespace

TEST(CommandCatalogue, EveryCommandTheProgramSendsHasALength)
{
    for (const QByteArray &b : catalogueBodies()) {
        const uint8_t code = uint8_t(b[0]);
        ASSERT_EQ(CommandCatalogue::lengthKind(code), CommandCatalogue::Length::Fixed) << b.toHex().constData();
        EXPECT_EQ(CommandCatalogue::bodyLength(code), b.size()) << b.toHex().constData();
    }
    EXPECT_EQ(CommandCatalogue::lengthKind(0x1A), CommandCatalogue::Length::UntilQuiet);
    EXPECT_EQ(CommandCatalogue::lengthKind(0x77), CommandCatalogue::Length::Unknown);
}

// Every command, whole, byte by byte and in odd pieces, with nothing in
// between: each comes out once, intact, in order.
TEST(CommandReader, CutsBackToBackCommandsByTheirLengths)
{
    const QList<QByteArray> &bodies = catalogueBodies();
    QByteArray stream;
    for (const QByteArray &b : bodies)
        stream += lineFor(b);

    for (int step : {1, 7, 80, int(stream.size())}) {
        CommandReader r;
        qint64 t = 0;
        const QList<ReceivedCommand> got = feedAll(r, stream, step, t);
        ASSERT_EQ(got.size(), bodies.size()) << "step " << step;
        for (int i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].status, Status::Ok) << i;
            EXPECT_EQ(got[i].body(), bodies[i]) << "step " << step << " #" << i;
        }
        EXPECT_EQ(r.noiseBytes(), 0);
    }
}

// A plain 0x04 codes to 0xCC: inside a frame it is data, not a new lead.
TEST(CommandReader, LeadValueInsideDataIsData)
{
    ASSERT_EQ(WireCodec::encodeSend(uint8_t(0x04)), CommandFrame::Lead);
    const QByteArray body = hex("0d04040404") + hex("00");
    ASSERT_TRUE(lineFor(body).mid(1).contains(char(CommandFrame::Lead)));
    CommandReader r;
    qint64 t = 0;
    const auto got = feedAll(r, lineFor(body) + lineFor(hex("5501")), 1, t);
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[0].body(), body);
    EXPECT_EQ(got[1].body(), hex("5501"));
}

TEST(CommandReader, ReportsWhatIsWrongWithAFrame)
{
    struct Case
    {
        const char *name;
        QByteArray line;
        qint64 pollAfterUs; // 0: no poll
        Status expected;
        QByteArray body;
    };
    QByteArray badSum = lineFor(hex("0919"));
    badSum[badSum.size() - 1] = char(uint8_t(badSum.back()) ^ 0x10);
    const QList<Case> cases = {
        {"checksum off by one bit", badSum, 0, Status::BadChecksum, hex("0919")},
        {"unknown code ends when the line is quiet", lineFor(hex("770102")), 200000, Status::UnknownCode, hex("770102")},
        {"stalled half-way", lineFor(hex("0b") + QByteArray(246, 'd')).left(100), 2000000, Status::Incomplete, {}},
    };
    for (const Case &c : cases) {
        CommandReader r;
        r.feed(c.line, 0);
        if (c.pollAfterUs) {
            EXPECT_TRUE(r.take().isEmpty()) << c.name << ": nothing before the line goes quiet";
            r.poll(c.pollAfterUs);
        }
        const auto got = r.take();
        ASSERT_EQ(got.size(), 1) << c.name;
        EXPECT_EQ(got[0].status, c.expected) << c.name;
        if (!c.body.isEmpty())
            EXPECT_EQ(got[0].body(), c.body) << c.name;
        EXPECT_FALSE(r.inFrame()) << c.name;
    }
}

TEST(CommandReader, WriteAllEndsWhenTheLineGoesQuiet)
{
    QByteArray settings(300, '\0');
    for (int i = 0; i < settings.size(); ++i)
        settings[i] = char(i * 7);
    const QByteArray body = hex("1a") + settings;
    CommandReader r(100000);
    // In 80-byte pieces 1 ms apart, as the program writes long frames.
    qint64 t = 0;
    const QByteArray line = lineFor(body);
    for (qsizetype i = 0; i < line.size(); i += 80, t += 1000)
        r.feed(line.mid(i, 80), t);
    r.poll(t + 50000);
    EXPECT_TRUE(r.take().isEmpty()) << "a short gap is not the end";
    ASSERT_TRUE(r.deadline().has_value());
    r.poll(*r.deadline());
    const auto got = r.take();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].status, Status::Ok);
    EXPECT_EQ(got[0].body(), body);

    // The largest write-all needs no pause to end.
    const QByteArray full = hex("1a") + QByteArray(540, char(0x04));
    r.feed(lineFor(full), t + 1000000);
    const auto whole = r.take();
    ASSERT_EQ(whole.size(), 1);
    EXPECT_EQ(whole[0].body(), full);
}

TEST(CommandReader, SkipsNoiseAndFalseLeads)
{
    // Stray bytes, a lead followed by garbage, a doubled lead, then a poll.
    const QByteArray line = hex("0102ff") + hex("cc00") + hex("cc") + lineFor(hex("5501"));
    CommandReader r;
    r.feed(line, 0);
    const auto got = r.take();
    ASSERT_EQ(got.size(), 1);
    EXPECT_EQ(got[0].body(), hex("5501"));
    EXPECT_EQ(got[0].line, lineFor(hex("5501")));
    EXPECT_EQ(r.noiseBytes(), 6);
}
