// What the chart window does with the pointer, without a window: the time
// axis under zoom and pan, the click that seeks the replay, the pane choice
// as it is stored, and how times and values are written.
#include "ChartSample.h"

#include "chart/ChartChannel.h"
#include "chart/ChartData.h"
#include "chart/ChartFormat.h"
#include "chart/ChartLayout.h"
#include "chart/ChartSeek.h"
#include "chart/TimeAxis.h"
#include "live/LiveFrameDecoder.h"
#include "record/ReplayClock.h"

#include <gtest/gtest.h>

namespace {

using namespace ChartSample;

TimeAxis hourAxis()
{
    TimeAxis axis;
    axis.setWhole(0, 3600000);
    axis.setWidth(1000);
    axis.showAll();
    return axis;
}

TEST(TimeAxis, ZoomKeepsTheTimeUnderThePointer)
{
    TimeAxis axis = hourAxis();
    for (double x : {0.0, 137.0, 500.0, 999.0}) {
        TimeAxis a = axis;
        a.zoomAround(300, 0.1); // somewhere inside first
        const double before = a.timeAt(x);
        a.zoomAround(x, 0.5);
        EXPECT_NEAR(a.timeAt(x), before, 1e-6) << x;
        EXPECT_NEAR(a.span(), 180000, 1e-6);
    }
}

TEST(TimeAxis, ZoomStopsAtASecondAndAtTheWhole)
{
    TimeAxis axis = hourAxis();
    for (int i = 0; i < 100; ++i)
        axis.zoomAround(500, 0.5);
    EXPECT_DOUBLE_EQ(axis.span(), TimeAxis::MinSpanMs);
    for (int i = 0; i < 100; ++i)
        axis.zoomAround(10, 2.0);
    EXPECT_TRUE(axis.showingAll());
    EXPECT_DOUBLE_EQ(axis.from(), 0);
    EXPECT_DOUBLE_EQ(axis.to(), 3600000);
}

TEST(TimeAxis, PanFollowsTheDragAndStopsAtTheEnds)
{
    TimeAxis axis = hourAxis();
    axis.setView(1800000, 1900000);
    axis.pan(100); // drag right: earlier times come in
    EXPECT_DOUBLE_EQ(axis.from(), 1790000);
    EXPECT_DOUBLE_EQ(axis.span(), 100000);
    axis.pan(1e9);
    EXPECT_DOUBLE_EQ(axis.from(), 0);
    EXPECT_DOUBLE_EQ(axis.span(), 100000);
    axis.pan(-1e9);
    EXPECT_DOUBLE_EQ(axis.to(), 3600000);
    EXPECT_DOUBLE_EQ(axis.span(), 100000);
}

TEST(TimeAxis, GrowingWholeKeepsShowingAllWhenItDid)
{
    TimeAxis axis = hourAxis();
    axis.setWhole(0, 3700000);
    EXPECT_TRUE(axis.showingAll());
    axis.setView(0, 60000);
    axis.setWhole(0, 3800000);
    EXPECT_DOUBLE_EQ(axis.to(), 60000);
}

// A click seeks the replay to the time under the pointer (or to an answer
// within a few pixels of it); the replay then shows the answer the cursor
// read-out shows there.
struct SeekCase
{
    const char *name;
    double x;
    qint64 expectedAnswerMs; // the answer the gauges show after the seek; -1: none yet
};

void PrintTo(const SeekCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChartSeekCases : public ::testing::TestWithParam<SeekCase>
{};

TEST_P(ChartSeekCases, GoesToTheRightRecord)
{
    // Answers every 250 ms from 250 to 10000; 10 s over 1000 px: 25 px apart.
    QVector<RecordEntry> entries;
    entries.append({0, RecordKind::Settings, QByteArray(602, '\0')});
    for (qint64 ms = 250; ms <= 10000; ms += 250) {
        entries.append(poll(ms - 60));
        entries.append(answer(ms, running(double(ms / 250 * 100 % 6000))));
    }
    Recording recording;
    recording.entries = entries;
    const ChartData data = ChartData::fromRecording(recording);
    TimeAxis axis;
    axis.setWhole(data.firstMs(), data.lastMs());
    axis.setWidth(1000);
    axis.showAll();

    struct HandTimer : ReplayTimer
    {
        qint64 nowMs() const override { return 0; }
        void wakeIn(int) override {}
        void cancel() override {}
    } timer;
    ReplayClock clock(entries, timer);
    QByteArray shown;
    clock.setRebuild([&](const QVector<RecordEntry> &rebuilt) {
        shown.clear();
        for (const RecordEntry &e : rebuilt)
            if (e.kind == RecordKind::Answer)
                shown = e.bytes;
    });
    const qint64 position = ChartSeek::position(axis, data.series(), GetParam().x);
    clock.seek(position);

    const int rpm = ChartChannel::indexOf(u"rpm");
    if (GetParam().expectedAnswerMs < 0) {
        EXPECT_TRUE(shown.isEmpty());
        EXPECT_TRUE(std::isnan(data.series().valueAt(rpm, position)));
        return;
    }
    const int index = data.series().indexAtOrBefore(GetParam().expectedAnswerMs);
    ASSERT_EQ(data.series().times()[index], GetParam().expectedAnswerMs);
    EXPECT_EQ(shown, entries[2 * index + 2].bytes);
    EXPECT_EQ(LiveFrameDecoder::decode(shown).rpm, std::optional<double>(data.series().valueAt(rpm, position)));
}

INSTANTIATE_TEST_SUITE_P(
    Click, ChartSeekCases,
    ::testing::Values(SeekCase{"BeforeTheFirstAnswer", 10, -1}, SeekCase{"OnAnAnswer", 100, 1000},
                      SeekCase{"JustBeforeAnAnswerSnapsToIt", 98, 1000},
                      SeekCase{"JustAfterAnAnswerStaysOnIt", 103, 1000},
                      SeekCase{"BetweenAnswersShowsTheOneBefore", 112, 1000},
                      SeekCase{"PastTheEnd", 1200, 10000}, SeekCase{"LeftOfThePlot", -50, -1}),
    [](const ::testing::TestParamInfo<SeekCase> &info) { return std::string(info.param.name); });

TEST(ChartLayout, DefaultsAreThePanesTheFitterLooksAtFirst)
{
    const ChartLayout layout = ChartLayout::defaults(3);
    EXPECT_EQ(layout.toText(), QStringLiteral("rpm;map_kpa,p1_bar;petrol_ms_3,gas_ms;lambda1_v,lambda2_v"));
}

TEST(ChartLayout, StoredTextComesBackAndBadPartsAreDropped)
{
    ChartLayout layout = ChartLayout::defaults();
    EXPECT_TRUE(layout.add(0, QStringLiteral("temp_reducer_c")));
    EXPECT_FALSE(layout.add(0, QStringLiteral("temp_reducer_c")));
    EXPECT_FALSE(layout.add(0, QStringLiteral("no_such_column")));
    EXPECT_TRUE(layout.remove(1, QStringLiteral("p1_bar")));
    EXPECT_FALSE(layout.remove(1, QStringLiteral("p1_bar")));
    layout.addPane();
    EXPECT_TRUE(layout.add(4, QStringLiteral("battery_v")));
    EXPECT_EQ(ChartLayout::fromText(layout.toText()), layout);

    EXPECT_EQ(ChartLayout::fromText(QStringLiteral("rpm,bogus,rpm;;nothing;gas_ms")).toText(),
              QStringLiteral("rpm;gas_ms"));
    EXPECT_EQ(ChartLayout::fromText(QStringLiteral("bogus"), 2), ChartLayout::defaults(2));
    EXPECT_EQ(ChartLayout::fromText(QString()), ChartLayout::defaults());
}

TEST(ChartLayout, TheLastPaneStays)
{
    ChartLayout layout = ChartLayout::fromText(QStringLiteral("rpm;gas_ms"));
    EXPECT_TRUE(layout.removePane(0));
    EXPECT_FALSE(layout.removePane(0));
    EXPECT_EQ(layout.toText(), QStringLiteral("gas_ms"));
}

TEST(ChartFormat, TimeIsMinutesSecondsAndTenths)
{
    const std::pair<qint64, const char *> cases[] = {
        {0, "00:00.0"}, {49, "00:00.0"}, {50, "00:00.1"}, {187449, "03:07.4"}, {599960, "10:00.0"},
        {4500000, "75:00.0"}, {-1500, "-00:01.5"}};
    for (const auto &[ms, text] : cases)
        EXPECT_EQ(ChartFormat::time(ms), QLatin1String(text)) << ms;
}

TEST(ChartFormat, ValuesHaveTheGaugesDecimals)
{
    EXPECT_EQ(ChartFormat::value(ChartChannel::indexOf(u"rpm"), 2300.f, QLatin1Char(',')), QStringLiteral("2300"));
    EXPECT_EQ(ChartFormat::value(ChartChannel::indexOf(u"battery_v"), 13.8f, QLatin1Char(',')),
              QStringLiteral("13,80"));
    EXPECT_EQ(ChartFormat::value(ChartChannel::indexOf(u"gas_ms"), 3.456f, QLatin1Char('.')), QStringLiteral("3.5"));
    EXPECT_EQ(ChartFormat::value(ChartChannel::indexOf(u"gas_ms"), NAN, QLatin1Char('.')), QStringLiteral("–"));
}

TEST(ChartFormat, TicksAreRoundStepsCoveringTheRange)
{
    const ChartFormat::Ticks t = ChartFormat::niceTicks(812, 2987, 4);
    EXPECT_DOUBLE_EQ(t.step, 1000);
    EXPECT_DOUBLE_EQ(t.lo, 0);
    EXPECT_DOUBLE_EQ(t.hi, 3000);
    const ChartFormat::Ticks v = ChartFormat::niceTicks(0.12, 0.88, 4);
    EXPECT_DOUBLE_EQ(v.step, 0.2);
    EXPECT_EQ(v.decimals, 1);
    const ChartFormat::Ticks flat = ChartFormat::niceTicks(800, 800, 4);
    EXPECT_LT(flat.lo, 800);
    EXPECT_GT(flat.hi, 800);
}

} // namespace
