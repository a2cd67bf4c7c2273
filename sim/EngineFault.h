#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The faults the controller can report in a live frame: which flag bit
// carries each one, and which code it leaves in the registered-fault log.
namespace EngineFault {

struct Info
{
    const char *name; // as typed on the simulator's console
    int offset;       // live-frame byte: 34, 35 (injectors) or 48
    int bit;          // for injectors: the bit of cylinder 1
    int logCode;      // registered-fault code, -1 for none
};

enum Id {
    Voltage, PressureHigh, PressureLow, IgnitionVoltage, PetrolInjection, PetrolSystem,
    Settings, Supply, Injector, Count
};

const Info &info(Id id);
std::optional<Id> byName(const QString &name);
QString names(); // for help texts

} // namespace EngineFault
