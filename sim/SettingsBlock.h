#pragma once

#include <QByteArray>
#include <cstdint>

// The controller's own copy of its configuration: the 602-byte block it sends
// whole as the answer to read-all, factory reset and the startup command.
// Offsets count from the answer's 0xAA byte, as in the answer itself, so
// the block can be sent as it is once code and check byte are filled in.
class SettingsBlock
{
public:
    static constexpr int Size = 602;

    // Offsets the controller gives a meaning to.
    enum Offset : int {
        FirmwareMajor = 4, FirmwareMinor = 5, FirmwarePatch = 6,
        Reference = 7,        // 5 bytes: the calibration's reference report (02)
        Report = 12,          // 3 bytes: the last calibration report (19)
        FuelRequest = 19,     // 2 = petrol, 3 = gas, as the fuel switch asked
        ActiveInjectors = 20, ImpulseSource = 21, CylinderCode = 22,
        RpmToGas = 23, RpmMaxPetrol = 24,
        LevelThreshold1 = 25, LevelSensorType = 29,
        ReducerSensor = 30, GasSensor = 31, PressureSensor = 33,
        Flags34 = 34, TempToGas = 35, WorkingPressure = 36,
        InjectorOpening = 37, // payload of 24
        InjectorPulse = 38,   // payload of 30
        MinPressure = 40, PressureFaultTime = 41, SwitchOverTime = 42, CylinderSequence = 43,
        CurveSelector = 44, InjectorType = 45,
        MapBlock = 46,        // 20 bytes: payload of 20
        CorrectionMap = 66, MapPoints = 246,
        LearnedArea = 312,    // 246 bytes, cleared by 06
        Flags558 = 558,
        FaultLog = 561, FaultSlots = 40,
        WriteAllFirst = 21, WriteAllSize = 540,
    };

    SettingsBlock();
    static SettingsBlock factory(uint8_t major = 3, uint8_t minor = 7, uint8_t patch = 7);

    uint8_t at(int offset) const { return uint8_t(m_bytes[offset]); }
    void set(int offset, uint8_t value) { m_bytes[offset] = char(value); }
    void setBit(int offset, int bit, bool on);
    bool bit(int offset, int bit) const { return (at(offset) >> bit) & 1; }
    const QByteArray &bytes() const { return m_bytes; }
    // Takes a stored block; false (and unchanged) when it is not one.
    bool assign(const QByteArray &bytes);

    void setFirmware(uint8_t major, uint8_t minor, uint8_t patch);
    // Cylinder count from offset 22 (3, 4, 5, 6 or 8; 4 when the code is unknown).
    int cylinderCount() const;
    static uint8_t allActiveMask(int cylinders);

    // Registered faults: appended to the first empty slot; a full log keeps
    // the oldest entries.
    void registerFault(uint8_t code);
    void clearFaultLog();
    int registeredFaults() const;

    // The answer as it goes on the line (before coding): header, the given
    // code at offset 3, and the sum of all other bytes as the last byte.
    QByteArray answer(uint8_t code) const;

private:
    QByteArray m_bytes;
};
