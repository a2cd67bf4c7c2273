#include "widgets/TFlashTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include "tests/widgets/FrequencyName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Records what the timer tells it, tick by tick.
struct Recorder : TFlashClient {
    std::vector<std::pair<std::uint64_t, bool>> phases; // (tick, phase)
    std::vector<std::pair<qint64, int>> periodic;       // (clock, lateness)
    const TFlashTimer *timer = nullptr;
    std::function<void()> onNotify;
    void FlashPhase(bool on) override
    {
        phases.emplace_back(timer->TickCount(), on);
        if (onNotify)
            onNotify();
    }
    void PeriodicTick(int late) override
    {
        periodic.emplace_back(timer->Now(), late);
        if (onNotify)
            onNotify();
    }
};

struct ManualTimer : ::testing::Test {
    TFlashTimer timer;
    qint64 now = 1000;
    void SetUp() override
    {
        timer.SetAutoTick(false);
        timer.SetClock([this] { return now; });
    }
    // One beat as the real timer would give it: 16 ms later.
    void Beat(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            now += TFlashTimer::BeatMs;
            timer.Tick();
        }
    }
};

struct RateCase {
    TFrequency f;
    int ticksPerPhase;
};

void PrintTo(const RateCase &c, std::ostream *os)
{
    *os << FrequencyName(c.f) << ", " << c.ticksPerPhase << " ticks a phase";
}

class FlashRates : public ManualTimer, public ::testing::WithParamInterface<RateCase> {};

TEST_P(FlashRates, PhaseFlipsEveryTwoToTheDTicks)
{
    const RateCase c = GetParam();
    Recorder r;
    r.timer = &timer;
    timer.RegisterFlash(&r, c.f);
    Beat(c.ticksPerPhase * 6);

    // The first tick reports the current phase; afterwards only changes arrive,
    // each exactly when bit d of the counter flips.
    ASSERT_GE(r.phases.size(), 5u);
    EXPECT_EQ(r.phases[0].first, 1u);
    EXPECT_FALSE(r.phases[0].second);
    for (std::size_t i = 1; i < r.phases.size(); ++i) {
        EXPECT_EQ(r.phases[i].first, std::uint64_t(i) * c.ticksPerPhase) << "change " << i;
        EXPECT_NE(r.phases[i].second, r.phases[i - 1].second);
        EXPECT_EQ(r.phases[i].second, TFlashTimer::PhaseAt(r.phases[i].first, c.f));
    }
}

INSTANTIATE_TEST_SUITE_P(AllRates, FlashRates,
                         ::testing::Values(RateCase{ff8Hz, 4}, RateCase{ff4Hz, 8}, RateCase{ff2Hz, 16},
                                           RateCase{ff1Hz, 32}, RateCase{ff05Hz, 64}),
                         [](const auto &info) { return FrequencyName(info.param.f); });

TEST_F(ManualTimer, ClientsRegisteredAtDifferentTimesBlinkInStep)
{
    Recorder early, late;
    early.timer = late.timer = &timer;
    timer.RegisterFlash(&early, ff4Hz);
    Beat(13); // register the second one in the middle of a phase
    timer.RegisterFlash(&late, ff4Hz);
    Beat(1);
    // The late one gets the phase the early one is in right now.
    ASSERT_FALSE(late.phases.empty());
    EXPECT_EQ(late.phases.back().second, early.phases.back().second);
    Beat(40);
    // From then on every change reaches both at the same tick with the same phase.
    std::vector<std::pair<std::uint64_t, bool>> tailEarly(early.phases.end() - 5, early.phases.end());
    std::vector<std::pair<std::uint64_t, bool>> tailLate(late.phases.end() - 5, late.phases.end());
    EXPECT_EQ(tailEarly, tailLate);
}

TEST_F(ManualTimer, ReRegisteringReplacesTheEntryAndKeepsOneEntryPerClient)
{
    Recorder r;
    r.timer = &timer;
    timer.RegisterFlash(&r, ff8Hz);
    timer.RegisterFlash(&r, ff05Hz);
    EXPECT_EQ(timer.ClientCount(), 1);
    Beat(64 * 2);
    // At 2048 ms period only the first report and one flip at tick 64 and 128.
    ASSERT_EQ(r.phases.size(), 3u);
    EXPECT_EQ(r.phases[1].first, 64u);
    EXPECT_EQ(r.phases[2].first, 128u);

    timer.RegisterPeriodic(&r, 100);
    EXPECT_EQ(timer.ClientCount(), 1);
    const auto flashesBefore = r.phases.size();
    Beat(64);
    EXPECT_EQ(r.phases.size(), flashesBefore); // no longer a flash client
    EXPECT_FALSE(r.periodic.empty());

    timer.Unregister(&r);
    EXPECT_FALSE(timer.IsRegistered(&r));
    const auto periodicBefore = r.periodic.size();
    Beat(64);
    EXPECT_EQ(r.periodic.size(), periodicBefore);
}

TEST_F(ManualTimer, PeriodicClientDueFromRegistrationAndCatchesUpOnLateness)
{
    Recorder r;
    r.timer = &timer;
    now = 5000;
    timer.RegisterPeriodic(&r, 100); // due at 5100

    struct Step {
        qint64 at;
        bool fires;
        int late;
    };
    // Ticks driven by hand at chosen clock values.
    const Step steps[] = {
        {5099, false, 0},
        {5100, true, 0},  // exactly due; next due 5200
        {5230, true, 30}, // 30 late; next due 5230 + 100 - 30 = 5300
        {5299, false, 0},
        {5300, true, 0},  // back on the 100 ms grid; next 5400
        {6401, true, 0},  // 1001 ms late: a stall is not made up for; next 6501
        {6500, false, 0},
        {6501, true, 0},
    };
    for (const Step &s : steps) {
        const auto before = r.periodic.size();
        now = s.at;
        timer.Tick();
        ASSERT_EQ(r.periodic.size() - before, s.fires ? 1u : 0u) << "at " << s.at;
        if (s.fires) {
            EXPECT_EQ(r.periodic.back().second, s.late) << "at " << s.at;
        }
    }
}

TEST_F(ManualTimer, ExactlyOneSecondLateStillCounts)
{
    Recorder r;
    r.timer = &timer;
    now = 0;
    timer.RegisterPeriodic(&r, 250);
    now = 1250;
    timer.Tick();
    ASSERT_EQ(r.periodic.size(), 1u);
    EXPECT_EQ(r.periodic[0].second, 1000);
    now = 1250 + 250 - 1000 - 1; // next due is 500
    timer.Tick();
    EXPECT_EQ(r.periodic.size(), 1u);
    now = 1300; // well past 500: fires once, 800 late
    timer.Tick();
    ASSERT_EQ(r.periodic.size(), 2u);
    EXPECT_EQ(r.periodic[1].second, 800);
}

TEST_F(ManualTimer, ClientThatUnregistersItselfDuringTheWalkIsSafe)
{
    Recorder a, b, c;
    a.timer = b.timer = c.timer = &timer;
    timer.RegisterFlash(&a, ff8Hz);
    timer.RegisterFlash(&b, ff8Hz);
    timer.RegisterFlash(&c, ff8Hz);
    a.onNotify = [&] { timer.Unregister(&a); };
    c.onNotify = [&] {
        timer.Unregister(&b);
        timer.Unregister(&c);
    };
    Beat();
    EXPECT_EQ(a.phases.size(), 1u);
    EXPECT_EQ(c.phases.size(), 1u);
    EXPECT_EQ(timer.ClientCount(), 0);
    Beat(20); // nothing left to call, nothing crashes
    EXPECT_EQ(a.phases.size(), 1u);
    EXPECT_EQ(c.phases.size(), 1u);
}

// ---- waking only when something is due -------------------------------------

// A timer left ticking by itself, on an injected clock: the test plays the
// event loop by moving the clock to each wake the timer asks for and calling Wake().
struct SleepyTimer : ::testing::Test {
    TFlashTimer timer;
    qint64 now = 1000;
    int wakes = 0;
    void SetUp() override { timer.SetClock([this] { return now; }); }
    // Wakes as the timer asks until the clock would pass `until`.
    void RunUntil(qint64 until)
    {
        while (const auto at = timer.ScheduledWake()) {
            if (*at > until)
                break;
            now = std::max(now, *at);
            ++wakes;
            timer.Wake();
        }
        now = until;
    }
};

class WakeRates : public SleepyTimer, public ::testing::WithParamInterface<RateCase> {};

TEST_P(WakeRates, WakesExactlyAtThePhaseChangesOfTheSixteenMillisecondBeat)
{
    const RateCase c = GetParam();
    Recorder r;
    r.timer = &timer;
    timer.RegisterFlash(&r, c.f);
    ASSERT_EQ(timer.ScheduledWake(), std::optional<qint64>(now + TFlashTimer::BeatMs)); // first phase at the next beat
    RunUntil(1000 + 16 * c.ticksPerPhase * 6);

    // The same phases at the same ticks as beating every 16 ms would give, and
    // not one wake more than there are phases to tell.
    ASSERT_EQ(r.phases.size(), 7u);
    EXPECT_EQ(r.phases[0].first, 1u);
    for (std::size_t i = 1; i < r.phases.size(); ++i) {
        EXPECT_EQ(r.phases[i].first, std::uint64_t(i) * c.ticksPerPhase) << "change " << i;
        EXPECT_EQ(r.phases[i].second, TFlashTimer::PhaseAt(r.phases[i].first, c.f));
    }
    EXPECT_EQ(wakes, 7);
}

INSTANTIATE_TEST_SUITE_P(AllRates, WakeRates,
                         ::testing::Values(RateCase{ff8Hz, 4}, RateCase{ff4Hz, 8}, RateCase{ff2Hz, 16},
                                           RateCase{ff1Hz, 32}, RateCase{ff05Hz, 64}),
                         [](const auto &info) { return FrequencyName(info.param.f); });

TEST_F(SleepyTimer, SleepingTimerTellsTheSameAsOneBeatingEverySixteenMilliseconds)
{
    // Reference: the plain beat, every 16 ms.
    TFlashTimer beating;
    qint64 beatNow = now;
    beating.SetAutoTick(false);
    beating.SetClock([&] { return beatNow; });

    struct Log : TFlashClient {
        const TFlashTimer *timer = nullptr;
        std::vector<std::pair<std::uint64_t, bool>> phases;
        std::vector<qint64> dueTimes; // when each periodic tick was due: clock - lateness
        void FlashPhase(bool on) override { phases.emplace_back(timer->TickCount(), on); }
        void PeriodicTick(int late) override { dueTimes.push_back(timer->Now() - late); }
    };
    Log sleepyLogs[5], beatLogs[5];
    auto setUp = [](TFlashTimer &t, Log *logs) {
        for (int i = 0; i < 5; ++i)
            logs[i].timer = &t;
        t.RegisterFlash(&logs[0], ff8Hz);
        t.RegisterFlash(&logs[1], ff1Hz);
        t.RegisterPeriodic(&logs[2], 250);
        t.RegisterPeriodic(&logs[3], 625);
        t.RegisterFlash(&logs[4], ff05Hz);
    };
    setUp(timer, sleepyLogs);
    setUp(beating, beatLogs);

    const qint64 end = now + 5000 - 8; // on a beat, between periodic due times
    RunUntil(end);
    while (beatNow + TFlashTimer::BeatMs <= end) {
        beatNow += TFlashTimer::BeatMs;
        beating.Tick();
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(sleepyLogs[i].phases, beatLogs[i].phases) << "client " << i;
        EXPECT_EQ(sleepyLogs[i].dueTimes, beatLogs[i].dueTimes) << "client " << i;
    }
    EXPECT_EQ(beatLogs[2].dueTimes.size(), 19u);
    // 313 beats against the wakes that changed something: every 64 ms at most.
    EXPECT_LE(wakes, 5000 / 64 + 20 + 8 + 2);
    EXPECT_EQ(timer.TickCount(), beating.TickCount());
}

TEST_F(SleepyTimer, NoWakeWhileNobodyIsRegistered)
{
    EXPECT_FALSE(timer.ScheduledWake());
    EXPECT_FALSE(timer.NextWake());
    Recorder a, b;
    a.timer = b.timer = &timer;
    timer.RegisterFlash(&a, ff2Hz);
    timer.RegisterPeriodic(&b, 400);
    EXPECT_TRUE(timer.ScheduledWake());
    RunUntil(now + 3000);
    timer.Unregister(&a);
    EXPECT_TRUE(timer.ScheduledWake()); // b still runs
    timer.Unregister(&b);
    EXPECT_FALSE(timer.ScheduledWake());
    EXPECT_FALSE(timer.NextWake());
    const int before = wakes;
    RunUntil(now + 60000);
    EXPECT_EQ(wakes, before);

    timer.SetAutoTick(false); // ticking by hand: the timer never sets a wake of its own
    timer.RegisterFlash(&a, ff2Hz);
    EXPECT_FALSE(timer.ScheduledWake());
    EXPECT_TRUE(timer.NextWake());
}

TEST_F(SleepyTimer, CounterFollowsTheClockThroughIdleSpellsAndLateWakes)
{
    Recorder early, late;
    early.timer = late.timer = &timer;
    timer.RegisterFlash(&early, ff4Hz);
    RunUntil(now + 500);
    timer.Unregister(&early);
    now += 10'007; // ten seconds with nobody registered: no wake, but the beat count goes on
    const std::uint64_t registeredAt = timer.TicksAt(now);
    EXPECT_EQ(registeredAt, std::uint64_t((now - 1000) / 16));
    timer.RegisterFlash(&early, ff4Hz);
    timer.RegisterFlash(&late, ff4Hz);
    RunUntil(now + 40);
    ASSERT_EQ(late.phases.size(), 1u);
    EXPECT_EQ(late.phases[0].first, registeredAt + 1);
    EXPECT_EQ(early.phases.back(), late.phases.back());

    // The UI thread was busy for 300 ms past the wake: the phase is that of the
    // tick count now, and the next wake is the next flip after it.
    const qint64 due = *timer.ScheduledWake();
    now = due + 300;
    timer.Wake();
    const std::uint64_t n = timer.TicksAt(now);
    EXPECT_EQ(timer.TickCount(), n);
    EXPECT_EQ(late.phases.back().second, TFlashTimer::PhaseAt(n, ff4Hz));
    EXPECT_EQ(early.phases.back(), late.phases.back());
    EXPECT_EQ(timer.ScheduledWake(), std::optional<qint64>(timer.BeatTime(((n >> 3) + 1) << 3)));
}

TEST_F(SleepyTimer, EarlyWakeChangesNothingAndKeepsTheWakeItWasSetFor)
{
    Recorder flash, periodic;
    flash.timer = periodic.timer = &timer;
    timer.RegisterFlash(&flash, ff1Hz);
    RunUntil(now + 20); // first phase told
    timer.RegisterPeriodic(&periodic, 300);
    const qint64 due = *timer.ScheduledWake();
    EXPECT_EQ(due, now + 300); // before the flip at tick 32 (1512)
    now = due - 1;
    timer.Wake();
    EXPECT_TRUE(periodic.periodic.empty());
    EXPECT_EQ(flash.phases.size(), 1u);
    EXPECT_EQ(timer.ScheduledWake(), std::optional<qint64>(due));
    now = due;
    timer.Wake();
    ASSERT_EQ(periodic.periodic.size(), 1u);
    EXPECT_EQ(periodic.periodic[0].second, 0);
    EXPECT_EQ(timer.ScheduledWake(), std::optional<qint64>(timer.BeatTime(32)));
}

TEST_F(SleepyTimer, PeriodicClientCanRejoinItsGridOfDueTimes)
{
    Recorder r;
    r.timer = &timer;
    timer.RegisterPeriodicAt(&r, 250, 1100);
    EXPECT_EQ(timer.ScheduledWake(), std::optional<qint64>(1100));
    RunUntil(1700);
    ASSERT_EQ(r.periodic.size(), 3u);
    EXPECT_EQ(r.periodic[2].first, 1600);
}

TEST(FlashTimerShared, OneInstancePerProgramTickingByItself)
{
    TFlashTimer *shared = TFlashTimer::Shared();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared, TFlashTimer::Shared());
    EXPECT_TRUE(shared->AutoTick());
}

TEST(FlashTimerRealTime, BeatsByItselfOnceAClientRegisters)
{
    // The one test on the wall clock: the beat really runs. Loose bounds, the
    // machine is shared.
    TFlashTimer timer;
    Recorder flash, periodic;
    flash.timer = periodic.timer = &timer;
    timer.RegisterFlash(&flash, ff8Hz);
    timer.RegisterPeriodic(&periodic, 100);
    QElapsedTimer wall;
    wall.start();
    // Until ten beats came, with a tenfold margin on their 160 ms.
    while (timer.TickCount() < 10u && wall.elapsed() < 1600)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 elapsed = wall.elapsed();
    EXPECT_GE(timer.TickCount(), 10u);
    // A beat never comes early: no more beats than 16 ms periods passed.
    EXPECT_LE(timer.TickCount(), std::uint64_t(elapsed / TFlashTimer::BeatMs + 1));
    EXPECT_GE(flash.phases.size(), 2u);
    EXPECT_LE(periodic.periodic.size(), std::size_t(elapsed / 100 + 1));
}

} // namespace
