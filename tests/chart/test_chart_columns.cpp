// Min and max per pixel column: every column holds exactly the smallest and
// largest value of the answers that fall in it, so a one-answer spike shows
// at any zoom, and the value held into the view starts its line.
#include "ChartSample.h"

#include "chart/ChartChannel.h"
#include "chart/ChartData.h"
#include "chart/MinMaxColumns.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace ChartSample;

// An hour at four answers a second, with irregular gaps, single-answer
// spikes and a stretch of short answers that carry no speed.
const ChartData &hour()
{
    static const ChartData data = [] {
        ChartData d;
        QRandomGenerator random(11);
        qint64 ms = 0;
        for (int i = 0; i < 14400; ++i) {
            ms += 200 + random.bounded(100) + (i % 997 == 0 ? 5000 : 0);
            if (i % 1500 > 1490) {
                d.append({ms, RecordKind::Answer, QByteArray(12, '\x01')});
                continue;
            }
            double rpm = 800 + random.bounded(2000);
            if (i % 613 == 0)
                rpm = 25000; // clamped to byte 250: 25000 rpm, far above the rest
            if (i % 877 == 0)
                rpm = 0;
            d.append(answer(ms, running(rpm)));
        }
        return d;
    }();
    return data;
}

struct ViewCase
{
    const char *name;
    double fromFraction;
    double toFraction;
    int columns;
};

void PrintTo(const ViewCase &c, std::ostream *os)
{
    *os << c.name;
}

class MinMaxColumnsCases : public ::testing::TestWithParam<ViewCase>
{};

TEST_P(MinMaxColumnsCases, KeepEveryMinimumAndMaximum)
{
    const ChartData &data = hour();
    const ChartSeries &series = data.series();
    const int rpm = ChartChannel::indexOf(u"rpm");
    const double whole = double(series.lastMs());
    const double from = whole * GetParam().fromFraction;
    const double to = whole * GetParam().toFraction;
    const int n = GetParam().columns;
    const MinMaxColumns out = MinMaxColumns::compute(series, rpm, from, to, n);
    ASSERT_EQ(out.columns.size(), n);

    // Brute force: every answer in view to its column.
    const float inf = std::numeric_limits<float>::infinity();
    QVector<float> mins(n, inf), maxs(n, -inf), firsts(n, NAN), lasts(n, NAN);
    float heldIn = NAN;
    int inView = 0;
    for (int i = 0; i < series.size(); ++i) {
        const double t = double(series.times()[i]);
        const float v = series.values(rpm)[i];
        if (std::isnan(v))
            continue;
        if (t < from) {
            heldIn = v;
            continue;
        }
        if (t > to)
            break;
        ++inView;
        const int c = std::min(int((t - from) / (to - from) * n), n - 1);
        mins[c] = std::min(mins[c], v);
        maxs[c] = std::max(maxs[c], v);
        if (std::isnan(firsts[c]))
            firsts[c] = v;
        lasts[c] = v;
    }
    ASSERT_GT(inView, 0);
    if (std::isnan(heldIn))
        EXPECT_TRUE(std::isnan(out.heldIn));
    else
        EXPECT_EQ(out.heldIn, heldIn);
    int filled = 0;
    for (int c = 0; c < n; ++c) {
        SCOPED_TRACE(c);
        const MinMaxColumn &col = out.columns[c];
        ASSERT_EQ(col.empty, mins[c] == inf);
        if (col.empty)
            continue;
        ++filled;
        EXPECT_EQ(col.min, mins[c]);
        EXPECT_EQ(col.max, maxs[c]);
        EXPECT_EQ(col.first, firsts[c]);
        EXPECT_EQ(col.last, lasts[c]);
    }
    EXPECT_GT(filled, 0);
    // The spikes in view survive: the largest and smallest value of the
    // view are some column's max and min.
    float top = -inf, bottom = inf, colTop = -inf, colBottom = inf;
    for (int c = 0; c < n; ++c) {
        top = std::max(top, maxs[c]);
        bottom = std::min(bottom, mins[c]);
        if (!out.columns[c].empty) {
            colTop = std::max(colTop, out.columns[c].max);
            colBottom = std::min(colBottom, out.columns[c].min);
        }
    }
    EXPECT_EQ(colTop, top);
    EXPECT_EQ(colBottom, bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Hour, MinMaxColumnsCases,
    ::testing::Values(ViewCase{"WholeHourOnAScreen", 0.0, 1.0, 1200}, ViewCase{"WholeHourNarrow", 0.0, 1.0, 97},
                      ViewCase{"TenMinutes", 0.3, 0.4667, 1200},
                      ViewCase{"FewSecondsFewerAnswersThanColumns", 0.5, 0.5003, 1200},
                      ViewCase{"ShortAnswersAtTheStart", 0.1035, 0.12, 640},
                      ViewCase{"SingleColumn", 0.2, 0.8, 1}),
    [](const ::testing::TestParamInfo<ViewCase> &info) { return std::string(info.param.name); });

TEST(MinMaxColumns, SpikeOfOneAnswerInAnHourShowsInItsColumn)
{
    ChartData data;
    for (int i = 0; i < 14400; ++i)
        data.append(answer(i * 250, running(i == 7777 ? 6000 : 800)));
    const int rpm = ChartChannel::indexOf(u"rpm");
    const MinMaxColumns out = MinMaxColumns::compute(data.series(), rpm, 0, 14399 * 250.0, 300);
    const int column = int(7777 * 250.0 / (14399 * 250.0) * 300);
    EXPECT_EQ(out.columns[column].max, 6000.f);
    EXPECT_EQ(out.columns[column].min, 800.f);
    for (int c = 0; c < 300; ++c)
        EXPECT_EQ(out.columns[c].max, c == column ? 6000.f : 800.f) << c;
}

} // namespace
