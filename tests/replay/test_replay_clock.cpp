// The replay clock against a clock moved by hand: entries come out in order
// when their time is reached at each speed, pause holds the position, a seek
// rebuilds the state from what lies before the new position, and the end
// stops the replay and says so.
#include "record/ReplayClock.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace {

class HandClock : public ReplayTimer
{
public:
    qint64 nowMs() const override { return now; }
    void wakeIn(int ms) override { wakeAt = now + ms; }
    void cancel() override { wakeAt.reset(); }

    qint64 now = 1000; // any start: only differences count
    std::optional<qint64> wakeAt;
};

RecordEntry entry(qint64 ms, RecordKind kind, const char *tag)
{
    return RecordEntry{ms, kind, QByteArray(tag)};
}

QVector<RecordEntry> sampleRecording()
{
    return {
        entry(0, RecordKind::Command, "c0"),   entry(0, RecordKind::Settings, "s0"),
        entry(240, RecordKind::Command, "c1"), entry(300, RecordKind::Answer, "a1"),
        entry(540, RecordKind::Answer, "a2"),  entry(780, RecordKind::Answer, "a3"),
        entry(800, RecordKind::Settings, "s1"), entry(1020, RecordKind::Answer, "a4"),
        entry(4000, RecordKind::Answer, "a5"),
    };
}

class ReplayClockTest : public ::testing::Test
{
protected:
    ReplayClockTest() : clock(sampleRecording(), timer)
    {
        clock.setSink([this](const RecordEntry &e) { played << QString::fromLatin1(e.bytes); });
        clock.setRebuild([this](const QVector<RecordEntry> &entries) {
            rebuilt.clear();
            for (const RecordEntry &e : entries)
                rebuilt << QString::fromLatin1(e.bytes);
        });
        clock.setEndedHook([this] { ++ended; });
    }

    // Lets wall time pass, firing every wake-up that falls due on the way.
    void runFor(qint64 ms)
    {
        const qint64 until = timer.now + ms;
        while (timer.wakeAt && *timer.wakeAt <= until) {
            timer.now = *timer.wakeAt;
            timer.wakeAt.reset();
            clock.wake();
        }
        timer.now = until;
    }

    HandClock timer;
    ReplayClock clock;
    QStringList played;
    QStringList rebuilt;
    int ended = 0;
};

TEST_F(ReplayClockTest, PlayHandsOnEntriesInFileOrderWhenTheirTimeComes)
{
    clock.play();
    EXPECT_EQ(played, (QStringList{"c0", "s0"})) << "time 0 is due at once";
    runFor(299);
    EXPECT_EQ(played.size(), 3) << "c1 at 240, a1 not before 300";
    runFor(1);
    EXPECT_EQ(played.constLast(), "a1");
    runFor(800);
    EXPECT_EQ(played, (QStringList{"c0", "s0", "c1", "a1", "a2", "a3", "s1", "a4"}));
    EXPECT_EQ(clock.position(), 1100);
    EXPECT_TRUE(clock.playing());
}

TEST_F(ReplayClockTest, AGapInTheRecordingStillWakesToMoveThePosition)
{
    int progress = 0;
    clock.setProgressHook([&] { ++progress; });
    clock.play();
    runFor(1100);
    const int before = progress;
    runFor(2000); // nothing due between 1020 and 4000
    EXPECT_GE(progress - before, 2000 / ReplayClock::MaxWakeMs);
    EXPECT_EQ(played.size(), 8);
}

struct SpeedCase
{
    ReplaySpeed speed;
    const char *name;
    qint64 wallToA4; // wall ms until the answer at 1020 ms is due
};

void PrintTo(const SpeedCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReplayClockSpeed : public ReplayClockTest, public ::testing::WithParamInterface<SpeedCase>
{
};

TEST_P(ReplayClockSpeed, RecordingTimeRunsAtTheChosenSpeed)
{
    clock.setSpeed(GetParam().speed);
    clock.play();
    runFor(GetParam().wallToA4 - 1);
    EXPECT_NE(played.constLast(), "a4");
    runFor(1);
    EXPECT_EQ(played.constLast(), "a4");
    // The wall clock counts whole milliseconds: at 16x one of them is 16 ms
    // of the recording.
    EXPECT_GE(clock.position(), 1020);
    EXPECT_LT(clock.position(), 1020 + replayFactor(GetParam().speed));
}

INSTANTIATE_TEST_SUITE_P(Speeds, ReplayClockSpeed,
                         ::testing::Values(SpeedCase{ReplaySpeed::Half, "Half", 2040},
                                           SpeedCase{ReplaySpeed::Normal, "Normal", 1020},
                                           SpeedCase{ReplaySpeed::Four, "Four", 255},
                                           SpeedCase{ReplaySpeed::Sixteen, "Sixteen", 64}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ReplayClockTest, ChangingSpeedWhilePlayingKeepsThePositionReached)
{
    clock.play();
    runFor(500); // at 500, a1 played
    clock.setSpeed(ReplaySpeed::Sixteen);
    EXPECT_EQ(clock.position(), 500);
    runFor(32); // 512 ms of recording later
    EXPECT_EQ(clock.position(), 1012);
    EXPECT_EQ(played.constLast(), "s1");
}

TEST_F(ReplayClockTest, PauseHoldsThePositionAndPlayGoesOnFromIt)
{
    clock.play();
    runFor(600);
    clock.pause();
    EXPECT_FALSE(timer.wakeAt.has_value());
    runFor(10000);
    EXPECT_EQ(clock.position(), 600);
    EXPECT_EQ(played.constLast(), "a2");
    clock.play();
    runFor(180);
    EXPECT_EQ(played.constLast(), "a3");
    EXPECT_EQ(clock.position(), 780);
}

TEST_F(ReplayClockTest, SeekRebuildsFromTheLastSettingsBlockAndTheAnswersBefore)
{
    clock.seek(1020);
    EXPECT_EQ(rebuilt, (QStringList{"a1", "a2", "a3", "s1", "a4"})) << "commands change no display";
    EXPECT_TRUE(played.isEmpty()) << "a paused seek hands on nothing more";
    clock.seek(500);
    EXPECT_EQ(rebuilt, (QStringList{"s0", "a1"})) << "backwards as well";
    clock.play();
    runFor(40);
    EXPECT_EQ(played, (QStringList{"a2"})) << "play goes on after the new position";
}

TEST_F(ReplayClockTest, SeekWhilePlayingKeepsPlayingFromTheNewPosition)
{
    clock.play();
    runFor(100);
    clock.seek(3990);
    EXPECT_TRUE(clock.playing());
    runFor(9);
    EXPECT_EQ(played.constLast(), "s0");
    runFor(1);
    EXPECT_EQ(played.constLast(), "a5");
}

TEST_F(ReplayClockTest, SeekIsClampedToTheRecording)
{
    clock.seek(-50);
    EXPECT_EQ(clock.position(), 0);
    EXPECT_EQ(rebuilt, (QStringList{"s0"}));
    clock.seek(999999);
    EXPECT_EQ(clock.position(), 4000);
    EXPECT_EQ(rebuilt.constLast(), "a5");
}

TEST_F(ReplayClockTest, TheEndStopsOnceAndPlayStartsOverFromTheBeginning)
{
    clock.setSpeed(ReplaySpeed::Sixteen);
    clock.play();
    runFor(10000);
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(clock.playing());
    EXPECT_TRUE(clock.atEnd());
    EXPECT_EQ(clock.position(), clock.duration());
    EXPECT_EQ(played.size(), 9);
    EXPECT_FALSE(timer.wakeAt.has_value());

    clock.play();
    EXPECT_EQ(played.mid(9), (QStringList{"c0", "s0"}));
    EXPECT_EQ(clock.position(), 0);
}

TEST_F(ReplayClockTest, ASinkThatPausesStopsTheHandingOn)
{
    clock.setSink([this](const RecordEntry &e) {
        played << QString::fromLatin1(e.bytes);
        if (e.bytes == "c0")
            clock.pause();
    });
    clock.play();
    EXPECT_EQ(played, (QStringList{"c0"}));
    clock.play();
    EXPECT_EQ(played, (QStringList{"c0", "s0"}));
}

TEST(ReplayClockCatchUp, KeepsOnlyTheLastAnswersButAlwaysTheLastSettings)
{
    QVector<RecordEntry> entries{entry(0, RecordKind::Settings, "s")};
    for (int i = 0; i < 10; ++i)
        entries << entry(10 * (i + 1), RecordKind::Answer, QByteArray::number(i).constData());
    QStringList tags;
    for (const RecordEntry &e : ReplayClock::catchUp(entries, entries.size(), 3))
        tags << QString::fromLatin1(e.bytes);
    EXPECT_EQ(tags, (QStringList{"s", "7", "8", "9"}));
    EXPECT_TRUE(ReplayClock::catchUp(entries, 0, 3).isEmpty());
}

TEST(ReplayClockEmpty, AnEmptyRecordingEndsAtOnce)
{
    HandClock timer;
    ReplayClock clock({}, timer);
    int ended = 0;
    clock.setEndedHook([&] { ++ended; });
    clock.play();
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(clock.playing());
    EXPECT_EQ(clock.duration(), 0);
}

} // namespace
