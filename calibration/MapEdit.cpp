#include "calibration/MapEdit.h"

#include "calibration/CorrectionMap.h"
#include "calibration/MapSelection.h"
#include "link/CommandBodies.h"

#include <algorithm>

namespace MapEdit {

bool step(CorrectionMap &map, const MapSelection &selection, int delta)
{
    if (!selection.arrowsEnabled())
        return false;
    if (!selection.hasArea()) {
        map.addToAll(delta);
        return true;
    }
    reline(map, selection.firstPoint(), selection.lastPoint(), delta);
    return true;
}

void reline(CorrectionMap &map, int s, int e, int delta)
{
    const int vs = map.value(s);
    const int ve = map.value(e);
    const int m = int(CommandBodies::roundHalfEven((s + e) / 2.0));
    map.setValue(m, map.value(m) + delta);
    const int vm = map.value(m); // after the limit: the line leads to what is sent
    for (int k = s + 1; k <= m - 1; ++k)
        map.setValue(k, vs + int(CommandBodies::roundHalfEven(double(vm - vs) / (m - s) * (k - s))));
    for (int k = m + 1; k <= e - 1; ++k)
        map.setValue(k, ve - int(CommandBodies::roundHalfEven(double(vm - ve) / (s - m) * (e - k))));
}

std::vector<ChartPoint> mapCurve(const CorrectionMap &map, const MapSelection &selection)
{
    std::vector<ChartPoint> points;
    points.reserve(CorrectionMap::Points);
    const int s = selection.hasArea() ? selection.firstPoint() : 0;
    const int e = selection.hasArea() ? selection.lastPoint() : -1;
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        points.push_back({CorrectionMap::timeOf(k), map.value(k) / 100.0, k >= s && k <= e});
    return points;
}

std::vector<ChartPoint> workingPointLine(double timeMs, double mapKpa)
{
    std::vector<ChartPoint> line{{timeMs, mapKpa}, {100.0, mapKpa}, {timeMs, 500.0}, {timeMs, mapKpa}};
    std::stable_sort(line.begin(), line.end(), [](const ChartPoint &a, const ChartPoint &b) { return a.x < b.x; });
    return line;
}

} // namespace MapEdit
