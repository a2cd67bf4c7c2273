// The simulated car around the controller: its own gas/petrol ratio, the
// petrol ECU's trim against a wrong gas dose, the controller learning its
// multiplier in calibration mode, and MAP and P1 following speed and load.
#include "SimDrive.h"
#include "sim/EngineModel.h"
#include "sim/SettingsBlock.h"
#include "sim/Simulator.h"

#include "link/CommandBodies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr int64_t Ms = 1000;
constexpr int64_t S = 1000000;

void run(EngineModel &e, const SettingsBlock &b, int64_t us)
{
    for (int64_t t = 0; t < us; t += 100 * Ms)
        e.advance(100 * Ms, b);
}

SettingsBlock withFlatMap(int value)
{
    SettingsBlock b = SettingsBlock::factory();
    for (int k = 0; k < SettingsBlock::MapPoints; ++k)
        b.set(SettingsBlock::CorrectionMap + k, uint8_t(value));
    return b;
}

// Mean of a few samples' petrol time (cylinder 1 to 4) and lambda voltage.
struct Means
{
    double petrolMs = 0, lambdaV = 0, p1Bar = 0, mapKpa = 0;
    int multiplier = 0;
};

Means sampleMeans(EngineModel &e, const SettingsBlock &b, int n = 50)
{
    Means m;
    for (int i = 0; i < n; ++i) {
        e.advance(240 * Ms, b);
        const EngineSnapshot s = e.sample(b);
        m.petrolMs += (s.petrolMs[0] + s.petrolMs[1] + s.petrolMs[2] + s.petrolMs[3]) / 4 / n;
        m.lambdaV += (s.lambda1V + s.lambda2V) / 2 / n;
        m.p1Bar += s.p1Bar / n;
        m.mapKpa += s.mapKpa / n;
        m.multiplier = s.multiplier;
    }
    return m;
}

// --- the ECU's trim against the gas dose ------------------------------------

struct DoseCase
{
    std::string name;
    double trueRatio;
    int mapValue;      // flat correction map
    uint8_t gasMask;   // cylinders on gas (0: petrol requested)
    double trim;       // where the ECU's trim settles
    double mixture;    // what is left of the error after the trim
};

void PrintTo(const DoseCase &c, std::ostream *os) { *os << c.name; }

class GasDose : public ::testing::TestWithParam<DoseCase>
{
};

TEST_P(GasDose, EcuTrimsThePetrolTimeAgainstAWrongGasDose)
{
    const DoseCase &c = GetParam();
    SettingsBlock b = withFlatMap(c.mapValue);
    if (c.gasMask)
        b.set(SettingsBlock::ActiveInjectors, c.gasMask);
    else
        b.set(SettingsBlock::FuelRequest, 2);
    EngineModel e(5);
    e.setTrueRatio(c.trueRatio);
    e.setWarm();
    run(e, b, 40 * S);
    ASSERT_EQ(e.onGas(), c.gasMask != 0);

    EXPECT_NEAR(e.ecuTrim(), c.trim, 0.005);
    EXPECT_NEAR(e.mixture(), c.mixture, 0.005);
    const Means m = sampleMeans(e, b);
    // The controller sees the trimmed petrol time (3.02 ms untrimmed at idle).
    EXPECT_NEAR(m.petrolMs, EngineModel::petrolMsAt(35) * c.trim, 0.06);
    EXPECT_EQ(m.multiplier, c.mapValue) << "outside calibration mode the map's value is in use";
    if (c.mixture < 0.95)
        EXPECT_LT(m.lambdaV, 0.3) << "a lean mixture pulls the probes down";
    else
        EXPECT_NEAR(m.lambdaV, 0.5, 0.12) << "the probes swing about the middle";
}

// Trim with g of n cylinders on gas: n / ((n - g) + g * map / ratio), the
// ratio taken at the idle petrol time of 3.02 ms (1.18 - 0.012 * 0.02).
INSTANTIATE_TEST_SUITE_P(
    Car, GasDose,
    ::testing::Values(DoseCase{"LeanMapIsEnriched", 1.18, 100, 0x0F, 1.1798, 1.0},
                      DoseCase{"RichMapIsLeaned", 0.90, 100, 0x0F, 0.8998, 1.0},
                      DoseCase{"FittingMapNeedsNoTrim", 1.18, 118, 0x0F, 1.0, 1.0},
                      DoseCase{"HalfTheCylindersHalfTheTrim", 1.18, 100, 0x05, 1.0825, 1.0},
                      DoseCase{"BeyondTheTrimLimitStaysLean", 1.50, 100, 0x0F, 1.25, 1.25 / 1.4998},
                      DoseCase{"PetrolNeedsNoTrim", 1.18, 100, 0x00, 1.0, 1.0}),
    [](const auto &info) { return info.param.name; });

// --- the controller learning its multiplier ------------------------------

struct LearnCase
{
    std::string name;
    double trueRatio;
    uint8_t gasMask;
};

void PrintTo(const LearnCase &c, std::ostream *os) { *os << c.name; }

class CalibrationMode : public ::testing::TestWithParam<LearnCase>
{
};

TEST_P(CalibrationMode, LearnsTheCarsRatioFromTheEcuTrim)
{
    const LearnCase &c = GetParam();
    SettingsBlock b = withFlatMap(100);
    b.set(SettingsBlock::ActiveInjectors, c.gasMask);
    EngineModel e(7);
    e.setTrueRatio(c.trueRatio);
    e.setWarm();
    e.setCalibrating(true);
    run(e, b, 1 * S);
    EXPECT_NEAR(e.learnedMultiplier(), 100, 0.5) << "it starts from the map";
    run(e, b, 90 * S);
    ASSERT_TRUE(e.onGas());
    const double ratio = e.trueRatioAt(EngineModel::petrolMsAt(35)) * 100;
    EXPECT_NEAR(e.learnedMultiplier(), ratio, 0.5);
    EXPECT_NEAR(e.ecuTrim(), 1, 0.005) << "with the learned multiplier the ECU needs no trim";
    const Means m = sampleMeans(e, b, 5);
    EXPECT_EQ(m.multiplier, std::lround(ratio)) << "the live frame reports the learned multiplier";

    e.setCalibrating(false);
    EXPECT_EQ(e.learnedMultiplier(), 0);
    EXPECT_EQ(sampleMeans(e, b, 1).multiplier, 100) << "out of calibration mode the map is in use again";
}

INSTANTIATE_TEST_SUITE_P(Car, CalibrationMode,
                         ::testing::Values(LearnCase{"AllCylinders", 1.18, 0x0F}, LearnCase{"OneCylinder", 1.18, 0x01},
                                           LearnCase{"AlternateCylinders", 1.25, 0x05},
                                           LearnCase{"RatioBelowTheMap", 0.92, 0x0F},
                                           LearnCase{"BeyondTheTrimLimit", 1.45, 0x0F}),
                         [](const auto &info) { return info.param.name; });

// --- MAP and P1 follow the engine ------------------------------------------

struct LoadCase
{
    std::string name;
    int rpm;  // 0: own idle
    double load;
    bool turbo;
    double mapKpa; // 35 + load x 0.63 (x 1.65 turbo) + 0.001 a rpm above idle
    double p1Bar;  // 1.00 less the reducer's sag under the gas flow
};

void PrintTo(const LoadCase &c, std::ostream *os) { *os << c.name; }

class EngineLoad : public ::testing::TestWithParam<LoadCase>
{
};

TEST_P(EngineLoad, MapAndGasPressureFollowSpeedAndLoad)
{
    const LoadCase &c = GetParam();
    SettingsBlock b = SettingsBlock::factory();
    b.setBit(SettingsBlock::Flags34, 3, c.turbo);
    EngineModel e(11);
    e.setWarm();
    run(e, b, 10 * S);
    e.setTargetRpm(c.rpm);
    e.setLoad(c.load);
    run(e, b, 40 * S);
    ASSERT_TRUE(e.onGas());
    const Means m = sampleMeans(e, b);
    EXPECT_NEAR(m.mapKpa, c.mapKpa, 1.5);
    EXPECT_NEAR(m.p1Bar, c.p1Bar, 0.01);
    EXPECT_NEAR(m.petrolMs, EngineModel::petrolMsAt(c.mapKpa) * e.ecuTrim(), 0.1) << "the petrol time follows MAP";
}

INSTANTIATE_TEST_SUITE_P(Car, EngineLoad,
                         ::testing::Values(LoadCase{"Idle", 0, 0, false, 35.0, 0.997},
                                           LoadCase{"HalfLoad3000", 3000, 50, false, 68.7, 0.979},
                                           LoadCase{"FullLoad6000", 6000, 100, false, 103.2, 0.941},
                                           LoadCase{"TurboFullLoad6000", 6000, 100, true, 205.2, 0.892}),
                         [](const auto &info) { return info.param.name; });

// --- through the line ----------------------------------------------------------

class CarOnTheLine : public ::testing::Test
{
protected:
    CarOnTheLine() : sim(options()) {}
    static SimOptions options()
    {
        SimOptions o;
        o.warm = true;
        return o;
    }
    QByteArray ask(const QByteArray &body) { return SimTest::ask(sim, body, t); }
    // Polls every 240 ms for `us`; returns the last live frame.
    QByteArray pollFor(int64_t us)
    {
        QByteArray last;
        for (const int64_t end = t + us; t < end;) {
            t += 240 * Ms;
            sim.tick(t);
            last = ask(CommandBodies::poll());
        }
        return last;
    }
    static int petrolTenths(const QByteArray &f) { return uint8_t(f[6]) + 256 * uint8_t(f[7]); }

    Simulator sim;
    qint64 t = 1 * S;
};

TEST_F(CarOnTheLine, AWrittenMapThatFitsTheCarTakesTheTrimAway)
{
    QByteArray f = pollFor(40 * S);
    ASSERT_EQ(uint8_t(f[5]), 1) << "on gas";
    EXPECT_NEAR(petrolTenths(f), 36, 1) << "3.0 ms trimmed up by the lean flat map";
    EXPECT_NEAR(sim.engine().ecuTrim(), 1.18, 0.01);

    QByteArray map(1, char(0x0B));
    map.append(QByteArray(SettingsBlock::MapPoints, char(118)));
    ask(map);
    f = pollFor(20 * S);
    EXPECT_NEAR(sim.engine().ecuTrim(), 1.0, 0.01);
    EXPECT_NEAR(petrolTenths(f), 30, 1) << "the petrol time on gas is the one on petrol again";
    EXPECT_EQ(uint8_t(f[28]), 118);
}

TEST_F(CarOnTheLine, MapWriteEndsCalibrationModeAndItsLearnedMultiplier)
{
    ask(QByteArray(1, char(0x25)));
    QByteArray f = pollFor(60 * S);
    ASSERT_TRUE(sim.engine().calibrating());
    EXPECT_EQ(uint8_t(f[28]), 118) << "learned from the car";
    QByteArray map(1, char(0x0B));
    map.append(QByteArray(SettingsBlock::MapPoints, char(110)));
    ask(map);
    EXPECT_FALSE(sim.engine().calibrating());
    EXPECT_EQ(uint8_t(pollFor(1 * S)[28]), 110) << "the new map is in use";
}

TEST_F(CarOnTheLine, EveryAnswerMovesThePositionCounterOn)
{
    const int first = uint8_t(ask(CommandBodies::poll())[36]);
    const int afterCommand = uint8_t(ask(CommandBodies::requestGas(0x0F))[36]);
    const int afterPoll = uint8_t(ask(CommandBodies::poll())[36]);
    EXPECT_EQ(afterCommand, (first + 3) % 258);
    EXPECT_EQ(afterPoll, (first + 6) % 258);
}

TEST(SimSpeed, EngineTimeRunsFasterThanTheClock)
{
    SimOptions fast;
    fast.speed = 20;
    Simulator sim(fast);
    sim.engine().setTemperatures(20, 20);
    sim.tick(0);
    for (qint64 t = 100 * Ms; t <= 15 * S; t += 100 * Ms)
        sim.tick(t);
    // 15 s of clock are 300 s of engine: warm by now (it takes minutes).
    EXPECT_GT(sim.engine().reducerC(), 75);
}

} // namespace
