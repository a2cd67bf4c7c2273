#pragma once

#include <array>
#include <cstdint>

// One sample of everything a live frame reports, in engineering units.
// Flags are active-low as on the line: 0xFF means healthy.
struct EngineSnapshot
{
    bool ignition = false;
    bool onGas = false;
    std::array<double, 8> petrolMs{}; // cylinders 1..8; 0 for absent ones
    double gasMs = 0;
    double rpm = 0;
    double lambda1V = 0;
    double lambda2V = 0;
    double p1Bar = 0;
    double mapKpa = 0;
    uint8_t multiplier = 100; // the correction map value in use, hundredths
    double supplyV = 0;
    double tankV = 0;
    uint8_t tankStep = 0;
    double reducerC = 0;
    double gasC = 0;
    uint8_t faultFlags = 0xFF;    // offset 34
    uint8_t injectorFlags = 0xFF; // offset 35
    uint8_t supplyFlags = 0xFF;   // offset 48
    uint8_t position = 0;
    std::array<uint8_t, 3> petrolEntries{}; // table[P], [P+1], [P+2]
    std::array<uint8_t, 3> gasEntries{};    // table[P+2], [P+3], [P+4]
    uint8_t curveSelector = 3;
};
