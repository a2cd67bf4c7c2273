#pragma once

class QWidget;

// The correction map chart `Chart1`: eight series in their fixed order
// (map, area start and end markers, working point, gas and petrol curves,
// gas and petrol points), a bottom time axis 1.0..25.5 ms, the multiplier on
// the left axis and MAP on the right axis. The plot area is pinned to
// 652 x 160 pixels at 45,10, where the invisible mouse area `PaintBox1` lies.
class MapChart
{
public:
    static QWidget *create(QWidget *parent);
    // Top of the right "MAP [kPa]" axis of `Chart1` (256 for a turbo engine,
    // 100 otherwise); the chart repaints.
    static void setRightAxisMaximum(QWidget *chart1, double kPa);
};
