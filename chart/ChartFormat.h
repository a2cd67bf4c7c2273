#pragma once

#include "chart/ChartChannel.h"

#include <QChar>
#include <QString>

// How the chart writes times and values.
namespace ChartFormat {

// Time since the beginning as minutes and seconds to a tenth: "03:07.4";
// minutes go on past 59 ("75:00.0"). Rounded to the nearest tenth.
QString time(qint64 ms);

// A channel's value as its gauge shows it, with the given decimal separator;
// an en dash for no value (NaN).
QString value(int channel, float value, QChar decimalSeparator);

// Axis labels: a step of 1, 2 or 5 times a power of ten giving about
// `wanted` intervals over [lo, hi], and the range widened to whole steps.
struct Ticks
{
    double lo = 0;
    double hi = 1;
    double step = 1;
    int decimals = 0;
};
Ticks niceTicks(double lo, double hi, int wanted);

// Time axis: a step of 1, 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min ...
// giving at least `minPixels` between labels.
double timeStepMs(double spanMs, double widthPixels, double minPixels);

} // namespace ChartFormat
