#include "sim/SettingsBlock.h"

#include "link/CommandFrame.h"

SettingsBlock::SettingsBlock() : m_bytes(Size, '\0')
{
    m_bytes[0] = char(CommandFrame::Start);
    m_bytes[1] = char(Size >> 8);
    m_bytes[2] = char(Size & 0xFF);
}

SettingsBlock SettingsBlock::factory(uint8_t major, uint8_t minor, uint8_t patch)
{
    SettingsBlock b;
    b.setFirmware(major, minor, patch);
    b.set(FuelRequest, 3);
    b.set(ActiveInjectors, 0x0F);
    b.set(ImpulseSource, 0);
    b.set(CylinderCode, 1); // 4 cylinders
    b.set(RpmToGas, 12);
    b.set(RpmMaxPetrol, 65);
    // Level thresholds 0.70, 1.50, 2.20, 2.80 V at 51 per volt, "0-90 Ohm".
    b.set(LevelThreshold1 + 0, 36);
    b.set(LevelThreshold1 + 1, 76);
    b.set(LevelThreshold1 + 2, 112);
    b.set(LevelThreshold1 + 3, 143);
    b.set(LevelSensorType, 0);
    b.set(ReducerSensor, 1);
    b.set(GasSensor, 1);
    b.set(PressureSensor, 4);
    b.set(Flags34, 0x00);
    b.set(TempToGas, 35);
    b.set(WorkingPressure, 100);
    b.set(InjectorOpening, 0x06);
    b.set(InjectorPulse, 0x1E);
    b.set(MinPressure, 60);
    b.set(PressureFaultTime, 30);
    b.set(SwitchOverTime, 10);
    b.set(CylinderSequence, 20);
    b.set(CurveSelector, 3);
    b.set(InjectorType, 8);
    for (int k = 0; k < MapPoints; ++k)
        b.set(CorrectionMap + k, 100);
    b.clearFaultLog();
    return b;
}

void SettingsBlock::setBit(int offset, int bitNo, bool on)
{
    const uint8_t mask = uint8_t(1u << bitNo);
    set(offset, on ? uint8_t(at(offset) | mask) : uint8_t(at(offset) & ~mask));
}

bool SettingsBlock::assign(const QByteArray &bytes)
{
    if (bytes.size() != Size || uint8_t(bytes[0]) != CommandFrame::Start)
        return false;
    m_bytes = bytes;
    m_bytes[1] = char(Size >> 8);
    m_bytes[2] = char(Size & 0xFF);
    return true;
}

void SettingsBlock::setFirmware(uint8_t major, uint8_t minor, uint8_t patch)
{
    set(FirmwareMajor, major);
    set(FirmwareMinor, minor);
    set(FirmwarePatch, patch);
}

int SettingsBlock::cylinderCount() const
{
    switch (at(CylinderCode)) {
    case 0: return 3;
    case 1: return 4;
    case 2: return 5;
    case 3: return 6;
    case 5: return 8;
    default: return 4;
    }
}

uint8_t SettingsBlock::allActiveMask(int cylinders)
{
    return cylinders >= 8 ? 0xFF : uint8_t((1u << cylinders) - 1);
}

void SettingsBlock::registerFault(uint8_t code)
{
    for (int i = 0; i < FaultSlots; ++i) {
        if (at(FaultLog + i) == 0xFF) {
            set(FaultLog + i, code);
            return;
        }
    }
}

void SettingsBlock::clearFaultLog()
{
    for (int i = 0; i < FaultSlots; ++i)
        set(FaultLog + i, 0xFF);
}

int SettingsBlock::registeredFaults() const
{
    int n = 0;
    for (int i = 0; i < FaultSlots; ++i)
        n += at(FaultLog + i) != 0xFF;
    return n;
}

QByteArray SettingsBlock::answer(uint8_t code) const
{
    QByteArray a = m_bytes;
    a[3] = char(code);
    a[Size - 1] = char(CommandFrame::checksum(a.left(Size - 1)));
    return a;
}
