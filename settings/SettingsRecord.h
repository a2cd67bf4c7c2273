#pragma once

#include "settings/SettingsTable.h"

#include <array>
#include <cstdint>

// One settings block as the window shows it: every setting's control value
// (item index with -1 for none, 0/1 for check boxes and radio buttons, or the
// value in the control's unit before the control clamps it), plus the parts
// of the block that are not settings controls.
struct SettingsRecord
{
    static constexpr int Cylinders = 8;
    static constexpr int MapPoints = CommandBodies::MapPoints;
    // The 40 fault slots and the byte after them, which the rendering of an
    // injector fault in the last slot reads too.
    static constexpr int FaultBytes = 41;

    std::array<double, SettingsTable::Count> values{};

    uint8_t activeInjectors = 0;               // bit k = cylinder k+1 runs on gas
    std::array<double, 4> levelThresholds{};   // volts, thresholds 1..4
    std::array<uint8_t, FaultBytes> faultLog{}; // offsets 561..601
    std::array<int, MapPoints> correctionMap{}; // hundredths, point k+1 at index k

    double value(SettingsTable::Id id) const { return values[size_t(id)]; }
    int item(SettingsTable::Id id) const { return int(values[size_t(id)]); }
    bool flag(SettingsTable::Id id) const { return values[size_t(id)] != 0.0; }

    // 3, 4, 5, 6 or 8 from the cylinder item; 0 when none is chosen.
    int cylinderCount() const;
};
