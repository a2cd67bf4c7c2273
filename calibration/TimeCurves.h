#pragma once

#include "calibration/MapEdit.h"

#include <array>
#include <cstdint>
#include <vector>

// The learned injection-time curves. The controller streams two tables of
// 256 bytes (index = MAP in kPa, value = injection time in tenths of a
// millisecond, 0 = no data); each becomes a curve of MAP over time: every
// time value collects up to four positions, their average is the record's
// MAP, records that fall against the curve's rise are rejected, and four
// passes smooth what is kept towards straight lines between neighbours.
//
// The work arrays are kept between rebuilds so a rebuild allocates only its
// results.
class TimeCurves
{
public:
    static constexpr int Size = 256;
    using Table = std::array<uint8_t, Size>;
    using Points = std::vector<MapEdit::ChartPoint>;

    // The curves are rebuilt only while the stream is near its middle.
    static constexpr int FirstPosition = 128;
    static constexpr int LastPosition = 134;
    static bool rebuildsAt(int position) { return position >= FirstPosition && position <= LastPosition; }

    // Curve selector of the live frame: 1 petrol, 2 gas, 3 both (and then no
    // raw points); any other value shows no curve and both point sets.
    static bool showsGasCurve(int selector) { return selector == 2 || selector == 3; }
    static bool showsPetrolCurve(int selector) { return selector == 1 || selector == 3; }
    static bool showsPoints(int selector) { return selector != 3; }

    // Curves hold (time ms, MAP kPa) in ascending time, a point with the same
    // time as earlier ones after them; raw points are the tables' non-zero
    // entries.
    struct Result
    {
        Points gasCurve;
        Points petrolCurve;
        Points gasPoints;
        Points petrolPoints;
    };

    // Gas first, then petrol: the history of accepted records runs on from
    // one table into the other.
    const Result &rebuild(const Table &gas, const Table &petrol, int selector);
    const Result &result() const { return m_result; }

private:
    struct Record
    {
        std::array<uint8_t, 4> slot{};
        uint8_t avg = 0;
    };
    using Histogram = std::array<Record, Size>;

    struct History
    {
        int u = 0, v = 0, w = 0; // indices of the last three accepted records, newest first
        int a = 0, b = 0, c = 0; // their averages
    };

    static void fill(Histogram &h, const Table &table);
    static void curve(Histogram &h, const Table &table, bool showCurve, bool showPoints, History &history,
                      Points &curvePoints, Points &rawPoints);

    Histogram m_gas{};
    Histogram m_petrol{};
    Result m_result;
};
