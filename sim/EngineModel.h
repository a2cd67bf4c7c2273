#pragma once

#include "sim/EngineFault.h"
#include "sim/EngineSnapshot.h"

#include <QList>
#include <cstdint>
#include <random>

class SettingsBlock;

// A car engine with its gas system, detailed enough that the live view looks
// real: idle with noise, warming up, lambda swinging, and the controller's
// decision when to run on gas. Time only moves through advance(), so tests
// can run minutes of engine time in microseconds.
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
    void setLoad(double percent);
    void setTemperatures(double reducerC, double gasC);
    void setWarm();
    void setTankLevel(double percent);
    void setFault(EngineFault::Id id, bool on, int cylinder = 0);
    void clearFaults();
    // Codes of faults raised since the last call, for the registered-fault log.
    QList<uint8_t> takeNewFaultCodes();

    // Commands from the program.
    void setCalibrating(bool on) { m_calibrating = on; }
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

    static constexpr double AmbientC = 20;
    static constexpr double IdleRpm = 800;

    // Petrol time the engine asks for at a manifold pressure (ms).
    static double petrolMsAt(double mapKpa);
    // Correction map value used at a petrol injection time.
    static uint8_t multiplierAt(const SettingsBlock &block, double petrolMs);

private:
    double targetRpm() const;
    double targetMap(const SettingsBlock &block) const;
    void updateFuel(int64_t dtUs, const SettingsBlock &block);
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
};
