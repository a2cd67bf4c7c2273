#include "calibration/TimeCurves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace {

using Table = TimeCurves::Table;

std::vector<double> xs(const TimeCurves::Points &points)
{
    std::vector<double> out;
    for (const auto &p : points)
        out.push_back(p.x);
    return out;
}

// A table like a warm engine's: time rising with MAP from 20 to 100 kPa.
Table engineTable(double slope)
{
    Table t{};
    for (int i = 20; i <= 100; ++i)
        t[size_t(i)] = uint8_t(std::lround((0.5 + i * slope) * 10));
    return t;
}

// ---------------------------------------------------------------------------
// Which series the selector fills.

struct SelectorCase
{
    std::string name;
    int selector;
    bool gasCurve;
    bool petrolCurve;
    bool points;

    friend void PrintTo(const SelectorCase &c, std::ostream *os) { *os << c.name; }
};

class CurveSelector : public ::testing::TestWithParam<SelectorCase>
{
};

TEST_P(CurveSelector, FillsTheChosenSeries)
{
    const SelectorCase &c = GetParam();
    TimeCurves curves;
    const TimeCurves::Result &r = curves.rebuild(engineTable(0.09), engineTable(0.072), c.selector);
    EXPECT_EQ(!r.gasCurve.empty(), c.gasCurve);
    EXPECT_EQ(!r.petrolCurve.empty(), c.petrolCurve);
    // Raw points of rejected records are left out, so not every entry shows.
    EXPECT_EQ(!r.gasPoints.empty(), c.points);
    EXPECT_EQ(!r.petrolPoints.empty(), c.points);
}

INSTANTIATE_TEST_SUITE_P(TimeCurves, CurveSelector,
                         ::testing::Values(SelectorCase{"None0", 0, false, false, true},
                                           SelectorCase{"Petrol1", 1, false, true, true},
                                           SelectorCase{"Gas2", 2, true, false, true},
                                           SelectorCase{"Both3", 3, true, true, false},
                                           SelectorCase{"Unknown7", 7, false, false, true}),
                         [](const auto &info) { return info.param.name; });

// ---------------------------------------------------------------------------
// The histogram and the history, through what the curve shows.

class TimeHistogram : public ::testing::Test
{
protected:
    // Petrol curve only, gas table empty.
    const TimeCurves::Points &petrolCurve(const Table &petrol)
    {
        return curves.rebuild(Table{}, petrol, 1).petrolCurve;
    }

    TimeCurves curves;
    Table table{};
};

TEST_F(TimeHistogram, OnlyTheFirstFourPositionsOfATimeCount)
{
    for (int i : {40, 41, 42, 43, 90}) // a fifth would pull the average to 51
        table[size_t(i)] = 20;
    const auto &curve = petrolCurve(table);
    ASSERT_EQ(curve.size(), 1u);
    EXPECT_DOUBLE_EQ(curve[0].x, 2.0);
    EXPECT_DOUBLE_EQ(curve[0].y, 42); // Round(41.5), halves to even
}

TEST_F(TimeHistogram, PositionZeroNeverCounts)
{
    table[0] = 20;
    table[50] = 20;
    const auto &curve = petrolCurve(table);
    ASSERT_EQ(curve.size(), 1u);
    EXPECT_DOUBLE_EQ(curve[0].y, 50);
}

TEST_F(TimeHistogram, ZeroTimesAreNoData)
{
    EXPECT_TRUE(petrolCurve(table).empty());
    EXPECT_TRUE(curves.result().petrolPoints.empty());
}

struct HistoryCase
{
    std::string name;
    int nextAverage;
    std::vector<double> curveTimes;

    friend void PrintTo(const HistoryCase &c, std::ostream *os) { *os << c.name; }
};

class History : public ::testing::TestWithParam<HistoryCase>
{
};

// Last accepted average 40 at index 20; the record one step later must lie
// at least 3.4 kPa higher.
TEST_P(History, OneStepLaterMustRiseBy3Point4)
{
    Table table{};
    table[40] = 20;
    table[size_t(GetParam().nextAverage)] = 21;
    TimeCurves curves;
    EXPECT_EQ(xs(curves.rebuild(Table{}, table, 1).petrolCurve), GetParam().curveTimes);
}

INSTANTIATE_TEST_SUITE_P(TimeCurves, History,
                         ::testing::Values(HistoryCase{"Average43Rejected", 43, {2.0}},
                                           HistoryCase{"Average44Accepted", 44, {2.0, 2.1}}),
                         [](const auto &info) { return info.param.name; });

TEST(TimeCurves, EngineCurveRisesThroughItsData)
{
    TimeCurves curves;
    const TimeCurves::Result &r = curves.rebuild(engineTable(0.09), engineTable(0.072), 3);
    for (const TimeCurves::Points *curve : {&r.gasCurve, &r.petrolCurve}) {
        ASSERT_GE(curve->size(), 10u);
        for (size_t i = 1; i < curve->size(); ++i) {
            EXPECT_GE((*curve)[i].x, (*curve)[i - 1].x);
            EXPECT_GE((*curve)[i].y, (*curve)[i - 1].y - 1) << "at " << (*curve)[i].x << " ms";
        }
        EXPECT_GE(curve->front().y, 15);
        EXPECT_LE(curve->back().y, 100);
    }
    // Gas times are longer at the same MAP: the gas curve ends further right.
    EXPECT_GT(r.gasCurve.back().x, r.petrolCurve.back().x);
}

TEST(TimeCurves, RebuildStartsAfresh)
{
    TimeCurves curves;
    const TimeCurves::Result first = curves.rebuild(engineTable(0.09), engineTable(0.072), 3);
    curves.rebuild(Table{}, Table{}, 3);
    const TimeCurves::Result &again = curves.rebuild(engineTable(0.09), engineTable(0.072), 3);
    EXPECT_EQ(again.gasCurve, first.gasCurve);
    EXPECT_EQ(again.petrolCurve, first.petrolCurve);
}

} // namespace
