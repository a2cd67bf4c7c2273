#pragma once

#include <array>
#include <cstdint>

// The two injection-time tables a controller learns while the car drives:
// per MAP position (kPa, 0..255) the petrol injection time it measures, one
// table for the time seen on petrol and one for the time seen on gas. Only
// the table of the fuel in use is updated, at the present MAP, smoothed over
// a few seconds; the other keeps what it had. An empty entry takes its first
// measurement as it is. The controller streams the entries in tenths of a
// millisecond, 0 meaning not learned.
class LearnedTables
{
public:
    static constexpr int Size = 256;
    static constexpr double SmoothingS = 1.0; // time constant: settled after about three seconds

    void learn(bool gas, int position, double petrolMs, double dtS);
    // Tenths of a millisecond as streamed (1..255), 0 where nothing was learned
    // or the position lies outside the table.
    uint8_t entry(bool gas, int position) const;
    // Milliseconds, 0 where nothing was learned.
    double value(bool gas, int position) const;
    int filled(bool gas) const;
    int first(bool gas) const; // lowest learned position, -1 when none
    int last(bool gas) const;
    void clear();

private:
    using Table = std::array<double, Size>;
    const Table &table(bool gas) const { return gas ? m_gas : m_petrol; }

    Table m_petrol{};
    Table m_gas{};
};
