#pragma once

// Where a press on the map chart's plot lands. The marking rules are stated
// for a plot 652 pixels wide (the chart at its designed size); a press is
// first brought onto that scale through the plot's real width, so the same
// spot on the curve marks the same point whatever the window size or the
// screen's scale.
namespace MapPixels {

constexpr double NominalWidth = 652;
constexpr double AxisMinimum = 1.0;
constexpr double FullMaximum = 25.5;
constexpr double ZoomedMaximum = 12.75;
// A bound below this (nominal) pixel is never moved once set.
constexpr double MovableFrom = 26;

// x pixels into a plot `plotWidth` pixels wide, on the 652-pixel scale.
double nominal(double x, double plotWidth);

// The zoomed view shows the first half of the time axis: its pixels are
// brought back to the unzoomed scale the positions are kept in.
bool isZoomed(double axisMaximum);
double markPosition(double nominalX, double axisMaximum);

// The time under the pointer, where a bound's marker line is drawn.
double timeAt(double nominalX, double axisMaximum);

// Round(c x 246 / 652) + 2, halves to even; a press in the last pixels (or
// left of the plot in the zoomed view) is held to the map's points 1..246.
int pointAt(double markPosition);

} // namespace MapPixels
