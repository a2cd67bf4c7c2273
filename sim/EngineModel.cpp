#include "sim/EngineModel.h"

#include "sim/SettingsBlock.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {
constexpr double ReducerWarmC = 80;
constexpr double GasWarmC = 76;
constexpr int64_t StartFlareUs = 2000000;
constexpr int64_t ClosedLoopAfterUs = 20000000;
// The petrol ECU's closed loop settles a changed mixture in a few seconds;
// the controller's learning follows it a little slower so the two do not
// chase each other.
constexpr double EcuTrimTauS = 2.0;
constexpr double LearnTauS = 4.0;
// Gas needs relatively less at longer injection times (the injector's
// opening time weighs less), about a hundredth per millisecond.
constexpr double IdlePetrolMs = 3.0;
constexpr double RatioSlopePerMs = 0.012;
constexpr double LowestRatio = 0.5, HighestRatio = 2.5;
// Gas flow at which the reducer's pressure sags by a tenth: 6000 rpm with
// 15 ms gas pulses on every cylinder.
constexpr double FullFlowRpmMs = 6000.0 * 15.0;
constexpr double PressureSagAtFullFlow = 0.10;
// The controller learns a table entry only while MAP and the petrol time
// hold still: within 1 kPa and 2 % of what they were over the last second.
constexpr double SteadyTauS = 1.0;
constexpr double SteadyKpa = 1.0;
constexpr double SteadyFraction = 0.02;
constexpr double MapSensorNoiseKpa = 0.3;
constexpr double TimeSensorNoiseMs = 0.02;

double approach(double value, double target, double dtS, double tauS)
{
    return value + (target - value) * (1 - std::exp(-dtS / tauS));
}
} // namespace

EngineModel::EngineModel(uint32_t seed) : m_rng(seed), m_sensorRng(seed + 7919)
{
    // Real cylinders never read quite alike; a fixed trim per engine.
    std::uniform_real_distribution<double> trim(-0.06, 0.06);
    for (double &t : m_cylinderTrim)
        t = trim(m_rng);
}

double EngineModel::gauss(double sigma)
{
    return std::normal_distribution<double>(0, sigma)(m_rng);
}

double EngineModel::petrolMsAt(double mapKpa)
{
    return 0.5 + mapKpa * 0.072;
}

double EngineModel::loadFor(double mapKpa, double rpm, bool turbo)
{
    return (mapKpa - 35 - std::max(0.0, rpm - IdleRpm) * 0.001) / (turbo ? 1.65 : 0.63);
}

uint8_t EngineModel::multiplierAt(const SettingsBlock &block, double petrolMs)
{
    const long k = std::clamp(std::lround((petrolMs - 1) * 10) + 1, 1L, long(SettingsBlock::MapPoints));
    return block.at(SettingsBlock::CorrectionMap + int(k) - 1);
}

void EngineModel::setTrueRatio(double atIdle)
{
    m_trueRatio = std::clamp(atIdle, LowestRatio, HighestRatio);
    m_ratioCurve = {};
}

double EngineModel::trueRatioAt(double petrolMs) const
{
    if (!m_ratioCurve.empty())
        return m_ratioCurve.at(petrolMs);
    return std::clamp(m_trueRatio - RatioSlopePerMs * (petrolMs - IdlePetrolMs), LowestRatio, HighestRatio);
}

void EngineModel::setCalibrating(bool on)
{
    m_calibrating = on;
    if (!on)
        m_learned = 0;
}

double EngineModel::multiplierInUse(const SettingsBlock &block, double petrolMs) const
{
    if (m_calibrating && m_learned > 0)
        return m_learned;
    return multiplierAt(block, petrolMs);
}

void EngineModel::setIgnition(bool on)
{
    m_ignition = on;
    if (!on)
        m_running = false;
}

void EngineModel::startEngine()
{
    if (m_running)
        return;
    m_ignition = true;
    m_running = true;
    m_sinceStartUs = 0;
    m_rpm = 250;
}

void EngineModel::stopEngine()
{
    m_running = false;
}

void EngineModel::setTargetRpm(int rpm) { m_userRpm = std::max(0, rpm); }
void EngineModel::setLoad(double percent) { m_load = std::clamp(percent, LowestLoad, 100.0); }
void EngineModel::setTankLevel(double percent) { m_tank = std::clamp(percent, 0.0, 100.0); }

void EngineModel::setTemperatures(double reducerC, double gasC)
{
    m_reducerC = reducerC;
    m_gasC = gasC;
}

void EngineModel::setWarm()
{
    setTemperatures(ReducerWarmC, GasWarmC);
    // A warm engine has been driven: closed-loop lambda, and the speed
    // threshold for gas was passed long ago.
    m_sinceStartUs = std::max(m_sinceStartUs, ClosedLoopAfterUs);
    m_rpmReached = m_running;
}

void EngineModel::setFault(EngineFault::Id id, bool on, int cylinder)
{
    const EngineFault::Info &f = EngineFault::info(id);
    uint8_t *flags = f.offset == 34 ? &m_forced34 : f.offset == 35 ? &m_injectorFlags : &m_flags48;
    const int bitNo = id == EngineFault::Injector ? std::clamp(cylinder, 1, 8) - 1 : f.bit;
    const uint8_t mask = uint8_t(1u << bitNo);
    const bool wasOn = !(*flags & mask);
    *flags = on ? uint8_t(*flags & ~mask) : uint8_t(*flags | mask);
    if (on && !wasOn && f.logCode >= 0)
        m_newFaultCodes.append(uint8_t(f.logCode));
}

void EngineModel::clearFaults()
{
    m_forced34 = m_injectorFlags = m_flags48 = 0xFF;
    m_pressureTrip = false;
}

QList<uint8_t> EngineModel::takeNewFaultCodes()
{
    QList<uint8_t> out;
    out.swap(m_newFaultCodes);
    return out;
}

uint8_t EngineModel::faultFlags34() const
{
    const uint8_t pressureLow = uint8_t(1u << EngineFault::info(EngineFault::PressureLow).bit);
    return m_pressureTrip ? uint8_t(m_forced34 & ~pressureLow) : m_forced34;
}

void EngineModel::fuelRequested(bool gas)
{
    m_pressureTrip = false;
    m_lowPressureUs = 0;
    if (!gas) {
        m_onGas = false;
        m_conditionsUs = 0;
    }
}

double EngineModel::targetRpm() const
{
    if (!m_running)
        return 0;
    if (m_userRpm > 0)
        return m_userRpm;
    if (m_sinceStartUs < StartFlareUs)
        return 1300;
    const double coldness = std::clamp((50 - m_reducerC) / 30, 0.0, 1.0);
    return IdleRpm + 350 * coldness;
}

double EngineModel::targetMap(const SettingsBlock &block) const
{
    if (!m_running)
        return 100;
    const bool turbo = block.bit(SettingsBlock::Flags34, 3);
    return 35 + m_load * (turbo ? 1.65 : 0.63) + std::max(0.0, m_rpm - IdleRpm) * 0.001;
}

void EngineModel::advance(int64_t dtUs, const SettingsBlock &block)
{
    if (dtUs <= 0)
        return;
    const double dtS = double(dtUs) / 1e6;
    m_timeUs += dtUs;
    if (!m_ignition)
        m_running = false;
    if (m_running)
        m_sinceStartUs += dtUs;

    m_rpm = approach(m_rpm, targetRpm(), dtS, m_running ? 0.4 : 0.3);
    if (!m_running && m_rpm < 50)
        m_rpm = 0;
    m_map = approach(m_map, targetMap(block), dtS, 0.3);

    double p1Target = 0;
    if (m_running) {
        // The reducer holds its pressure against the manifold, sagging a
        // little as the gas flow (speed times dose) grows.
        p1Target = block.at(SettingsBlock::WorkingPressure) / 100.0
            * (1 - PressureSagAtFullFlow * std::min(1.5, gasFlow(block)));
        if (!(m_forced34 & (1u << EngineFault::info(EngineFault::PressureLow).bit)))
            p1Target *= 0.3;
        else if (!(m_forced34 & (1u << EngineFault::info(EngineFault::PressureHigh).bit)))
            p1Target *= 1.7;
    }
    m_p1 = approach(m_p1, p1Target, dtS, m_running ? 1.0 : 5.0);

    if (m_running) {
        m_reducerC = approach(m_reducerC, ReducerWarmC, dtS, 70);
        m_gasC = approach(m_gasC, GasWarmC, dtS, 100);
    } else {
        m_reducerC = approach(m_reducerC, AmbientC, dtS, 600);
        m_gasC = approach(m_gasC, AmbientC, dtS, 600);
    }
    updateFuel(dtUs, block);
    updateMixture(dtS, block);
    learnTables(dtS, block);
}

void EngineModel::learnTables(double dtS, const SettingsBlock &block)
{
    const int cylinders = block.cylinderCount();
    if (!m_running || m_sinceStartUs < ClosedLoopAfterUs || cylinders == 0) {
        m_mapSteady = m_petrolSteady = 0;
        return;
    }
    // What the controller reads: MAP from its sensor, and the petrol time
    // the ECU gives (its trim included) averaged over the cylinders.
    double cylinderTrim = 0;
    for (int c = 0; c < cylinders; ++c)
        cylinderTrim += m_cylinderTrim[c] / cylinders;
    std::normal_distribution<double> mapNoise(0, MapSensorNoiseKpa), timeNoise(0, TimeSensorNoiseMs);
    const double map = m_map + mapNoise(m_sensorRng);
    const double petrolMs = petrolMsAt(m_map) * m_ecuTrim + cylinderTrim + timeNoise(m_sensorRng);
    if (m_mapSteady <= 0) {
        m_mapSteady = map;
        m_petrolSteady = petrolMs;
        return;
    }
    m_mapSteady = approach(m_mapSteady, map, dtS, SteadyTauS);
    m_petrolSteady = approach(m_petrolSteady, petrolMs, dtS, SteadyTauS);
    if (std::abs(map - m_mapSteady) > SteadyKpa || std::abs(petrolMs - m_petrolSteady) > SteadyFraction * petrolMs)
        return;
    m_tables.learn(m_onGas, int(std::lround(map)), petrolMs, dtS);
}

double EngineModel::gasFlow(const SettingsBlock &block) const
{
    const int cylinders = block.cylinderCount();
    if (!m_running || !m_onGas || cylinders == 0)
        return 0;
    const int gasCylinders = std::popcount(unsigned(block.at(SettingsBlock::ActiveInjectors)
                                                    & SettingsBlock::allActiveMask(cylinders)));
    const double seen = petrolMsAt(m_map) * m_ecuTrim;
    const double gasMs = seen * multiplierInUse(block, seen) / 100.0;
    return m_rpm * gasMs / FullFlowRpmMs * gasCylinders / cylinders;
}

void EngineModel::updateMixture(double dtS, const SettingsBlock &block)
{
    const double base = petrolMsAt(m_map); // what the engine needs, in petrol time
    const double seen = base * m_ecuTrim;  // what the ECU injects and the controller measures
    if (m_calibrating && m_learned <= 0)
        m_learned = multiplierAt(block, seen);

    const int cylinders = block.cylinderCount();
    const int gasCylinders = std::popcount(unsigned(block.at(SettingsBlock::ActiveInjectors)
                                                    & SettingsBlock::allActiveMask(cylinders)));
    if (!m_running || !m_onGas || gasCylinders == 0 || cylinders == 0) {
        // On petrol the ECU's own fuelling is right: its trim returns to none.
        m_mixture = 1;
        m_ecuTrim = approach(m_ecuTrim, 1.0, dtS, EcuTrimTauS);
        return;
    }
    const double n = cylinders, g = gasCylinders;
    const double multiplier = multiplierInUse(block, seen) / 100.0;
    // Petrol cylinders get the trimmed petrol time; gas cylinders that time
    // times the multiplier, where the car needs it times its true ratio.
    const double gasMixture = m_ecuTrim * multiplier / trueRatioAt(base);
    m_mixture = ((n - g) * m_ecuTrim + g * gasMixture) / n;
    if (m_sinceStartUs >= ClosedLoopAfterUs)
        m_ecuTrim = std::clamp(approach(m_ecuTrim, m_ecuTrim / m_mixture, dtS, EcuTrimTauS), 1 - TrimLimit,
                               1 + TrimLimit);
    if (m_calibrating) {
        // The controller compares the petrol time it sees on gas with the one
        // on petrol: the ECU's trim. Put down to the gas cylinders alone, it
        // tells how far the multiplier is from what the car needs.
        const double perGas = 1 + n / g * (1 / m_ecuTrim - 1);
        if (perGas > 0.1)
            m_learned = std::clamp(approach(m_learned, m_learned / perGas, dtS, LearnTauS), 30.0, 255.0);
    }
}

void EngineModel::updateFuel(int64_t dtUs, const SettingsBlock &block)
{
    const bool wantGas = block.at(SettingsBlock::FuelRequest) == 3 && block.at(SettingsBlock::ActiveInjectors) != 0;
    if (!m_running) {
        m_onGas = false;
        m_conditionsUs = 0;
        m_rpmReached = false;
        m_lowPressureUs = 0;
        return;
    }
    if (m_rpm >= block.at(SettingsBlock::RpmToGas) * 100.0)
        m_rpmReached = true;
    const int maxRpm = block.at(SettingsBlock::RpmMaxPetrol) * 100;
    m_overRpm = maxRpm > 0 && m_rpm > maxRpm;

    if (m_onGas && m_p1 < block.at(SettingsBlock::MinPressure) / 100.0) {
        m_lowPressureUs += dtUs;
        const bool atFirstDrop = block.bit(SettingsBlock::Flags558, 0);
        if (!m_pressureTrip && (atFirstDrop || m_lowPressureUs >= block.at(SettingsBlock::PressureFaultTime) * 10000LL)) {
            m_pressureTrip = true;
            m_newFaultCodes.append(uint8_t(EngineFault::info(EngineFault::PressureLow).logCode));
        }
    } else {
        m_lowPressureUs = 0;
    }

    const int64_t switchOverUs = m_calibrating ? 0 : block.at(SettingsBlock::SwitchOverTime) * 500000LL;
    const int64_t sequenceUs = block.at(SettingsBlock::CylinderSequence) * 10000LL * block.cylinderCount();
    const bool ok = wantGas && !m_pressureTrip && !m_overRpm
        && m_reducerC >= block.at(SettingsBlock::TempToGas) && (m_rpmReached || m_calibrating);
    if (!ok) {
        // Above the petrol RPM the engine comes back to gas as soon as it
        // drops below again; only the cylinder sequence has to be repeated.
        const bool cutByRpm = m_overRpm && wantGas && !m_pressureTrip && (m_onGas || m_conditionsUs >= switchOverUs);
        m_conditionsUs = cutByRpm ? switchOverUs : 0;
        m_onGas = false;
        return;
    }
    if (!m_onGas) {
        m_conditionsUs += dtUs;
        if (m_conditionsUs >= switchOverUs + sequenceUs)
            m_onGas = true;
    }
}

EngineSnapshot EngineModel::sample(const SettingsBlock &block)
{
    EngineSnapshot s;
    const double t = double(m_timeUs) / 1e6;
    s.ignition = m_ignition;
    s.onGas = m_onGas;
    const int cylinders = block.cylinderCount();
    double petrolSum = 0;
    for (int c = 0; c < cylinders; ++c) {
        s.petrolMs[c] =
            m_running ? std::max(0.0, petrolMsAt(m_map) * m_ecuTrim + m_cylinderTrim[c] + gauss(0.03)) : 0;
        petrolSum += s.petrolMs[c];
    }
    const double petrolMean = cylinders ? petrolSum / cylinders : 0;
    const double multiplier = multiplierInUse(block, m_running ? petrolMean : 0);
    s.multiplier = uint8_t(std::clamp(std::lround(multiplier), 0L, 255L));
    s.gasMs = m_onGas ? std::max(0.0, petrolMean * multiplier / 100.0 + gauss(0.01)) : 0;
    s.rpm = m_running ? std::max(0.0, m_rpm + gauss(25)) : 0;

    if (m_running) {
        constexpr double TwoPi = 6.283185307179586;
        if (m_sinceStartUs >= ClosedLoopAfterUs) {
            // A rich mixture pulls the probes' swing up, a lean one down,
            // until the ECU's trim has caught up with it.
            const double centre = 0.5 + std::clamp((m_mixture - 1) * 4, -0.35, 0.35);
            s.lambda1V = centre + 0.4 * std::sin(TwoPi * 1.1 * t) + gauss(0.02);
            s.lambda2V = centre + 0.4 * std::sin(TwoPi * 0.7 * t + 1.3) + gauss(0.02);
        } else {
            s.lambda1V = 0.45 + gauss(0.01);
            s.lambda2V = 0.45 + gauss(0.01);
        }
        s.lambda1V = std::clamp(s.lambda1V, 0.05, 0.95);
        s.lambda2V = std::clamp(s.lambda2V, 0.05, 0.95);
    }
    s.p1Bar = std::max(0.0, m_p1 + (m_running ? gauss(0.008) : 0));
    s.mapKpa = std::max(0.0, m_map + gauss(0.7));

    const bool lowVoltage = !(m_forced34 & (1u << EngineFault::info(EngineFault::Voltage).bit));
    s.supplyV = lowVoltage ? 10.9 : m_running ? 13.8 + gauss(0.03) : 12.4;

    const bool falling = block.at(SettingsBlock::LevelSensorType) == 2;
    const double level = m_tank / 100;
    s.tankV = std::max(0.0, (falling ? 3.0 - level * 2.5 : 0.5 + level * 2.5) + gauss(0.005));
    s.tankStep = 0;
    for (int j = 0; j < 4; ++j) {
        const double threshold = block.at(SettingsBlock::LevelThreshold1 + j) / 51.0;
        if (falling ? s.tankV <= threshold : s.tankV >= threshold)
            ++s.tankStep;
    }

    s.reducerC = m_reducerC + gauss(0.2);
    s.gasC = m_gasC + gauss(0.2);
    s.faultFlags = faultFlags34();
    s.injectorFlags = m_injectorFlags;
    s.supplyFlags = m_flags48;

    // The learned injection-time tables: index = MAP in kPa, value = time in
    // tenths of a millisecond, streamed three entries per frame.
    s.position = m_position;
    for (int j = 0; j < 3; ++j) {
        s.petrolEntries[j] = m_tables.entry(false, m_position + j);
        s.gasEntries[j] = m_tables.entry(true, m_position + 2 + j);
    }
    m_position = m_position >= 253 ? 0 : uint8_t(m_position + 3);
    s.curveSelector = block.at(SettingsBlock::CurveSelector);
    return s;
}
