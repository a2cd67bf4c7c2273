#include "widgets/TMiniTrend.h"

#include "tests/widgets/test_flash_support.h"

#include <QAccessible>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kLime(0x00, 0xFF, 0x00);
const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kFuchsia(0xFF, 0x00, 0xFF);
const QColor kGrid(0x80, 0x80, 0x80);

// ---- timing -------------------------------------------------------------------

struct TimingCase {
    int width, minutes;
    int step, division, interval;
    const char *label;
};

std::string TimingName(const TimingCase &c)
{
    return "width" + std::to_string(c.width) + "_" + std::to_string(c.minutes) + "min";
}

void PrintTo(const TimingCase &c, std::ostream *os)
{
    *os << TimingName(c) << " (" << c.label << ")";
}

class TrendTiming : public ::testing::TestWithParam<TimingCase> {};

TEST_P(TrendTiming, StepDivisionIntervalAndLabel)
{
    const TimingCase c = GetParam();
    const TTrendTiming t = TTrendTiming::For(c.width, c.minutes);
    EXPECT_EQ(t.step, c.step);
    EXPECT_EQ(t.division, c.division);
    EXPECT_EQ(t.intervalMs, c.interval);
    EXPECT_EQ(t.label, QString::fromLatin1(c.label));
    // Ten divisions take (about) TimeScale minutes.
    EXPECT_NEAR(10.0 * t.division / t.step * t.intervalMs, c.minutes * 60000.0, 10.0 * t.division / t.step);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, TrendTiming,
    ::testing::Values(TimingCase{480, 1, 2, 48, 250, "6s/div"},    // ten divisions span 60 s
                      TimingCase{480, 5, 1, 48, 625, "30s/div"},
                      TimingCase{481, 1, 2, 48, 250, "6s/div"},    // 24.05 - 0.49 rounds to 24
                      TimingCase{479, 5, 1, 47, 638, "30s/div"},   // 47.9 - 0.49 rounds down to 47
                      TimingCase{300, 10, 1, 30, 2000, "1min/div"},
                      TimingCase{600, 60, 1, 60, 6000, "6min/div"},
                      TimingCase{200, 2, 1, 20, 600, "12s/div"}),
    [](const auto &info) { return TimingName(info.param); });

TEST(TrendTiming, LabelPartsOnlyWhenAboveZero)
{
    const std::pair<int, const char *> cases[] = {
        {6, "6s/div"}, {60, "1min/div"}, {90, "1min30s/div"}, {3600, "1h/div"}, {3725, "1h2min5s/div"}, {0, "/div"}};
    for (const auto &[seconds, label] : cases)
        EXPECT_EQ(TTrendTiming::DivisionLabel(seconds), QString::fromLatin1(label)) << seconds;
    EXPECT_EQ(TTrendPlot::TimeText(QStringLiteral("6s/div"), QStringLiteral("12:34:56")),
              QStringLiteral(" 6s/div - 12:34:56>"));
}

// ---- rows of values -------------------------------------------------------------

TEST(TrendRows, ScaleEndsOnTopAndBottomRowsAndOutsideValuesLeaveTheArea)
{
    struct RowCase {
        float from, to;
        int height;
        double value;
        int row;
    };
    const RowCase cases[] = {
        {0, 50, 100, 50, 0},        // ValueTo on the top row
        {0, 50, 100, 0, 99},        // ValueFrom on the bottom row
        {0, 50, 100, 12.5, 74},     // 99/1000 x 250 = 24.75
        {0, 50, 101, 24.25, 52},    // 48.5 rounds to even 48
        {0, 50, 101, 24.75, 50},    // 49.5 rounds to even 50
        {0, 250, 200, 256, -5},     // above the scale end: above the area
        {0, 50, 100, -10, 119},     // below the scale: below the area
        {-20, 120, 141, 120, 0},
        {-20, 120, 141, -20, 140},
    };
    for (const RowCase &c : cases) {
        TSignalSettings s;
        s.SetValueTo(c.to);
        s.SetValueFrom(c.from);
        EXPECT_EQ(TTrendPlot::ChannelY(s, c.value, c.height), c.row) << c.value << " on " << c.from << ".." << c.to;
    }
}

// ---- the picture --------------------------------------------------------------

struct PlotFixture : ::testing::Test {
    TTrendPlot plot;
    TTrendPlot::Style style;
    static constexpr int W = 480, H = 101;
    PlotFixture() { style.grid = kGrid; }
    int columnsOf(int row, const QColor &c) const
    {
        int n = 0;
        for (int x = 0; x < W; ++x)
            n += plot.Pixel(x, row) == c;
        return n;
    }
};

TEST_F(PlotFixture, RestartFillsBackgroundAndDrawsTheGridAndTimeLine)
{
    style.showTimeLine = true;
    plot.Restart({W, H}, 1, style, QString());
    const int D = plot.Timing().division;
    ASSERT_EQ(D, 48);
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(plot.GridRow(i - 1), int(std::nearbyint(100 / 10.0 * i)));
    // A row between grid lines: vertical lines only, at W - j x D; the fifth is the time line.
    const int row = 5;
    for (int x = 0; x < W; ++x) {
        const int j = (W - x) % D == 0 ? (W - x) / D : 0;
        const QColor expected = j == 5 ? kFuchsia : (j >= 1 && j <= 10) ? kGrid : kBlack;
        ASSERT_EQ(plot.Pixel(x, row), expected) << "x " << x;
    }
    EXPECT_EQ(plot.Pixel(200, plot.GridRow(0)), kGrid);
    EXPECT_EQ(plot.PreviousY(1), H);
    EXPECT_EQ(plot.PreviousY(2), H);

    style.showGrid = false;
    plot.Restart({W, H}, 1, style, QString());
    EXPECT_EQ(columnsOf(5, kBlack), W);
    EXPECT_EQ(columnsOf(plot.GridRow(0), kBlack), W);
}

TEST_F(PlotFixture, TicksDrawStepsAtTheRightEdgeAndScrollThemLeft)
{
    style.showGrid = false;
    plot.Restart({W, H}, 1, style, QString()); // two pixels per tick
    plot.Tick(10, 90, QString());
    // First tick: rises from below the area straight up to the value, at the edge.
    for (int y = 10; y < H; ++y)
        ASSERT_EQ(plot.Pixel(W - 1, y), y >= 90 ? kYellow : kLime) << y;
    EXPECT_EQ(plot.Pixel(W - 1, 9), kBlack);
    plot.Tick(10, 90, QString());
    plot.Tick(30, 90, QString());
    // Levels run along the rows; the earlier vertical has moved 2 pixels per tick.
    EXPECT_EQ(plot.Pixel(W - 1 - 4, 50), kLime);
    EXPECT_EQ(plot.Pixel(W - 1 - 2, 50), kBlack);
    EXPECT_EQ(plot.Pixel(W - 2, 10), kLime);   // old level continued over the new strip
    EXPECT_EQ(plot.Pixel(W - 1, 20), kLime);   // then down to the new level
    EXPECT_EQ(plot.Pixel(W - 1, 31), kBlack);
    EXPECT_EQ(plot.Pixel(W - 3, 90), kYellow);
    EXPECT_EQ(plot.PreviousY(1), 30);
}

TEST_F(PlotFixture, OutOfScaleValuesAreClippedAtTheBorder)
{
    style.showGrid = false;
    plot.Restart({W, H}, 5, style, QString());
    plot.Tick(-40, 400, QString()); // above the top and below the bottom
    plot.Tick(-40, 400, QString());
    EXPECT_EQ(columnsOf(0, kLime), 1);      // the rise to the top is visible, the level is not
    EXPECT_EQ(plot.Pixel(W - 2, 0), kLime);
    EXPECT_EQ(columnsOf(H - 1, kYellow), 0); // entirely below: nothing of channel 2
    plot.Tick(50, 50, QString());
    EXPECT_EQ(plot.Pixel(W - 1, 0), kLime); // comes back down from the top border
    EXPECT_EQ(plot.Pixel(W - 1, H - 1), kYellow);
}

TEST_F(PlotFixture, NewGridLineEveryDivisionAndATimeLineEveryFifth)
{
    style.showTimeLine = true;
    plot.Restart({W, H}, 5, style, QString()); // one pixel per tick, D = 48
    const int D = plot.Timing().division;
    std::vector<std::pair<int, QColor>> lines; // tick number, colour of the new line
    for (int tick = 1; tick <= 11 * D; ++tick) {
        plot.Tick(200, 200, QString()); // traces out of the way
        const QColor c = plot.Pixel(W - 1, 5);
        if (c != kBlack)
            lines.emplace_back(tick, c);
    }
    ASSERT_EQ(lines.size(), 11u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].first, 1 + int(i) * D);
        EXPECT_EQ(lines[i].second, i % 5 == 0 ? kFuchsia : kGrid) << i;
    }
    // The grid rows keep running over the new strips.
    EXPECT_EQ(columnsOf(plot.GridRow(4), kGrid) + columnsOf(plot.GridRow(4), kFuchsia), W);
}

// ---- the widget ----------------------------------------------------------------

struct TrendFixture : ::testing::Test, ManualFlashTimer {
    TMiniTrend trend;
    TrendFixture()
    {
        trend.SetFlashTimer(&timer);
        trend.SetClock([] { return QTime(12, 34, 56); });
    }
    // A plot of exactly this width: no scales, legend or bevels around it.
    void PlotWidth(int w)
    {
        trend.SetOptions(TMiniTrend::opGrid);
        trend.resize(w + 6, 300);
        ASSERT_EQ(trend.PlotRect().width(), w);
    }
    void Oscilloscope()
    {
        for (TSignalSettings *s : {&trend.SignalSettingsCh1(), &trend.SignalSettingsCh2()}) {
            s->SetValueFrom(0);
            s->SetValueTo(50);
            s->SetDigitalTo(50);
            s->SetName1(QStringLiteral(" "));
            s->SetName2(QStringLiteral(" "));
            s->SetValueUnit(QStringLiteral(" "));
        }
        trend.SetTimeScale(1);
        trend.SetOptions(TMiniTrend::opBevelOuter | TMiniTrend::opScaleCh1 | TMiniTrend::opScaleCh2
                         | TMiniTrend::opSignDescCh1 | TMiniTrend::opSignDescCh2 | TMiniTrend::opGrid);
        trend.resize(560, 300);
    }
};

TEST_F(TrendFixture, Defaults)
{
    EXPECT_EQ(trend.DigitCh1(), 700);
    EXPECT_EQ(trend.DigitCh2(), 300);
    EXPECT_FLOAT_EQ(trend.ValueCh1(), 70.0f);
    EXPECT_FLOAT_EQ(trend.ValueCh2(), 30.0f);
    EXPECT_EQ(trend.TimeScale(), 5);
    EXPECT_TRUE(trend.Flow());
    EXPECT_EQ(trend.BkColor(), kBlack);
    EXPECT_EQ(trend.TimeLineColor(), kFuchsia);
    EXPECT_EQ(trend.SignalColorCh1(), kLime);
    EXPECT_EQ(trend.SignalColorCh2(), kYellow);
    EXPECT_EQ(trend.Options(), TMiniTrend::AllOptions);
    EXPECT_EQ(trend.SignalSettingsCh1().Name1(), QStringLiteral("Name1"));
    EXPECT_EQ(trend.SignalSettingsCh2().Name2(), QStringLiteral("Name2"));
    EXPECT_EQ(trend.SignalSettingsCh1().ValueFormat(), QStringLiteral("##0"));
    EXPECT_TRUE(trend.CaptionFont().underline());
    EXPECT_EQ(trend.CaptionFont().pointSize(), 14);
    trend.resize(40, 40);
    EXPECT_EQ(trend.size(), QSize(150, 150));
}

TEST_F(TrendFixture, SlowChartsStartAt200MsThenTakeTheirInterval)
{
    struct Case {
        int width, minutes;
        int first, after;
    };
    const Case cases[] = {{480, 1, 200, 250}, {480, 5, 200, 625}, {1200, 1, 100, 100}, {600, 1, 200, 200}};
    for (const Case &c : cases) {
        PlotWidth(c.width);
        trend.SetTimeScale(c.minutes);
        EXPECT_EQ(trend.RegisteredInterval(), c.first) << c.width << "/" << c.minutes;
        EXPECT_TRUE(timer.IsRegistered(&trend));
        RunFor(c.first + TFlashTimer::BeatMs);
        EXPECT_EQ(trend.RegisteredInterval(), c.after) << c.width << "/" << c.minutes;
    }
}

TEST_F(TrendFixture, TicksFollowTheIntervalAndDrawTheLatestValues)
{
    PlotWidth(480);
    trend.SetOptions({}); // no grid: only traces on the picture
    trend.resize(486, 300);
    trend.SetTimeScale(1);
    auto &s1 = trend.SignalSettingsCh1();
    s1.SetValueTo(50);
    s1.SetValueFrom(0);
    trend.SetValueCh1(50);  // top row
    trend.SetValueCh2(0);   // bottom row (channel 2 still 0..100)
    const int W = trend.Plot().Size().width(), H = trend.Plot().Size().height();
    RunFor(216);            // first tick, at the first beat after the initial 200 ms
    EXPECT_EQ(trend.Plot().Pixel(W - 1, 0), kLime);
    EXPECT_EQ(trend.Plot().Pixel(W - 1, H - 1), kYellow);
    // Then one tick every 250 ms: after a further second four more, 8 pixels of level.
    RunFor(1000);
    int lit = 0;
    for (int x = 0; x < W; ++x)
        lit += trend.Plot().Pixel(x, 0) == kLime;
    EXPECT_EQ(lit, 1 + 4 * 2);
    // Without new values the chart keeps drawing the last ones.
    RunFor(1000);
    lit = 0;
    for (int x = 0; x < W; ++x)
        lit += trend.Plot().Pixel(x, 0) == kLime;
    EXPECT_EQ(lit, 1 + 8 * 2);
}

// A replay at 16x: the chart's time follows the replay, so a second of wall clock scrolls what sixteen
// live seconds would, and the label still reads the replayed time per division.
TEST_F(TrendFixture, ReplayRateScrollsAsFastAsTheReplayedTime)
{
    PlotWidth(480);
    trend.SetOptions({});
    trend.resize(486, 300);
    trend.SetTimeScale(1);
    trend.SignalSettingsCh1().SetValueTo(50);
    trend.SetValueCh1(50);
    RunFor(216);
    const QString label = trend.Plot().Timing().label;
    auto litTopRow = [&] {
        int lit = 0;
        for (int x = 0; x < trend.Plot().Size().width(); ++x)
            lit += trend.Plot().Pixel(x, 0) == kLime;
        return lit;
    };
    const int before = litTopRow();

    trend.SetTimeRate(16);
    EXPECT_EQ(trend.TickInterval(), 16); // 250 ms / 16, on the flash timer's beat
    RunFor(1000);
    // 1000 ms of 16 ms ticks: 62 ticks of 2 pixels (16 live seconds would give 64).
    const int replayed = litTopRow() - before;
    EXPECT_GE(replayed, 2 * 60);
    EXPECT_LE(replayed, 2 * 64);
    EXPECT_EQ(trend.Plot().Timing().label, label);

    trend.SetTimeRate(1);
    EXPECT_EQ(trend.TickInterval(), 250);
    const int live = litTopRow();
    RunFor(1000);
    EXPECT_EQ(litTopRow() - live, 2 * 4);
    trend.SetTimeRate(0); // no rate: ignored
    EXPECT_EQ(trend.TimeRate(), 1.0);
}

TEST_F(TrendFixture, TimeScaleZeroOrLessChangesNothing)
{
    PlotWidth(480);
    trend.SetTimeScale(1);
    const int restarts = trend.Restarts();
    for (int bad : {0, -1, -60}) {
        trend.SetTimeScale(bad);
        EXPECT_EQ(trend.TimeScale(), 1);
        EXPECT_EQ(trend.Restarts(), restarts);
        EXPECT_EQ(trend.Plot().Timing().intervalMs, 250);
    }
    trend.SetTimeScale(5);
    EXPECT_EQ(trend.Restarts(), restarts + 1);
    EXPECT_EQ(trend.Plot().Timing().label, QStringLiteral("30s/div"));
}

TEST_F(TrendFixture, FlowSwitchesTheTicks)
{
    PlotWidth(480);
    trend.SetFlow(false);
    EXPECT_FALSE(timer.IsRegistered(&trend));
    trend.SetValueCh1(100);
    RunFor(2000);
    const int W = trend.Plot().Size().width();
    EXPECT_NE(trend.Plot().Pixel(W - 1, 0), kLime);
    trend.SetFlow(true);
    EXPECT_TRUE(timer.IsRegistered(&trend));
    RunFor(2000);
    EXPECT_EQ(trend.Plot().Pixel(W - 1, 0), kLime);
}

TEST_F(TrendFixture, ColourAndOptionChangesRestartWithAnEmptyPlot)
{
    PlotWidth(480);
    trend.SetValueCh1(100);
    RunFor(1000);
    const int W = trend.Plot().Size().width();
    ASSERT_EQ(trend.Plot().Pixel(W - 1, 0), kLime);
    const QColor navy(0, 0, 128);
    trend.SetBkColor(navy);
    EXPECT_EQ(trend.Plot().Pixel(W - 1, 0), navy);
    EXPECT_EQ(trend.Plot().Pixel(W - 1, 5), navy);
}

TEST_F(TrendFixture, ScaleChangeRestartsOnlyWhenItsLabelChangesTheWidth)
{
    Oscilloscope();
    trend.SetValueCh1(50);
    RunFor(1000);
    const auto lime = [&] {
        int n = 0;
        const QSize s = trend.Plot().Size();
        for (int x = 0; x < s.width(); ++x)
            n += trend.Plot().Pixel(x, 0) == kLime;
        return n;
    };
    ASSERT_GT(lime(), 0);
    const int restarts = trend.Restarts();
    const QRect before = trend.PlotRect();

    // "40" is as wide as "50": names, unit and scale change, the traces stay.
    trend.SignalSettingsCh1().SetName1(QStringLiteral("Petrol"));
    trend.SignalSettingsCh1().SetValueUnit(QStringLiteral("[ms] "));
    trend.SignalSettingsCh1().SetValueTo(40);
    EXPECT_EQ(trend.PlotRect(), before);
    EXPECT_EQ(trend.Restarts(), restarts);
    EXPECT_GT(lime(), 0);

    // "250" needs more room than "40": the plot narrows and starts empty.
    trend.SignalSettingsCh1().SetValueTo(250);
    EXPECT_LT(trend.PlotRect().width(), before.width());
    EXPECT_EQ(trend.Restarts(), restarts + 1);
    EXPECT_EQ(lime(), 0);
}

TEST_F(TrendFixture, ValuesAndPositionsRoundHalfToEven)
{
    Oscilloscope();
    struct Case {
        float value;
        int digit;
    };
    const Case cases[] = {{12.5f, 12}, {13.5f, 14}, {50, 50}, {256, 256}, {-3, -3}};
    for (const Case &c : cases) {
        trend.SetValueCh1(c.value);
        EXPECT_EQ(trend.DigitCh1(), c.digit) << c.value;
        EXPECT_FLOAT_EQ(trend.ValueCh1(), c.value);
    }
    trend.SetDigitCh2(20);
    EXPECT_FLOAT_EQ(trend.ValueCh2(), 20.0f);
}

TEST_F(TrendFixture, DestroyedChartLeavesTheTimer)
{
    {
        TMiniTrend other;
        other.SetFlashTimer(&timer);
        EXPECT_TRUE(timer.IsRegistered(&other));
    }
    EXPECT_EQ(timer.ClientCount(), 1); // only the fixture's chart
    RunFor(1000);
}

TEST_F(TrendFixture, ScreenReadersSeeBothChannels)
{
    Oscilloscope();
    trend.SignalSettingsCh1().SetName1(QStringLiteral("MAP"));
    trend.SignalSettingsCh1().SetValueUnit(QStringLiteral("[kPa] "));
    trend.SetValueCh1(101.4f);
    trend.SetValueCh2(2);
    QAccessibleInterface *ai = QAccessible::queryAccessibleInterface(&trend);
    ASSERT_NE(ai, nullptr);
    EXPECT_EQ(ai->role(), QAccessible::Chart);
    EXPECT_EQ(ai->text(QAccessible::Value), QStringLiteral("Ch1 MAP: 101 [kPa]; Ch2 : 2"));
}

// A chart on a tab that is not shown stops waking the timer while it would only
// scroll the same levels on; shown again, or given a new value, it draws what
// it missed. The picture must be the one a chart ticking all along shows.
TEST(TrendWhileHidden, SleepsAndCatchesUpToThePictureOfAChartThatKeptTicking)
{
    // The timer wakes only when asked, as in the program; the test plays the
    // event loop on an injected clock.
    struct {
        TFlashTimer timer;
        qint64 now = 0;
        void RunFor(qint64 ms)
        {
            const qint64 until = now + ms;
            while (const auto at = timer.ScheduledWake()) {
                if (*at > until)
                    break;
                now = std::max(now, *at);
                timer.Wake();
            }
            now = until;
        }
    } clock;
    clock.timer.SetClock([&clock] { return clock.now; });
    TMiniTrend shown, hidden;
    for (TMiniTrend *t : {&shown, &hidden}) {
        t->SetFlashTimer(&clock.timer);
        t->SetClock([] { return QTime(12, 34, 56); });
        t->SetOptions(TMiniTrend::opGrid);
        t->resize(486, 300);
        t->SetTimeScale(1); // 250 ms, 2 pixels a tick
        t->SetValueCh1(20);
        t->SetValueCh2(30);
    }
    shown.show();
    ASSERT_TRUE(shown.isVisible());
    ASSERT_FALSE(hidden.isVisible());
    auto samePicture = [&] { return shown.Plot().Image() == hidden.Plot().Image(); };

    clock.RunFor(1000);
    EXPECT_TRUE(hidden.Dormant());
    EXPECT_FALSE(clock.timer.IsRegistered(&hidden));
    EXPECT_TRUE(clock.timer.IsRegistered(&shown));

    // Two minutes unchanged: longer than the picture is wide, so most missed ticks
    // only move the grid on. The same value again does not wake it.
    clock.RunFor(120'000);
    hidden.SetValueCh1(20);
    EXPECT_TRUE(hidden.Dormant());
    for (float v : {40.0f, 10.0f, 45.0f}) {
        shown.SetValueCh1(v);
        hidden.SetValueCh1(v);
        EXPECT_TRUE(clock.timer.IsRegistered(&hidden)) << v; // until its next tick
        clock.RunFor(3100);
        EXPECT_TRUE(hidden.Dormant()) << v;
    }
    clock.RunFor(9000);
    EXPECT_TRUE(samePicture());

    clock.RunFor(700);
    hidden.show();
    EXPECT_FALSE(hidden.Dormant());
    EXPECT_TRUE(clock.timer.IsRegistered(&hidden));
    EXPECT_TRUE(samePicture());
    clock.RunFor(5000); // both visible: both tick, in step
    EXPECT_FALSE(hidden.Dormant());
    EXPECT_TRUE(samePicture());
}

} // namespace
