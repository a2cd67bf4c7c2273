#pragma once

#include "sim/EngineFault.h"
#include "sim/EngineSnapshot.h"
#include "sim/LearnedTables.h"
#include "sim/RatioCurve.h"

#include <QList>
#include <cstdint>
#include <random>

class SettingsBlock;

// A car engine with its gas system, detailed enough that the live view looks
// real: idle with noise, warming up, lambda swinging, and the controller's
// decision when to run on gas. Time only moves through advance(), so tests
// can run minutes of engine time in microseconds.
//
// The car has a gas/petrol ratio of its own (how much longer a gas injector
// must open than the petrol one it replaces) that the controller does not
// know. Gas cylinders get the petrol time times the controller's multiplier;
// when that differs from the true ratio the mixture goes rich or lean, and
// the petrol ECU's closed loop trims its injection time against it, which
// the controller sees as a changed petrol time. In calibration mode the
// controller learns its multiplier from that trim; a written map that fits
// the car leaves the trim near zero.
//
// Like a controller it also learns, while the engine runs warm and steady,
// the petrol time it sees per MAP position: on petrol into one table, on gas
// (with the ECU's trim in it) into the other.
class EngineModel
{
public:
    explicit EngineModel(uint32_t seed = 1);

    void advance(int64_t dtUs, const SettingsBlock &block);
    // Draws one sample (with noise) and moves the table stream on.
    EngineSnapshot sample(const SettingsBlock &block);

    // Console controls.
    void setIgnition(bool on);
    void startEngine();
    void stopEngine();
    void setTargetRpm(int rpm); // 0: the engine keeps its own idle
    // -20..100 %; below 0 the throttle is shut while the car pushes the
    // engine (coasting), which brings MAP below its idle value.
    void setLoad(double percent);
    void setTemperatures(double reducerC, double gasC);
    void setWarm();
    void setTankLevel(double percent);
    void setFault(EngineFault::Id id, bool on, int cylinder = 0);
    void clearFaults();
    // Codes of faults raised since the last call, for the registered-fault log.
    QList<uint8_t> takeNewFaultCodes();

    // The car's true gas/petrol ratio at idle (3 ms of petrol); it falls a
    // little towards longer injection times (trueRatioAt). Forgets a curve.
    void setTrueRatio(double atIdle);
    double trueRatio() const { return m_trueRatio; }
    // A ratio given per petrol time instead (empty: back to the idle ratio).
    void setRatioCurve(const RatioCurve &curve) { m_ratioCurve = curve; }
    const RatioCurve &ratioCurve() const { return m_ratioCurve; }
    // At the petrol time the engine needs (untrimmed), ms.
    double trueRatioAt(double petrolMs) const;

    // The injection-time tables learned so far.
    const LearnedTables &tables() const { return m_tables; }
    void clearTables() { m_tables.clear(); }

    // Commands from the program. Leaving calibration mode forgets the
    // learned multiplier: the controller runs from its map again.
    void setCalibrating(bool on);
    // A new fuel request re-arms the switch-over (and forgets a pressure trip).
    void fuelRequested(bool gas);

    bool ignition() const { return m_ignition; }
    bool running() const { return m_running; }
    bool onGas() const { return m_onGas; }
    bool calibrating() const { return m_calibrating; }
    bool pressureTrip() const { return m_pressureTrip; }
    double rpm() const { return m_rpm; }
    double mapKpa() const { return m_map; }
    double p1Bar() const { return m_p1; }
    double reducerC() const { return m_reducerC; }
    double gasC() const { return m_gasC; }
    double load() const { return m_load; }
    double tankLevel() const { return m_tank; }
    uint8_t faultFlags34() const;
    uint8_t injectorFlags() const { return m_injectorFlags; }
    uint8_t supplyFlags48() const { return m_flags48; }
    // The petrol ECU's fuel trim as a factor on its injection time (1 = none,
    // limited to 0.75..1.25): what the controller sees of a wrong gas dose.
    double ecuTrim() const { return m_ecuTrim; }
    // Fuel delivered over fuel needed, over all cylinders (1 = correct).
    double mixture() const { return m_mixture; }
    // The multiplier learned in calibration mode, hundredths (0 before it
    // has started).
    double learnedMultiplier() const { return m_learned; }
    // The multiplier the controller applies at a petrol time it sees:
    // the learned one in calibration mode, otherwise the map's.
    double multiplierInUse(const SettingsBlock &block, double petrolMs) const;

    static constexpr double AmbientC = 20;
    static constexpr double IdleRpm = 800;
    static constexpr double DefaultTrueRatio = 1.18;
    static constexpr double TrimLimit = 0.25;
    static constexpr double LowestLoad = -20;

    // Petrol time the engine asks for at a manifold pressure (ms).
    static double petrolMsAt(double mapKpa);
    // The load that holds MAP at `mapKpa` at a speed (the inverse of what
    // advance() makes MAP follow).
    static double loadFor(double mapKpa, double rpm, bool turbo);
    // Correction map value used at a petrol injection time.
    static uint8_t multiplierAt(const SettingsBlock &block, double petrolMs);

private:
    double targetRpm() const;
    double targetMap(const SettingsBlock &block) const;
    void updateFuel(int64_t dtUs, const SettingsBlock &block);
    void updateMixture(double dtS, const SettingsBlock &block);
    void learnTables(double dtS, const SettingsBlock &block);
    double gasFlow(const SettingsBlock &block) const;
    double gauss(double sigma);

    std::mt19937 m_rng;
    bool m_ignition = true;
    bool m_running = true;
    bool m_onGas = false;
    bool m_calibrating = false;
    bool m_rpmReached = false;
    bool m_pressureTrip = false;
    bool m_overRpm = false;
    int64_t m_sinceStartUs = 0;
    int64_t m_conditionsUs = 0;
    int64_t m_lowPressureUs = 0;
    int64_t m_timeUs = 0;
    int m_userRpm = 0;
    double m_load = 0;
    double m_rpm = IdleRpm;
    double m_map = 35;
    double m_p1 = 1.0;
    double m_reducerC = AmbientC;
    double m_gasC = AmbientC;
    double m_tank = 60;
    uint8_t m_forced34 = 0xFF;
    uint8_t m_injectorFlags = 0xFF;
    uint8_t m_flags48 = 0xFF;
    QList<uint8_t> m_newFaultCodes;
    uint8_t m_position = 0;
    double m_cylinderTrim[8] = {};
    double m_trueRatio = DefaultTrueRatio;
    double m_ecuTrim = 1;
    double m_mixture = 1;
    double m_learned = 0;
    RatioCurve m_ratioCurve;
    LearnedTables m_tables;
    // The controller's own sensor readings for learning; a generator of
    // their own so the live samples stay as they were for a given seed.
    std::mt19937 m_sensorRng;
    double m_mapSteady = 0;    // slow followers of MAP and the petrol time:
    double m_petrolSteady = 0; // learning waits while the engine moves
};
