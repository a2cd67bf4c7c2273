#pragma once

#include "link/CommandBodies.h"

#include <QByteArray>

#include <array>

// `CorrectionMap`: the controller's gas/petrol multiplier in hundredths at
// 246 petrol injection times, point k (1-based) at (k - 1) / 10 + 1 ms.
// Values travel as one byte each, so every change here keeps them within
// 0..255: what the chart shows is exactly what the controller receives.
class CorrectionMap
{
public:
    static constexpr int Points = CommandBodies::MapPoints;
    static constexpr int FirstBlockOffset = 66; // point k at block byte 65 + k
    static constexpr int MinValue = 0;
    static constexpr int MaxValue = 255;

    CorrectionMap() { m_values.fill(0); }

    // Fills the map from a settings block; a block too short to carry the
    // map leaves it as it was.
    bool loadFromSettingsBlock(const QByteArray &block);

    int value(int k) const { return m_values[size_t(k - 1)]; }
    // Held within 0..255.
    void setValue(int k, int value);
    void addToAll(int delta);

    static double timeOf(int k) { return (k - 1) / 10.0 + 1.0; }

    // The map write (0x0B and the 246 bytes) and its 21-byte follow-up.
    CommandBodies::Group writeCommands() const;

    const std::array<int, Points> &values() const { return m_values; }

private:
    std::array<int, Points> m_values;
};
