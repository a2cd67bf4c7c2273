// What the simulated controller learns while the car drives: its two
// injection-time tables (only the one of the fuel in use, smoothed, only when
// the engine holds still), the car's ratio as a curve over the petrol time,
// and the road cycle that walks MAP through 25..95 kPa.
#include "sim/DriveCycle.h"
#include "sim/EngineModel.h"
#include "sim/LearnedTables.h"
#include "sim/RatioCurve.h"
#include "sim/SettingsBlock.h"
#include "sim/SimConsole.h"
#include "sim/Simulator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <set>
#include <string>

namespace {

constexpr int64_t Ms = 1000;
constexpr int64_t S = 1000000;

// --- the tables ----------------------------------------------------------------

TEST(LearnedTables, FirstValueAsItIsThenSmoothedOverAFewSeconds)
{
    LearnedTables t;
    EXPECT_EQ(t.entry(false, 50), 0);
    t.learn(false, 50, 4.0, 0.1);
    EXPECT_EQ(t.entry(false, 50), 40) << "an empty entry takes its first measurement";
    EXPECT_EQ(t.entry(true, 50), 0) << "the other table keeps what it had";
    // One time constant of 5.0 ms: 63 % of the way.
    for (int i = 0; i < 10; ++i)
        t.learn(false, 50, 5.0, LearnedTables::SmoothingS / 10);
    EXPECT_NEAR(t.value(false, 50), 4.0 + (1 - std::exp(-1.0)), 1e-9);
    EXPECT_EQ(t.entry(false, 50), 46);
    for (int i = 0; i < 50; ++i)
        t.learn(false, 50, 5.0, LearnedTables::SmoothingS / 10);
    EXPECT_EQ(t.entry(false, 50), 50) << "settled after five time constants";

    t.learn(true, 255, 30.0, 0.1);
    EXPECT_EQ(t.entry(true, 255), 255) << "held at one byte";
    t.learn(true, 256, 3.0, 0.1);
    EXPECT_EQ(t.entry(true, 256), 0) << "outside the table";
    EXPECT_EQ(t.filled(true), 1);
    EXPECT_EQ(t.first(false), 50);
    t.clear();
    EXPECT_EQ(t.filled(false) + t.filled(true), 0);
}

SettingsBlock flatMap(int value, bool gas)
{
    SettingsBlock b = SettingsBlock::factory();
    for (int k = 0; k < SettingsBlock::MapPoints; ++k)
        b.set(SettingsBlock::CorrectionMap + k, uint8_t(value));
    b.set(SettingsBlock::FuelRequest, gas ? 3 : 2);
    return b;
}

void holdMap(EngineModel &e, const SettingsBlock &b, double map, int64_t us)
{
    e.setLoad(EngineModel::loadFor(map, EngineModel::IdleRpm, false));
    for (int64_t t = 0; t < us; t += 100 * Ms)
        e.advance(100 * Ms, b);
}

TEST(ControllerLearning, OnlyTheTableOfTheFuelInUseLearnsWithTheTrimInIt)
{
    EngineModel e(3);
    e.setTrueRatio(1.18);
    e.setWarm();
    SettingsBlock b = flatMap(100, false);
    holdMap(e, b, 50, 10 * S);
    const double petrol50 = EngineModel::petrolMsAt(50);
    EXPECT_NEAR(e.tables().value(false, 50), petrol50, 0.08);
    EXPECT_EQ(e.tables().entry(true, 50), 0);

    b = flatMap(100, true);
    holdMap(e, b, 50, 30 * S);
    ASSERT_TRUE(e.onGas());
    const double trimmed = petrol50 * e.ecuTrim();
    EXPECT_GT(e.ecuTrim(), 1.15) << "the factory map is lean for this car";
    EXPECT_NEAR(e.tables().value(true, 50), trimmed, 0.08) << "the gas table holds the trimmed petrol time";
    EXPECT_NEAR(e.tables().value(false, 50), petrol50, 0.08) << "the petrol table kept what it had";
}

TEST(ControllerLearning, NothingLearnedColdStoppedOrWhileMapMoves)
{
    {
        EngineModel cold(3); // open loop for its first 20 s
        holdMap(cold, flatMap(100, false), 50, 15 * S);
        EXPECT_EQ(cold.tables().filled(false), 0);
    }
    {
        EngineModel stopped(3);
        stopped.setWarm();
        stopped.stopEngine();
        holdMap(stopped, flatMap(100, false), 50, 5 * S);
        EXPECT_EQ(stopped.tables().filled(false), 0);
    }
    {
        // MAP swept from 30 to 90 kPa in 3 s: never steady.
        EngineModel sweeping(3);
        sweeping.setWarm();
        const SettingsBlock b = flatMap(100, false);
        holdMap(sweeping, b, 30, 5 * S);
        const int highest = sweeping.tables().last(false);
        ASSERT_GE(highest, 30);
        for (int i = 0; i <= 30; ++i)
            holdMap(sweeping, b, 30 + 2 * i, 100 * Ms);
        EXPECT_EQ(sweeping.tables().last(false), highest) << "nothing learned on the way up";
    }
}

// --- the car's ratio as a curve ----------------------------------------------------

struct CurveCase
{
    std::string name;
    QString text;
    bool valid;
    std::vector<std::pair<double, double>> at = {}; // petrol ms, ratio

    friend void PrintTo(const CurveCase &c, std::ostream *os) { *os << c.name; }
};

class RatioCurveText : public ::testing::TestWithParam<CurveCase>
{
};

TEST_P(RatioCurveText, ParsesAndInterpolates)
{
    const CurveCase &c = GetParam();
    const std::optional<RatioCurve> curve = RatioCurve::parse(c.text);
    ASSERT_EQ(curve.has_value(), c.valid);
    for (const auto &[ms, ratio] : c.at)
        EXPECT_NEAR(curve->at(ms), ratio, 1e-9) << ms << " ms";
}

INSTANTIATE_TEST_SUITE_P(
    Sim, RatioCurveText,
    ::testing::Values(
        CurveCase{"FourPoints", "2:1.18,6:1.10,10:1.24,16:1.05", true,
                  {{1.0, 1.18}, {2.0, 1.18}, {4.0, 1.14}, {6.0, 1.10}, {8.0, 1.17}, {13.0, 1.145}, {20.0, 1.05}}},
        CurveCase{"OnePointIsFlat", "3:1.2", true, {{1.0, 1.2}, {25.0, 1.2}}},
        CurveCase{"SpacesAllowed", " 2 : 1.1 , 4 : 1.3 ", true, {{3.0, 1.2}}},
        CurveCase{"TimesMustRise", "6:1.1,2:1.2", false}, CurveCase{"RepeatedTime", "2:1.1,2:1.2", false},
        CurveCase{"RatioTooLow", "2:0.4", false}, CurveCase{"RatioTooHigh", "2:2.6", false},
        CurveCase{"NoColon", "2-1.1", false}, CurveCase{"Empty", "", false}, CurveCase{"NotANumber", "a:1.1", false}),
    [](const auto &info) { return info.param.name; });

TEST(ControllerLearning, TheTrimFollowsTheRatioCurve)
{
    // 4 ms needs 1.14 on this curve, 6 ms 1.10; the map gives 1.00.
    EngineModel e(3);
    e.setRatioCurve(*RatioCurve::parse(QStringLiteral("2:1.18,6:1.10,10:1.24,16:1.05")));
    e.setWarm();
    const SettingsBlock b = flatMap(100, true);
    for (double ms : {4.0, 6.0}) {
        const double map = (ms - 0.5) / 0.072;
        holdMap(e, b, map, 30 * S);
        ASSERT_TRUE(e.onGas());
        EXPECT_NEAR(e.ecuTrim(), e.trueRatioAt(EngineModel::petrolMsAt(e.mapKpa())), 0.01) << ms << " ms";
        EXPECT_NEAR(e.trueRatioAt(ms), ms == 4.0 ? 1.14 : 1.10, 1e-9);
    }
    e.setTrueRatio(1.2);
    EXPECT_TRUE(e.ratioCurve().empty()) << "a plain ratio replaces the curve";
}

// --- the road cycle ----------------------------------------------------------------

TEST(DriveCycle, RoadHoldsEveryMapFrom25To95)
{
    const DriveCycle c = DriveCycle::road();
    std::set<int> maps;
    double length = 0;
    for (const DriveCycle::Step &s : c.steps()) {
        maps.insert(int(s.mapKpa));
        length += s.seconds;
        EXPECT_GE(s.seconds, 4.0);
    }
    for (int m = 25; m <= 95; ++m)
        EXPECT_TRUE(maps.count(m)) << m << " kPa";
    EXPECT_DOUBLE_EQ(c.lengthS(), length);
    EXPECT_DOUBLE_EQ(c.lengthS(), 312);
    EXPECT_EQ(c.stepAt(0), 0);
    EXPECT_EQ(c.stepAt(c.lengthS() - 0.01), int(c.steps().size()) - 1);
    EXPECT_EQ(c.stepAt(c.lengthS() + 0.01), 0) << "the cycle repeats";
    EXPECT_FALSE(DriveCycle::byName(QStringLiteral("track")).has_value());
}

TEST(DriveCycle, WithSpeedAFewSecondsOfClockFillBothTables)
{
    SimOptions o;
    o.warm = true;
    o.speed = 100;
    Simulator sim(o);
    SimConsole console(sim);
    qint64 t = 0;
    sim.tick(t);
    auto clock = [&](double seconds) {
        for (const qint64 end = t + qint64(seconds * S); t < end;) {
            t += 100 * Ms;
            sim.tick(t);
        }
    };
    for (bool gas : {false, true}) {
        ASSERT_FALSE(console.execute(gas ? QStringLiteral("fuel gas") : QStringLiteral("fuel petrol")).startsWith("error"));
        clock(0.2); // 20 s of engine time: on the fuel asked for
        EXPECT_EQ(sim.engine().onGas(), gas);
        const QString answer = console.execute(QStringLiteral("drive road 5.2"));
        EXPECT_TRUE(answer.startsWith(QLatin1String("driving the road cycle"))) << qPrintable(answer);
        EXPECT_TRUE(sim.status().contains(QLatin1String("driving 0 of 312 s"))) << qPrintable(sim.status());
        clock(3.2);
        EXPECT_FALSE(sim.driving());
        EXPECT_EQ(sim.engine().load(), 0) << "idling after the drive";
        for (int m = 25; m <= 95; ++m)
            EXPECT_GT(sim.engine().tables().entry(gas, m), 0) << (gas ? "gas " : "petrol ") << m << " kPa";
    }
    EXPECT_EQ(sim.block().at(SettingsBlock::FuelRequest), 3);
    const QString tables = console.execute(QStringLiteral("tables"));
    EXPECT_TRUE(tables.startsWith(QLatin1String("tables: petrol "))) << qPrintable(tables);
    EXPECT_TRUE(tables.contains(QLatin1String("95 kPa"))) << qPrintable(tables);

    // The report: one entry per step, "MAP:fuel:trim".
    const QString report = console.execute(QStringLiteral("drive report"));
    ASSERT_TRUE(report.startsWith(QLatin1String("drive report (MAP kPa:fuel:ECU trim %): 35:gas:"))) << qPrintable(report);
    EXPECT_EQ(report.count(QLatin1String(":gas:")), int(DriveCycle::road().steps().size()));
    EXPECT_EQ(console.execute(QStringLiteral("tables clear")), QStringLiteral("tables cleared"));
    EXPECT_EQ(sim.engine().tables().filled(false), 0);
    for (const char *bad : {"drive", "drive road", "drive road x", "drive track 3", "fuel lpg", "ratio-curve 6:1,2:1",
                            "tables all"})
        EXPECT_TRUE(console.execute(QString::fromLatin1(bad)).startsWith(QLatin1String("error"))) << bad;
}

} // namespace
