#pragma once

#include "chart/ChartSeries.h"
#include "chart/TimeAxis.h"

// Where a click on the chart sends the replay. The replay shows the state
// after every record at or before its position, so a seek to the time under
// the pointer shows what the cursor read-out shows there. A click within a
// few pixels of an answer goes to that answer, so a click on a spike shows
// the spike on the gauges.
namespace ChartSeek {

constexpr double SnapPixels = 3.0;

// The replay position (ms) for a click at plot pixel x.
qint64 position(const TimeAxis &axis, const ChartSeries &series, double x);

} // namespace ChartSeek
