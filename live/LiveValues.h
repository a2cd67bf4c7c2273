#pragma once

#include <array>
#include <cstdint>
#include <optional>

// One live answer in engineering units. Every field is empty when the answer
// was too short to carry all of its bytes: a short answer (an acknowledgement
// of a queued command, a cut frame) must leave the displays of the missing
// fields as they were instead of showing bytes that never arrived.
struct LiveValues
{
    static constexpr int Cylinders = 8;
    static constexpr int TableBytes = 3;

    // Bytes the answer held, header included.
    int answerLength = 0;

    // Answers of five bytes or fewer carry nothing the displays could use.
    bool decodable() const { return answerLength > 5; }

    std::optional<bool> ignitionOn; // b[4] bit 0
    std::optional<bool> onGas;      // b[5] bit 0: true = gas, false = petrol

    // Petrol injection time of cylinders 1..8, ms.
    std::array<std::optional<double>, Cylinders> petrolMs;
    // Gas injection time, ms, from its three parts.
    std::optional<double> gasMs;

    std::optional<double> rpmThousands; // for the dial
    std::optional<double> rpm;          // for the numeric display

    std::optional<double> lambda1Volts;
    std::optional<double> lambda2Volts;

    std::optional<double> p1Bar;
    std::optional<double> mapKpa;

    // Already rounded to two decimals, as the display holds it.
    std::optional<double> supplyVolts;
    std::optional<double> tankSensorVolts;
    // Level step as the controller judges it: 0 = reserve, 1..4 levels.
    std::optional<int> levelStep;

    std::optional<int> reducerTempC;
    std::optional<int> gasTempC;

    // Fault flags, active-low, passed on raw.
    std::optional<uint8_t> faultFlags;    // b[34]
    std::optional<uint8_t> injectorFlags; // b[35]
    std::optional<uint8_t> moreFaultFlags; // b[48]

    // Injection-time table stream.
    std::optional<int> streamPosition; // b[36]
    std::array<std::optional<uint8_t>, TableBytes> petrolTableBytes; // b[38], b[40], b[41]
    std::array<std::optional<uint8_t>, TableBytes> gasTableBytes;    // b[42], b[44], b[46]
    std::optional<int> curveSelector;  // b[47]
};
