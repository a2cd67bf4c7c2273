#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

// `CalibrationSamples`: five tables of 256 samples, each indexed by the
// stream position every live frame carries, followed by the average, the
// minimum and the maximum that `UpdateCalibrationStatistics` writes. A frame
// overwrites the sample at its own position, so statistics always see the
// most recent value at every position.
class CalibrationSamples
{
public:
    enum Table : int {
        GasPressure = 0,    // T0: P1, hundredths of a bar
        Manifold = 1,       // T1: MAP, kPa
        InjectionTime = 2,  // T2: petrol injection time of cylinder 1, tenths of a ms
        Multiplier = 3,     // T3: the controller's gas/petrol multiplier, hundredths
        GasTemperature = 4, // T4: gas temperature, degC
    };
    static constexpr int Tables = 5;
    static constexpr int Positions = 256;
    static constexpr int AverageByte = 256;
    static constexpr int MinimumByte = 257;
    static constexpr int MaximumByte = 258;
    static constexpr int TableBytes = 259;
    // Live-frame byte sampled into each table (offset 0 = the 0xAA byte).
    static constexpr std::array<int, Tables> FrameOffsets = {24, 26, 6, 28, 33};
    // The position byte itself; a frame must reach past the last sampled byte.
    static constexpr int PositionOffset = 36;
    static constexpr int ShortestFrame = 34;

    using Bytes = std::array<uint8_t, TableBytes>;

    CalibrationSamples() { clear(); }

    // All five tables, samples and statistics alike, to zero.
    void clear();

    // `StoreCalibrationSample`: the five bytes of one frame at `position`.
    // Returns false (nothing stored) for a position outside 0..255 or a frame
    // too short to carry the sampled bytes.
    bool store(int position, const QByteArray &frame);

    // `UpdateCalibrationStatistics` over every table:
    //   average over the non-zero samples, nearest with ties to even (kept
    //   when every sample is zero); minimum over the non-zero samples below
    //   255 (kept when there is none); maximum (kept when all are zero).
    void updateStatistics();

    const Bytes &table(Table t) const { return m_tables[size_t(t)]; }
    uint8_t sample(Table t, int position) const { return m_tables[size_t(t)][size_t(position)]; }
    void setSample(Table t, int position, uint8_t value) { m_tables[size_t(t)][size_t(position)] = value; }
    uint8_t average(Table t) const { return m_tables[size_t(t)][AverageByte]; }
    uint8_t minimum(Table t) const { return m_tables[size_t(t)][MinimumByte]; }
    uint8_t maximum(Table t) const { return m_tables[size_t(t)][MaximumByte]; }
    void setAverage(Table t, uint8_t value) { m_tables[size_t(t)][AverageByte] = value; }

private:
    static void updateTable(Bytes &t);

    std::array<Bytes, Tables> m_tables;
};
