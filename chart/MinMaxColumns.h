#pragma once

#include "chart/ChartSeries.h"

#include <QVector>

// A channel reduced to the pixel columns of a plot: for each column the
// smallest and largest value of the answers that fall in it (so no spike is
// lost however far out the view is), and its first and last value to join
// the columns as the gauge held them. The cost is that of the answers in
// view plus the columns, whatever the zoom.
struct MinMaxColumn
{
    float min = 0;
    float max = 0;
    float first = 0;
    float last = 0;
    bool empty = true;
};

struct MinMaxColumns
{
    QVector<MinMaxColumn> columns;
    // The value held when the view begins (from the last answer before it);
    // NaN when there is none.
    float heldIn = 0;

    // Column c covers [fromMs + c·w, fromMs + (c+1)·w) with w the span over
    // `count`; an answer exactly at toMs goes to the last column.
    static MinMaxColumns compute(const ChartSeries &series, int channel, double fromMs, double toMs, int count);
};
