#pragma once

#include "calibration/CorrectionMap.h"

#include <array>
#include <cstdint>
#include <vector>

// Fits the correction map to the two learned injection-time tables so that
// the gas curve comes to lie on the petrol curve (the rule, with a worked
// table, is in docs/map-fit.md).
//
// At MAP position p the car ran on petrol with the petrol time tP(p) and on
// gas with tG(p): on gas the petrol ECU trimmed its time until the gas dose
// the old map gave at tG(p) was right. For the ECU to stay at tP(p) on gas,
// the map must give that same dose at tP(p):
//
//     mNew(tP) = mOld(tG) x tG / tP
//
// The pairs that both tables give are cleaned (monotony, outliers), laid
// onto the map's points by straight lines between them, blended back into
// the old map over a millisecond at both ends, and limited: +-30 % of the
// old value per point, and 0..255. Nothing here talks to the controller; the
// result is a proposal and a summary for the fitter to accept or refuse.
class MapFit
{
public:
    static constexpr int TableSize = 256;
    using Table = std::array<uint8_t, TableSize>;

    static constexpr int MinPositions = 8;     // fewer usable positions: refused
    static constexpr double MinSpanMs = 1.0;   // a narrower covered range: refused
    static constexpr double BlendMs = 1.0;     // the change fades out over this beyond each end
    static constexpr double CapFraction = 0.30; // largest change of one point, of its old value
    static constexpr double OutlierFraction = 0.10; // farther from the neighbours' median: dropped
    static constexpr int OutlierNeighbours = 2; // on each side

    enum class Refusal { None, TooFewPositions, TooNarrow };

    // One position both tables hold, with the multiplier it asks for at tP.
    struct Pair
    {
        int position = 0;
        double petrolMs = 0;
        double gasMs = 0;
        double multiplier = 0; // hundredths, mOld(tG) x tG / tP

        bool operator==(const Pair &) const = default;
    };

    struct Result
    {
        Refusal refusal = Refusal::None;
        int bothPositions = 0;   // positions where both tables hold data
        int usablePositions = 0; // of those, kept after the monotony and outlier checks
        double fromMs = 0;       // covered range of petrol times
        double toMs = 0;
        CorrectionMap proposal;  // the old map where refused
        int changedPoints = 0;
        double largestRisePct = 0; // >= 0
        double largestFallPct = 0; // >= 0, the size of the largest fall
        bool capHit = false;       // some point held at +-30 % of its old value
        bool boundHit = false;     // some point held within 0..255
        std::vector<Pair> used;    // the kept pairs in ascending petrol time

        bool ok() const { return refusal == Refusal::None; }
        double coveredMs() const { return toMs - fromMs; }
    };

    static Result propose(const Table &petrol, const Table &gas, const CorrectionMap &old);

    // The map's value (hundredths) at a petrol time, straight between points
    // and held at the first and last point beyond them.
    static double valueAt(const CorrectionMap &map, double ms);

private:
    static std::vector<Pair> pairs(const Table &petrol, const Table &gas, const CorrectionMap &old);
    static std::vector<Pair> monotone(const std::vector<Pair> &sorted);
    static std::vector<Pair> withoutOutliers(const std::vector<Pair> &kept);
};
