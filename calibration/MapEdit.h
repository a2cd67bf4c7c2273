#pragma once

#include <vector>

class CorrectionMap;
class MapSelection;

// What the map editor computes; the chart page only draws the results.
namespace MapEdit {

// One arrow step (delta +1 up, -1 down). Without an area the whole map
// moves; with a complete area its middle point moves and the area is
// re-lined through it. False when nothing may change (only the start set).
bool step(CorrectionMap &map, const MapSelection &selection, int delta);

// Points s..e become straight lines from (s, vs) to the moved middle point
// m = Round((s + e) / 2) and back to (e, ve). Both halves use the left
// half's width as divisor, as the controller's own tool always has.
void reline(CorrectionMap &map, int s, int e, int delta);

struct ChartPoint
{
    double x = 0;
    double y = 0;
    bool marked = false; // drawn yellow (inside the area) rather than blue

    bool operator==(const ChartPoint &) const = default;
};

// `RedrawCorrectionMap`'s points: every map point at its time, value / 100,
// the points of a complete area marked.
std::vector<ChartPoint> mapCurve(const CorrectionMap &map, const MapSelection &selection);

// `DrawWorkingPoint`'s line in the order the chart keeps it (ascending time):
// the point, straight up out of the plot, back down, then to the right edge.
std::vector<ChartPoint> workingPointLine(double timeMs, double mapKpa);

} // namespace MapEdit
