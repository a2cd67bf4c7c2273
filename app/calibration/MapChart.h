#pragma once

#include <array>

class QChart;
class QChartView;
class QValueAxis;
class QWidget;
class QXYSeries;

// The correction map chart `Chart1`: eight series in their fixed order
// (map, area start and end markers, working point, gas and petrol curves,
// gas and petrol points), a bottom time axis 1.0..25.5 ms, the multiplier on
// the left axis and MAP on the right axis. At its designed size the plot
// area is 652 x 160 pixels at 45,10; the chart grows with the window, the
// plot with it, and the invisible mouse area `PaintBox1` always lies exactly
// over the plot.
class MapChart
{
public:
    static constexpr int SeriesCount = 8;
    enum SeriesIndex { Map, AreaStart, AreaEnd, WorkingPoint, GasCurve, PetrolCurve, GasPoints, PetrolPoints };

    // The chart's parts, in the order other code addresses them.
    struct Parts
    {
        QChartView *view = nullptr;
        QChart *chart = nullptr;
        QValueAxis *time = nullptr;       // bottom, ms
        QValueAxis *multiplier = nullptr; // left
        QValueAxis *map = nullptr;        // right, kPa
        std::array<QXYSeries *, SeriesCount> series{};
        QXYSeries *mapArea = nullptr; // the marked part of the map, over series 0 in yellow
        QWidget *paintBox = nullptr;
    };

    static QWidget *create(QWidget *parent);
    // The parts of a chart made by create(); all null for anything else.
    static Parts parts(QWidget *chart1);

    // Top of the right "MAP [kPa]" axis of `Chart1` (256 for a turbo engine,
    // 100 otherwise), labelled at round values (every 10 kPa up to 100, every
    // 50 up to 256); the chart repaints.
    static void setRightAxisMaximum(QWidget *chart1, double kPa);
};
