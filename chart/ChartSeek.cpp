#include "chart/ChartSeek.h"

#include <algorithm>
#include <cmath>

namespace ChartSeek {

qint64 position(const TimeAxis &axis, const ChartSeries &series, double x)
{
    const double t = std::clamp(axis.timeAt(x), axis.wholeFrom(), axis.wholeTo());
    const qint64 ms = qint64(std::floor(t));
    const int before = series.indexAtOrBefore(ms);
    const int after = series.indexAtOrAfter(ms);
    double best = SnapPixels + 1;
    qint64 snapped = ms;
    for (int i : {before, after}) {
        if (i < 0 || i >= series.size())
            continue;
        const double distance = std::abs(axis.xOf(double(series.times()[i])) - x);
        if (distance <= SnapPixels && distance < best) {
            best = distance;
            snapped = series.times()[i];
        }
    }
    return snapped;
}

} // namespace ChartSeek
