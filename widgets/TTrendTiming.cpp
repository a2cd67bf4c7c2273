#include "widgets/TTrendTiming.h"

#include <cmath>

namespace {
long long roundHalfEven(double v)
{
    return std::llround(std::nearbyint(v)); // default rounding mode is to nearest, ties to even
}
} // namespace

TTrendTiming TTrendTiming::For(int plotWidth, int timeScaleMinutes)
{
    TTrendTiming t;
    // A one-minute chart scrolls two pixels at a time so that it does not tick too fast.
    t.step = timeScaleMinutes == 1 ? 2 : 1;
    // Whole steps per division, rounding down unless W/(10 s) is within 0.01 above a whole number.
    t.division = int(roundHalfEven(plotWidth / (10.0 * t.step) - 0.49)) * t.step;
    if (t.division <= 0) {
        t.intervalMs = 0;
        t.secondsPerDivision = 0;
        t.label = DivisionLabel(0);
        return t;
    }
    t.intervalMs = int(roundHalfEven(double(t.step) * timeScaleMinutes * 60000.0 / (10.0 * t.division)));
    t.secondsPerDivision = int(roundHalfEven(double(t.division) * t.intervalMs / 1000.0 / t.step));
    t.label = DivisionLabel(t.secondsPerDivision);
    return t;
}

QString TTrendTiming::DivisionLabel(int seconds)
{
    const int h = seconds / 3600;
    const int m = seconds % 3600 / 60;
    const int s = seconds % 60;
    QString out;
    if (h > 0)
        out += QString::number(h) + QStringLiteral("h");
    if (m > 0)
        out += QString::number(m) + QStringLiteral("min");
    if (s > 0)
        out += QString::number(s) + QStringLiteral("s");
    return out + QStringLiteral("/div");
}
