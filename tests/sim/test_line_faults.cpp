#include "SimDrive.h"
#include "sim/OutputPacer.h"
#include "sim/SimConsole.h"

#include <gtest/gtest.h>

using SimTest::ask;
using SimTest::drain;
using SimTest::hex;
using SimTest::lineFor;

namespace {

struct Rig
{
    explicit Rig(const SimOptions &o = {}) : sim(o), console(sim) {}
    void say(const QString &line) { ASSERT_FALSE(console.execute(line).startsWith(QLatin1String("error"))) << qPrintable(line); }
    SimTest::Written send(const QByteArray &body)
    {
        sim.lineInput(lineFor(body), t);
        t += 1000;
        sim.tick(t);
        return drain(sim, t);
    }
    Simulator sim;
    SimConsole console;
    qint64 t = 5000000;
};

} // namespace

TEST(LineFaults, SilentControllerStillActsOnCommands)
{
    Rig r;
    r.say(QStringLiteral("line silent"));
    EXPECT_TRUE(r.send(hex("6601")).writes.isEmpty());
    EXPECT_TRUE(r.send(hex("0919")).writes.isEmpty());
    EXPECT_EQ(r.sim.block().at(23), 0x19);
    r.say(QStringLiteral("line silent off"));
    EXPECT_EQ(SimTest::decoded(r.send(hex("5501")).all()).size(), 57);
}

TEST(LineFaults, WrongFirmwareOnlyInSettingsAnswers)
{
    Rig r;
    r.say(QStringLiteral("line firmware 3.7.8"));
    for (const QByteArray &body : {hex("6601"), hex("6600"), hex("26")}) {
        const QByteArray a = SimTest::decoded(r.send(body).all());
        ASSERT_EQ(a.size(), 602);
        EXPECT_EQ(a.mid(4, 3), hex("030708")) << body.toHex().constData();
        EXPECT_EQ(uint8_t(a.back()), CommandFrame::checksum(a.left(601))) << "the last byte follows the change";
    }
    EXPECT_EQ(r.sim.block().at(6), 7) << "the block itself keeps its version";
    r.say(QStringLiteral("line firmware off"));
    EXPECT_EQ(SimTest::decoded(r.send(hex("6601")).all()).mid(4, 3), hex("030707"));
}

TEST(LineFaults, WrongEchoOnlyOnQueuedCommands)
{
    Rig r;
    r.say(QStringLiteral("line wrong-echo on"));
    struct Case
    {
        QByteArray body;
        int size;
        bool wrong;
        uint8_t code;
    };
    const Case cases[] = {
        {hex("6601"), 602, false, 0x0C}, {hex("5501"), 57, false, 0x55}, {hex("0919"), 57, true, 0x09},
        {hex("6600"), 602, true, 0x66},  {hex("26"), 602, true, 0x26},
    };
    for (const Case &c : cases) {
        const QByteArray a = SimTest::decoded(r.send(c.body).all());
        ASSERT_EQ(a.size(), c.size) << c.body.toHex().constData();
        if (c.wrong)
            EXPECT_NE(uint8_t(a[3]), c.code) << c.body.toHex().constData();
        else
            EXPECT_EQ(uint8_t(a[3]), c.code) << c.body.toHex().constData();
    }
}

TEST(LineFaults, DropsEveryNthAnswer)
{
    Rig r;
    r.say(QStringLiteral("line drop 3"));
    QList<bool> answered;
    for (int i = 0; i < 7; ++i)
        answered << !r.send(hex("5501")).writes.isEmpty();
    EXPECT_EQ(answered, (QList<bool>{true, true, false, true, true, false, true}));
}

TEST(LineFaults, ChunksComeInPiecesWithPauses)
{
    Rig r;
    r.say(QStringLiteral("line chunks 10 5"));
    const SimTest::Written w = r.send(hex("5501"));
    ASSERT_EQ(w.writes.size(), 6); // 57 bytes: 5 x 10 + 7
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(w.writes[i].size(), 10);
    EXPECT_EQ(w.writes[5].size(), 7);
    for (int i = 1; i < w.times.size(); ++i)
        EXPECT_GE(w.times[i] - w.times[i - 1], 5000) << i;
    EXPECT_EQ(SimTest::decoded(w.all()).size(), 57);
}

TEST(LineFaults, NoiseBeforeTheAnswer)
{
    Rig r;
    r.say(QStringLiteral("line noise 4"));
    const QByteArray a = SimTest::decoded(r.send(hex("5501")).all());
    ASSERT_EQ(a.size(), 61);
    EXPECT_EQ(uint8_t(a[4]), 0xAA);
    EXPECT_EQ(CommandFrame::answerLength(a.mid(4)), 57);
    EXPECT_EQ(uint8_t(a[7]), 0x55);
}

TEST(LineFaults, ClearRemovesEveryFault)
{
    Rig r;
    for (const char *f : {"line silent", "line wrong-echo", "line drop 1", "line chunks 3 1", "line noise 9",
                          "line firmware 1.2.3"})
        r.say(QString::fromLatin1(f));
    r.say(QStringLiteral("line clear"));
    EXPECT_EQ(r.sim.faults().describe(), QStringLiteral("none"));
    const QByteArray a = SimTest::decoded(r.send(hex("0919")).all());
    ASSERT_EQ(a.size(), 57);
    EXPECT_EQ(uint8_t(a[3]), 0x09);
}

TEST(LineFaults, UnplugAndPlugAreHandedToTheLoop)
{
    Rig r;
    r.say(QStringLiteral("line unplug"));
    EXPECT_EQ(r.sim.takeLineRequest(), Simulator::LineRequest::Unplug);
    EXPECT_EQ(r.sim.takeLineRequest(), Simulator::LineRequest::None);
    r.say(QStringLiteral("line plug"));
    EXPECT_EQ(r.sim.takeLineRequest(), Simulator::LineRequest::Plug);
    // A lost line forgets what was on its way.
    r.sim.lineInput(lineFor(hex("6601")), r.t);
    r.sim.lineLost();
    EXPECT_TRUE(drain(r.sim, r.t).writes.isEmpty());
}

// How answers are cut into writes without any fault.
TEST(Delivery, LongAnswersArriveInSeveralWritesUnlessOnePieceIsAsked)
{
    Rig pieces;
    const SimTest::Written w = pieces.send(hex("6601"));
    EXPECT_GE(w.writes.size(), 2) << "a long answer comes over several reads, as on a real line";
    EXPECT_EQ(SimTest::decoded(w.all()).size(), 602);

    SimOptions o;
    o.onePiece = true;
    Rig whole(o);
    EXPECT_EQ(whole.send(hex("6601")).writes.size(), 1);
    EXPECT_EQ(whole.send(hex("5501")).writes.size(), 1);
}

TEST(Delivery, PacedAnswersTakeTheTimeOf7200Baud)
{
    SimOptions o;
    o.pace = true;
    Rig r(o);
    const SimTest::Written w = r.send(hex("6601"));
    ASSERT_EQ(SimTest::decoded(w.all()).size(), 602);
    const qint64 span = w.times.last() - w.times.first();
    EXPECT_GE(span, 601 * OutputPacer::ByteUs - 20000) << "about 0.83 s for 602 bytes";
    EXPECT_LE(span, 602 * OutputPacer::ByteUs + 50000);
}
