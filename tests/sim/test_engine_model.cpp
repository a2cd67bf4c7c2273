#include "sim/EngineModel.h"
#include "sim/LiveFrameWriter.h"
#include "sim/SettingsBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr int64_t Ms = 1000;
constexpr int64_t S = 1000000;

// Runs the engine in 100 ms steps until `until` holds or `limitUs` passes;
// returns the time it took, or -1.
int64_t runUntil(EngineModel &e, const SettingsBlock &b, int64_t limitUs, const std::function<bool()> &until)
{
    for (int64_t t = 0; t <= limitUs; t += 100 * Ms) {
        if (until())
            return t;
        e.advance(100 * Ms, b);
    }
    return -1;
}

void run(EngineModel &e, const SettingsBlock &b, int64_t us)
{
    runUntil(e, b, us, [] { return false; });
}

struct Range
{
    double lo = 1e9, hi = -1e9, sum = 0;
    int n = 0;
    void add(double v)
    {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        sum += v;
        ++n;
    }
    double mean() const { return sum / n; }
};

} // namespace

TEST(LiveFrameWriter, LaysOutEveryField)
{
    EngineSnapshot s;
    s.ignition = true;
    s.onGas = true;
    s.petrolMs = {3.0, 3.1, 0, 0, 0, 30.0, 2.5, 12.8};
    s.gasMs = 65.536 + 0.256 + 5 * 0.00128;
    s.rpm = 812;
    s.lambda1V = 0.9;
    s.lambda2V = 0.1;
    s.p1Bar = 1.0;
    s.mapKpa = 256;
    s.multiplier = 117;
    s.supplyV = 13.8;
    s.tankV = 2.0;
    s.tankStep = 2;
    s.reducerC = -1;
    s.gasC = 127;
    s.faultFlags = 0xE8;
    s.injectorFlags = 0xFE;
    s.supplyFlags = 0xFD;
    s.position = 36;
    s.petrolEntries = {30, 31, 32};
    s.gasEntries = {33, 34, 35};
    s.curveSelector = 2;
    const QByteArray f = LiveFrameWriter::encode(s, 0x55);
    auto b = [&](int i) { return int(uint8_t(f[i])); };
    ASSERT_EQ(f.size(), 57);
    EXPECT_EQ(b(0), 0xAA);
    EXPECT_EQ(b(1) * 256 + b(2), 57);
    EXPECT_EQ(b(3), 0x55);
    EXPECT_EQ(b(4), 1);
    EXPECT_EQ(b(5), 1);
    EXPECT_EQ(b(6) + 256 * b(7), 30) << "cylinder 1, 0.1 ms, low byte first";
    EXPECT_EQ(b(8) + 256 * b(9), 31);
    EXPECT_EQ(b(16), 0x2C) << "30.0 ms is 2C 01";
    EXPECT_EQ(b(17), 0x01);
    EXPECT_EQ(b(51) + 256 * b(52), 25) << "cylinder 7";
    EXPECT_EQ(b(53) + 256 * b(54), 128) << "cylinder 8";
    EXPECT_EQ(b(18), 1);
    EXPECT_EQ(b(19), 1);
    EXPECT_EQ(b(20), 5);
    EXPECT_EQ(b(21), 8);
    EXPECT_EQ(b(22), 46) << "0.9 V at 0.0196 V a unit";
    EXPECT_EQ(b(55), 5);
    EXPECT_EQ(b(23) * 256 + b(24), 100) << "P1 high byte first";
    EXPECT_EQ(b(25), 1) << "MAP 256 kPa is 01 00";
    EXPECT_EQ(b(26), 0);
    EXPECT_EQ(b(28), 117);
    EXPECT_NEAR(b(29) * 23.0 / 375 + 0.7, 13.8, 0.04);
    EXPECT_EQ(b(30), 102);
    EXPECT_EQ(b(31), 2);
    EXPECT_EQ(b(32), 0xFF) << "-1 degree";
    EXPECT_EQ(b(33), 0x7F);
    EXPECT_EQ(b(34), 0xE8);
    EXPECT_EQ(b(35), 0xFE);
    EXPECT_EQ(b(48), 0xFD);
    EXPECT_EQ(b(36), 36);
    EXPECT_EQ(b(38), 30);
    EXPECT_EQ(b(40), 31);
    EXPECT_EQ(b(41), 32);
    EXPECT_EQ(b(42), 33);
    EXPECT_EQ(b(44), 34);
    EXPECT_EQ(b(46), 35);
    EXPECT_EQ(b(47), 2);
    for (int unused : {27, 37, 39, 43, 45, 49, 50})
        EXPECT_EQ(b(unused), 0) << unused;
}

TEST(LiveFrameWriter, GasTimeSplitsIntoItsThreeUnits)
{
    struct Case
    {
        double ms;
        uint8_t coarse, middle, fine;
    };
    const Case cases[] = {
        {0.256, 0, 1, 0},
        {0.00128 * 199, 0, 0, 199},
        {3.5, 0, 13, 134}, // 3.5 / 0.00128 = 2734.4 -> 2734 = 13 * 200 + 134
        {65.536, 1, 0, 0},
    };
    for (const Case &c : cases) {
        uint8_t a, m, f;
        LiveFrameWriter::splitGasTime(c.ms, a, m, f);
        EXPECT_EQ(a, c.coarse) << c.ms;
        EXPECT_EQ(m, c.middle) << c.ms;
        EXPECT_EQ(f, c.fine) << c.ms;
        EXPECT_NEAR(a * 65.536 + m * 0.256 + f * 0.00128, c.ms, 0.00064) << c.ms;
    }
}

TEST(EngineModel, WarmIdleLooksLikeACar)
{
    // A calibrated car: its map fits the gas ratio, so the petrol ECU needs
    // no trim on gas (test_car_model shows what a map that does not fit does).
    SettingsBlock b = SettingsBlock::factory();
    for (int k = 0; k < SettingsBlock::MapPoints; ++k)
        b.set(SettingsBlock::CorrectionMap + k, uint8_t(std::lround(EngineModel::DefaultTrueRatio * 100)));
    EngineModel e(3);
    e.setWarm();
    run(e, b, 10 * S);
    Range rpm, map, p1, volt, petrol, lambda1, lambda2, red;
    for (int i = 0; i < 100; ++i) {
        e.advance(240 * Ms, b);
        const EngineSnapshot s = e.sample(b);
        rpm.add(s.rpm);
        map.add(s.mapKpa);
        p1.add(s.p1Bar);
        volt.add(s.supplyV);
        petrol.add(s.petrolMs[0]);
        lambda1.add(s.lambda1V);
        lambda2.add(s.lambda2V);
        red.add(s.reducerC);
        EXPECT_TRUE(s.ignition);
        EXPECT_GT(s.petrolMs[3], 0) << "four cylinders";
        EXPECT_EQ(s.petrolMs[4], 0) << "no fifth cylinder";
        EXPECT_EQ(s.faultFlags, 0xFF);
    }
    EXPECT_NEAR(rpm.mean(), 800, 30);
    EXPECT_GT(rpm.hi - rpm.lo, 20) << "idle has noise";
    EXPECT_NEAR(map.mean(), 35, 3);
    EXPECT_NEAR(p1.mean(), 1.00, 0.05);
    EXPECT_NEAR(volt.mean(), 13.8, 0.1);
    EXPECT_NEAR(petrol.mean(), 3.0, 0.3);
    EXPECT_NEAR(red.mean(), 80, 2);
    for (const Range *l : {&lambda1, &lambda2}) {
        EXPECT_GE(l->lo, 0.05);
        EXPECT_LE(l->hi, 0.95);
        EXPECT_LT(l->lo, 0.25) << "lambda swings lean";
        EXPECT_GT(l->hi, 0.75) << "and rich";
    }
}

TEST(EngineModel, ColdEngineWarmsUpOverAFewMinutes)
{
    const SettingsBlock b = SettingsBlock::factory();
    EngineModel e;
    EXPECT_NEAR(e.reducerC(), EngineModel::AmbientC, 0.1);
    run(e, b, 30 * S);
    EXPECT_LT(e.reducerC(), 50);
    EXPECT_GT(e.reducerC(), 30);
    EXPECT_LT(e.gasC(), e.reducerC()) << "gas follows the reducer";
    run(e, b, 270 * S);
    EXPECT_GT(e.reducerC(), 75);
    EXPECT_GT(e.gasC(), 65);
    e.stopEngine();
    run(e, b, 60 * S);
    EXPECT_LT(e.reducerC(), 75) << "a stopped engine cools";
    EXPECT_EQ(e.sample(b).rpm, 0);
}

// The switch to gas honours temperature, the RPM threshold and the
// switch-over time; the way back honours the maximum RPM and the pressure.
TEST(EngineModel, SwitchesFuelByTheSettings)
{
    const SettingsBlock factory = SettingsBlock::factory();
    const int64_t switchOver = factory.at(SettingsBlock::SwitchOverTime) * 500 * Ms;
    const int64_t sequence = factory.at(SettingsBlock::CylinderSequence) * 10 * Ms * 4;

    {
        SCOPED_TRACE("warm: gas after switch-over time plus cylinder sequence");
        EngineModel e;
        e.setWarm();
        const int64_t t = runUntil(e, factory, 60 * S, [&] { return e.onGas(); });
        EXPECT_GE(t, switchOver + sequence);
        EXPECT_LE(t, switchOver + sequence + 200 * Ms);
        EXPECT_GT(e.sample(factory).gasMs, 0);
    }
    {
        SCOPED_TRACE("too cold for gas");
        SettingsBlock b = factory;
        b.set(SettingsBlock::TempToGas, 90);
        EngineModel e;
        e.setWarm();
        EXPECT_EQ(runUntil(e, b, 30 * S, [&] { return e.onGas(); }), -1);
        EXPECT_EQ(e.sample(b).gasMs, 0);
    }
    {
        SCOPED_TRACE("petrol requested");
        SettingsBlock b = factory;
        b.set(SettingsBlock::FuelRequest, 2);
        EngineModel e;
        e.setWarm();
        EXPECT_EQ(runUntil(e, b, 30 * S, [&] { return e.onGas(); }), -1);
    }
    {
        SCOPED_TRACE("RPM threshold must have been passed once since the start");
        SettingsBlock b = factory;
        b.set(SettingsBlock::RpmToGas, 25);
        EngineModel e;
        e.stopEngine();
        e.startEngine();
        e.setTemperatures(80, 70);
        EXPECT_EQ(runUntil(e, b, 20 * S, [&] { return e.onGas(); }), -1) << "idle stays below 2500";
        e.setTargetRpm(2700);
        run(e, b, 2 * S);
        e.setTargetRpm(0);
        EXPECT_GT(runUntil(e, b, 20 * S, [&] { return e.onGas(); }), 0);
        EXPECT_LT(e.rpm(), 1000) << "and then it stays on gas at idle";
    }
    {
        SCOPED_TRACE("above the maximum RPM on petrol, back to gas below it");
        SettingsBlock b = factory;
        b.set(SettingsBlock::RpmMaxPetrol, 30);
        EngineModel e;
        e.setWarm();
        ASSERT_GT(runUntil(e, b, 30 * S, [&] { return e.onGas(); }), 0);
        e.setTargetRpm(3600);
        EXPECT_GT(runUntil(e, b, 10 * S, [&] { return !e.onGas(); }), 0);
        e.setTargetRpm(0);
        const int64_t back = runUntil(e, b, 30 * S, [&] { return e.onGas(); });
        EXPECT_GT(back, 0);
        EXPECT_LT(back, switchOver) << "only the cylinder sequence is repeated";
    }
}

TEST(EngineModel, LowGasPressureTripsToPetrolAfterTheFaultTime)
{
    SettingsBlock slow = SettingsBlock::factory();
    slow.set(SettingsBlock::PressureFaultTime, 150); // 1.5 s
    SettingsBlock atFirstDrop = slow;
    atFirstDrop.setBit(SettingsBlock::Flags558, 0, true);

    int64_t tripTime[2] = {};
    const SettingsBlock *blocks[2] = {&slow, &atFirstDrop};
    for (int i = 0; i < 2; ++i) {
        EngineModel e;
        e.setWarm();
        ASSERT_GT(runUntil(e, *blocks[i], 30 * S, [&] { return e.onGas(); }), 0);
        e.takeNewFaultCodes();
        e.setFault(EngineFault::PressureLow, true);
        tripTime[i] = runUntil(e, *blocks[i], 30 * S, [&] { return !e.onGas(); });
        ASSERT_GT(tripTime[i], 0);
        EXPECT_TRUE(e.pressureTrip());
        EXPECT_EQ(e.sample(*blocks[i]).faultFlags & 0x10, 0) << "pressure too low, active low";
        const QList<uint8_t> codes = e.takeNewFaultCodes();
        EXPECT_TRUE(codes.contains(4)) << "pressure too low is registered";
        e.setFault(EngineFault::PressureLow, false);
        run(e, *blocks[i], 10 * S);
        EXPECT_FALSE(e.onGas()) << "stays on petrol until gas is asked for again";
        e.fuelRequested(true);
        EXPECT_GT(runUntil(e, *blocks[i], 30 * S, [&] { return e.onGas(); }), 0);
    }
    EXPECT_GE(tripTime[0] - tripTime[1], 1 * S) << "the first drop trips at once, otherwise after 1.5 s";
}

TEST(EngineModel, ForcedFaultsAreActiveLowAndRegisteredOnce)
{
    struct Case
    {
        EngineFault::Id id;
        int cylinder;
        uint8_t flags34, flags35, flags48;
        int logCode;
    };
    const Case cases[] = {
        {EngineFault::Voltage, 0, 0xFB, 0xFF, 0xFF, 2},
        {EngineFault::PressureHigh, 0, 0xF7, 0xFF, 0xFF, 3},
        {EngineFault::IgnitionVoltage, 0, 0xDF, 0xFF, 0xFF, 5},
        {EngineFault::PetrolInjection, 0, 0xBF, 0xFF, 0xFF, 6},
        {EngineFault::PetrolSystem, 0, 0x7F, 0xFF, 0xFF, 7},
        {EngineFault::Injector, 3, 0xFF, 0xFB, 0xFF, 0},
        {EngineFault::Settings, 0, 0xFF, 0xFF, 0xFE, -1},
        {EngineFault::Supply, 0, 0xFF, 0xFF, 0xFD, 8},
    };
    const SettingsBlock b = SettingsBlock::factory();
    for (const Case &c : cases) {
        EngineModel e;
        e.setWarm();
        e.setFault(c.id, true, c.cylinder);
        e.setFault(c.id, true, c.cylinder);
        const EngineSnapshot s = e.sample(b);
        EXPECT_EQ(s.faultFlags, c.flags34) << EngineFault::info(c.id).name;
        EXPECT_EQ(s.injectorFlags, c.flags35) << EngineFault::info(c.id).name;
        EXPECT_EQ(s.supplyFlags, c.flags48) << EngineFault::info(c.id).name;
        const QList<uint8_t> codes = e.takeNewFaultCodes();
        if (c.logCode < 0)
            EXPECT_TRUE(codes.isEmpty()) << EngineFault::info(c.id).name;
        else
            EXPECT_EQ(codes, QList<uint8_t>{uint8_t(c.logCode)}) << EngineFault::info(c.id).name;
        e.setFault(c.id, false, c.cylinder);
        const EngineSnapshot healthy = e.sample(b);
        EXPECT_EQ(healthy.faultFlags & healthy.injectorFlags & healthy.supplyFlags, 0xFF) << EngineFault::info(c.id).name;
    }
}

// The tables used to be filled from a formula (gas = petrol x the map at the
// petrol time) at every position at once; they are now learned while the
// engine runs, so what is streamed is checked against what was learned, and
// the learning itself is checked below.
TEST(EngineModel, StreamsTheLearnedTablesThreeEntriesAFrame)
{
    SettingsBlock b = SettingsBlock::factory();
    b.set(SettingsBlock::CurveSelector, 2);
    b.set(SettingsBlock::FuelRequest, 2); // petrol
    EngineModel e;
    e.setWarm();
    for (int map : {30, 45, 60})
        for (int t = 0; t < 60; ++t) { // 6 s at each MAP
            e.setLoad(EngineModel::loadFor(map, EngineModel::IdleRpm, false));
            e.advance(100 * Ms, b);
        }
    ASSERT_GT(e.tables().filled(false), 2);
    QList<int> positions;
    for (int i = 0; i < 90; ++i) {
        const EngineSnapshot s = e.sample(b);
        positions << s.position;
        EXPECT_EQ(s.curveSelector, 2);
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(s.petrolEntries[size_t(j)], e.tables().entry(false, s.position + j)) << s.position + j;
            EXPECT_EQ(s.gasEntries[size_t(j)], 0) << "nothing learned on gas";
        }
    }
    EXPECT_EQ(positions.mid(0, 4), (QList<int>{0, 3, 6, 9}));
    EXPECT_EQ(positions[85], 255);
    EXPECT_EQ(positions[86], 0) << "the counter wraps after 255";
    EXPECT_NEAR(e.tables().entry(false, 45), std::lround(EngineModel::petrolMsAt(45) * 10), 1);

    // Gas time = petrol time x the map value at that petrol time.
    b.set(SettingsBlock::FuelRequest, 3);
    for (int k = 0; k < SettingsBlock::MapPoints; ++k)
        b.set(SettingsBlock::CorrectionMap + k, 120);
    ASSERT_GT(runUntil(e, b, 30 * S, [&] { return e.onGas(); }), -1);
    run(e, b, 1 * S);
    const EngineSnapshot s = e.sample(b);
    EXPECT_EQ(s.multiplier, 120);
    const double petrolMean = (s.petrolMs[0] + s.petrolMs[1] + s.petrolMs[2] + s.petrolMs[3]) / 4;
    EXPECT_NEAR(s.gasMs, petrolMean * 1.2, 0.05);
}

TEST(EngineModel, LevelStepFollowsTheThresholdsAndSensorType)
{
    SettingsBlock b = SettingsBlock::factory();
    struct Case
    {
        uint8_t type;
        double level;
        int step;
    };
    // 0-90 Ohm: voltage rises with the level (0.5 V empty, 3.0 V full).
    // 90-0 Ohm: it falls, with thresholds given from the top.
    const Case cases[] = {{0, 0, 0}, {0, 30, 1}, {0, 60, 2}, {0, 75, 3}, {0, 100, 4},
                          {2, 0, 0}, {2, 30, 1}, {2, 55, 2}, {2, 100, 4}};
    for (const Case &c : cases) {
        if (c.type == 2) {
            b.set(25, 143), b.set(26, 112), b.set(27, 76), b.set(28, 36), b.set(29, 2);
        }
        EngineModel e;
        e.setTankLevel(c.level);
        EXPECT_EQ(e.sample(b).tankStep, c.step) << int(c.type) << " at " << c.level << " %";
    }
}
