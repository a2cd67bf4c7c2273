// Fitting the correction map to the learned tables: known answers for the
// rule mNew(tP) = mOld(tG) x tG / tP and for everything around it (cleaning
// the pairs, the blend at the ends, the limits, the refusals).
#include "calibration/MapFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Table = MapFit::Table;

CorrectionMap mapOf(const std::function<int(int k)> &value)
{
    CorrectionMap m;
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        m.setValue(k, value(k));
    return m;
}

CorrectionMap flat(int v)
{
    return mapOf([v](int) { return v; });
}

// Both tables from one rule per position: (petrol tenths, gas tenths), 0 = no data.
struct Tables
{
    Table petrol{};
    Table gas{};
};

Tables tables(int from, int to, const std::function<std::pair<int, int>(int p)> &at)
{
    Tables t;
    for (int p = from; p <= to; ++p) {
        const auto [petrol, gas] = at(p);
        t.petrol[size_t(p)] = uint8_t(petrol);
        t.gas[size_t(p)] = uint8_t(gas);
    }
    return t;
}

// Petrol 4 tenths a position from 2.0 ms (position 15) up; gas 1.25 times as
// long, both exact in tenths.
Tables quarterMore(int from = 15, int to = 60)
{
    return tables(from, to, [](int p) { return std::pair{4 * (p - 10), 5 * (p - 10)}; });
}

int timeToPoint(double ms)
{
    return int(std::lround((ms - 1.0) * 10)) + 1;
}

struct FitCase
{
    std::string name;
    Tables in;
    CorrectionMap old;
    std::vector<std::pair<int, int>> points = {}; // (k, expected value) checks
    int tolerance = 0;                       // on each check
    int usable = -1;                         // -1: not checked
    double fromMs = 0, toMs = 0;             // checked when usable >= 0
    int changed = -1;                        // -1: not checked
    bool capHit = false;
    bool boundHit = false;
    std::vector<int> dropped = {}; // positions with both values that must not be used

    friend void PrintTo(const FitCase &c, std::ostream *os) { *os << c.name; }
};

class Fit : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(Fit, ProposesTheMapThatPutsTheGasCurveOnThePetrolCurve)
{
    const FitCase &c = GetParam();
    const MapFit::Result r = MapFit::propose(c.in.petrol, c.in.gas, c.old);
    ASSERT_TRUE(r.ok()) << "refused: " << int(r.refusal) << ", " << r.usablePositions << " usable positions";
    for (const auto &[k, v] : c.points)
        EXPECT_NEAR(r.proposal.value(k), v, c.tolerance) << "point " << k << " at " << CorrectionMap::timeOf(k) << " ms";
    if (c.usable >= 0) {
        EXPECT_EQ(r.usablePositions, c.usable);
        EXPECT_DOUBLE_EQ(r.fromMs, c.fromMs);
        EXPECT_DOUBLE_EQ(r.toMs, c.toMs);
    }
    if (c.changed >= 0) {
        EXPECT_EQ(r.changedPoints, c.changed);
    }
    EXPECT_EQ(r.capHit, c.capHit);
    EXPECT_EQ(r.boundHit, c.boundHit);
    for (int p : c.dropped)
        for (const MapFit::Pair &u : r.used)
            EXPECT_NE(u.position, p) << "position " << p << " should have been dropped";

    // The summary agrees with the proposal.
    int changed = 0;
    double rise = 0, fall = 0;
    for (int k = 1; k <= CorrectionMap::Points; ++k) {
        const int was = c.old.value(k), now = r.proposal.value(k);
        EXPECT_GE(now, 0);
        EXPECT_LE(now, 255);
        if (now != was) {
            ++changed;
            rise = std::max(rise, (now - was) * 100.0 / was);
            fall = std::max(fall, (was - now) * 100.0 / was);
        }
        EXPECT_LE(std::abs(now - was), 0.3 * was + 1e-9) << "point " << k << " moved by more than 30 %";
    }
    EXPECT_EQ(r.changedPoints, changed);
    EXPECT_DOUBLE_EQ(r.largestRisePct, rise);
    EXPECT_DOUBLE_EQ(r.largestFallPct, fall);
}

FitCase constantRatio()
{
    FitCase c{"ConstantRatio", quarterMore(), flat(100)};
    // Covered 2.0 .. 20.0 ms (points 11 .. 191): 125 throughout. Below and
    // above, the change of 25 fades out over 1 ms: 1.5 ms gets half of it
    // (112.5, to even 112), 1.9 ms nine tenths (122.5 -> 122); 1.0 ms and
    // 21.0 ms keep 100.
    c.points = {{1, 100}, {6, 112}, {10, 122}, {11, 125}, {100, 125}, {191, 125},
                {192, 122}, {196, 112}, {201, 100}, {246, 100}};
    c.usable = 46;
    c.fromMs = 2.0;
    c.toMs = 20.0;
    c.changed = 191 - 11 + 1 + 2 * 9;
    return c;
}

// Where the ECU settles on gas: mOld(tG) x tG = ratio x tP (x 100), found by
// repeating tG = ratio x tP x 100 / mOld(tG), and kept in tenths as the
// controller keeps it.
Tables settled(const CorrectionMap &old, int from, int to, const std::function<double(double ms)> &needs)
{
    Tables t;
    for (int p = from; p <= to; ++p) {
        const double tp = p / 10.0;
        double tg = tp;
        for (int i = 0; i < 100; ++i)
            tg = needs(tp) * tp * 100 / MapFit::valueAt(old, tg);
        t.petrol[size_t(p)] = uint8_t(p);
        t.gas[size_t(p)] = uint8_t(std::lround(tg * 10));
    }
    return t;
}

FitCase ratioChangingWithLoad()
{
    // The car needs 1.25 at 2 ms falling to 0.95 at 8 ms; the answer is that
    // ratio itself (the tenths of the tables cost up to ~3 % at 2 ms, under
    // 1 % at 8 ms).
    auto needs = [](double ms) { return 1.25 - 0.05 * (ms - 2.0); };
    FitCase c{"RatioChangingWithLoad", settled(flat(100), 20, 80, needs), flat(100)};
    for (double ms : {2.0, 3.0, 4.5, 6.0, 8.0})
        c.points.push_back({timeToPoint(ms), int(std::lround(needs(ms) * 100))});
    c.tolerance = 3;
    c.usable = 61;
    c.fromMs = 2.0;
    c.toMs = 8.0;
    return c;
}

FitCase steepOldMapReadAtTheGasTime()
{
    // The car needs exactly what petrol needs (1.00); the old map rises by 10
    // a millisecond (91 at 4 ms, 131 at 8 ms), so the ECU settles where the
    // map's value at the gas time fits. Read there, every point comes out at
    // 100; read at the petrol time, 8 ms would come out at 110.
    const CorrectionMap old = mapOf([](int k) { return 60 + k; });
    FitCase c{"SteepOldMapReadAtTheGasTime", settled(old, 40, 80, [](double) { return 1.0; }), old};
    for (double ms : {4.0, 5.0, 6.0, 7.0, 8.0})
        c.points.push_back({timeToPoint(ms), 100});
    c.tolerance = 2;
    return c;
}

FitCase gapBridgedByAStraightLine()
{
    // 1.10 up to 4 ms, 1.25 from 6 ms, nothing in between (petrol learned
    // there, gas not): the map goes straight from 110 at 4.0 to 125 at 6.0.
    FitCase c{"GapBridgedByAStraightLine",
              tables(20, 80, [](int p) {
                  const int gas = p <= 40 ? int(std::lround(p * 1.1)) : p >= 60 ? int(std::lround(p * 1.25)) : 0;
                  return std::pair{p, gas};
              }),
              flat(100)};
    c.points = {{timeToPoint(2.0), 110}, {timeToPoint(4.0), 110}, {timeToPoint(5.0), 118},
                {timeToPoint(5.5), 121}, {timeToPoint(6.0), 125}, {timeToPoint(8.0), 125}};
    c.tolerance = 2;
    c.usable = 21 + 21;
    c.fromMs = 2.0;
    c.toMs = 8.0;
    return c;
}

FitCase staleEntriesOutOfOrder()
{
    FitCase c = constantRatio();
    c.name = "StaleEntriesOutOfOrder";
    // A stale gas time far above its neighbours and one far below: each breaks
    // the rule that more petrol time never comes with less gas time.
    c.in.gas[30] = 250;
    c.in.gas[45] = 20;
    c.usable = 44;
    c.dropped = {30, 45};
    return c;
}

FitCase inOrderButFarFromNeighbours()
{
    // Sparse data, 2 ms apart, 1.25 throughout but at 12.0 ms, where the gas
    // time (17.0 ms instead of 15.0) still keeps the order but asks for 142.
    FitCase c{"InOrderButFarFromNeighbours",
              tables(20, 29, [](int p) { return std::pair{20 * (p - 19), p == 25 ? 170 : 25 * (p - 19)}; }),
              flat(100)};
    c.points = {{timeToPoint(2.0), 125}, {timeToPoint(12.0), 125}, {timeToPoint(20.0), 125}};
    c.usable = 9;
    c.fromMs = 2.0;
    c.toMs = 20.0;
    c.dropped = {25};
    return c;
}

FitCase edgesOfTheTimeAxis()
{
    // Petrol from 1.0 ms to 25.5 ms (the map's whole axis), gas 0.8 times as
    // long: the first gas times lie below the first point, where the map is
    // read as its first value. Every point becomes 80; nothing to blend into.
    FitCase c{"EdgesOfTheTimeAxis",
              tables(10, 255, [](int p) { return p % 5 ? std::pair{0, 0} : std::pair{p, p * 4 / 5}; }), flat(100)};
    c.points = {{1, 80}, {2, 80}, {123, 80}, {245, 80}, {246, 80}};
    c.usable = 50;
    c.fromMs = 1.0;
    c.toMs = 25.5;
    c.changed = 246;
    return c;
}

FitCase dataNearTheTopEnd()
{
    // Petrol 20.0 .. 25.0 ms: the blend above ends at the last point.
    FitCase c{"DataNearTheTopEnd",
              tables(200, 250, [](int p) { return std::pair{p, int(std::lround(p * 0.9))}; }), flat(100)};
    // 19.5 ms lies half a millisecond below the range: half of -10.
    c.points = {{timeToPoint(18.9), 100}, {timeToPoint(19.5), 95}, {timeToPoint(20.0), 90},
                {timeToPoint(25.0), 90}, {timeToPoint(25.5), 95}};
    c.tolerance = 0;
    c.usable = 51;
    c.fromMs = 20.0;
    c.toMs = 25.0;
    return c;
}

FitCase capHeldAt30Percent()
{
    // 1.5 times as much gas: 150 wanted, 130 allowed.
    FitCase c{"CapHeldAt30Percent", tables(20, 60, [](int p) { return std::pair{2 * p, 3 * p}; }), flat(100)};
    c.points = {{timeToPoint(4.0), 130}, {timeToPoint(12.0), 130}, {timeToPoint(3.5), 125}, {timeToPoint(3.0), 100}};
    c.capHit = true;
    return c;
}

FitCase capWithinALowMap()
{
    // The cap is of each point's own old value: a map of 50 may go to 65 only.
    FitCase c = capHeldAt30Percent();
    c.name = "CapOfEachPointsOwnValue";
    c.old = mapOf([](int k) { return k < 100 ? 50 : 100; });
    // Petrol 4..12 ms: points 31..111. Below point 100 mOld = 50 -> 75 wanted, 65 allowed.
    c.points = {{timeToPoint(5.0), 65}, {timeToPoint(11.5), 130}};
    return c;
}

FitCase upperByteLimit()
{
    // An old map of 240 and a car that needs 1.2 times as much: 288 is within
    // the cap but not within one byte.
    FitCase c{"UpperByteLimit", tables(20, 100, [](int p) { return std::pair{2 * p, int(std::lround(2.4 * p))}; }),
              flat(240)};
    c.points = {{timeToPoint(4.0), 255}, {timeToPoint(20.0), 255}};
    c.boundHit = true;
    return c;
}

FitCase leanerMap()
{
    // A map that gives too much gas: the ECU shortens its time, the map comes down.
    FitCase c{"MapComesDown", tables(20, 80, [](int p) { return std::pair{p, int(std::lround(p * 0.85))}; }), flat(120)};
    c.points = {{timeToPoint(3.0), 102}, {timeToPoint(7.0), 102}};
    c.tolerance = 2;
    return c;
}

INSTANTIATE_TEST_SUITE_P(MapFit, Fit,
                         ::testing::Values(constantRatio(), ratioChangingWithLoad(), steepOldMapReadAtTheGasTime(),
                                           gapBridgedByAStraightLine(),
                                           staleEntriesOutOfOrder(), inOrderButFarFromNeighbours(),
                                           edgesOfTheTimeAxis(), dataNearTheTopEnd(),
                                           capHeldAt30Percent(), capWithinALowMap(), upperByteLimit(), leanerMap()),
                         [](const auto &info) { return info.param.name; });

// ---------------------------------------------------------------------------
// Too little data: refused, the old map unchanged.

struct RefusalCase
{
    std::string name;
    Tables in;
    MapFit::Refusal refusal;
    int usable;

    friend void PrintTo(const RefusalCase &c, std::ostream *os) { *os << c.name; }
};

class Refused : public ::testing::TestWithParam<RefusalCase>
{
};

TEST_P(Refused, LeavesTheMapAsItWas)
{
    const RefusalCase &c = GetParam();
    const CorrectionMap old = mapOf([](int k) { return 90 + k / 10; });
    const MapFit::Result r = MapFit::propose(c.in.petrol, c.in.gas, old);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.refusal, c.refusal);
    EXPECT_EQ(r.usablePositions, c.usable);
    EXPECT_EQ(r.proposal.values(), old.values());
    EXPECT_EQ(r.changedPoints, 0);
}

Tables onlyPetrol()
{
    Tables t = quarterMore();
    t.gas.fill(0);
    return t;
}

Tables sevenOfNineAfterOutliers()
{
    Tables t = quarterMore(15, 23);
    t.gas[17] = 250; // stale, breaks the order
    t.gas[20] = 20;
    return t;
}

INSTANTIATE_TEST_SUITE_P(
    MapFit, Refused,
    ::testing::Values(RefusalCase{"EmptyTables", {}, MapFit::Refusal::TooFewPositions, 0},
                      RefusalCase{"OnlyPetrolLearned", onlyPetrol(), MapFit::Refusal::TooFewPositions, 0},
                      RefusalCase{"SevenPositions", quarterMore(15, 21), MapFit::Refusal::TooFewPositions, 7},
                      RefusalCase{"SevenLeftAfterDroppingTwo", sevenOfNineAfterOutliers(),
                                  MapFit::Refusal::TooFewPositions, 7},
                      // Twenty positions, all within 0.9 ms of petrol time.
                      RefusalCase{"UnderOneMillisecond",
                                  tables(30, 49, [](int p) { return std::pair{30 + (p - 30) * 9 / 19, 40 + (p - 30) / 2}; }),
                                  MapFit::Refusal::TooNarrow, 20},
                      // Position 0 never counts: eight pairs there and at 1..7 are seven.
                      RefusalCase{"PositionZeroNeverCounts",
                                  tables(0, 7, [](int p) { return std::pair{20 + 2 * p, 25 + 3 * p}; }),
                                  MapFit::Refusal::TooFewPositions, 7}),
    [](const auto &info) { return info.param.name; });

TEST(MapFit, EightPositionsOverExactlyOneMillisecondAreEnough)
{
    const Tables t = tables(40, 47, [](int p) { return std::pair{20 + (p - 40) * 10 / 7, 25 + (p - 40) * 12 / 7}; });
    ASSERT_DOUBLE_EQ(t.petrol[47] / 10.0 - t.petrol[40] / 10.0, 1.0);
    const MapFit::Result r = MapFit::propose(t.petrol, t.gas, flat(100));
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.usablePositions, 8);
}

TEST(MapFit, OldMapIsReadStraightBetweenItsPoints)
{
    const CorrectionMap m = mapOf([](int k) { return k == 11 ? 110 : k == 12 ? 120 : 100; });
    EXPECT_DOUBLE_EQ(MapFit::valueAt(m, 2.0), 110);
    EXPECT_DOUBLE_EQ(MapFit::valueAt(m, 2.05), 115);
    EXPECT_DOUBLE_EQ(MapFit::valueAt(m, 2.13), 114);
    EXPECT_DOUBLE_EQ(MapFit::valueAt(m, 0.4), 100) << "held at the first point below 1.0 ms";
    EXPECT_DOUBLE_EQ(MapFit::valueAt(m, 30.0), 100) << "held at the last point above 25.5 ms";
}

TEST(MapFit, PairsWithOneTimeBecomeOneValue)
{
    // Four positions at 3.0 ms of petrol with gas 3.5 and 3.7 ms: the map at
    // 3.0 ms takes their mean, 120, and not one of them (117 or 123).
    Tables t = quarterMore(); // 1.25 elsewhere
    for (int p = 61; p <= 64; ++p) {
        t.petrol[size_t(p)] = 30;
        t.gas[size_t(p)] = p % 2 ? 35 : 37;
    }
    // Their gas times keep the order with the pairs at 2.8 ms (3.5) and 3.2 ms (4.0).
    const MapFit::Result r = MapFit::propose(t.petrol, t.gas, flat(100));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.proposal.value(timeToPoint(3.0)), 120);
}

} // namespace
