#pragma once

#include <QString>

// How a strip chart of a given plot width spreads TimeScale minutes over ten
// divisions: pixels per tick, division width, tick interval and the
// time-per-division label.
struct TTrendTiming {
    int step = 1;           // pixels scrolled per tick
    int division = 0;       // pixels per division
    int intervalMs = 0;     // time between ticks
    int secondsPerDivision = 0;
    QString label;          // e.g. "6s/div", "1min30s/div"

    static TTrendTiming For(int plotWidth, int timeScaleMinutes);
    // "1h", "2min", "30s" parts, each only when above 0, then "/div".
    static QString DivisionLabel(int seconds);
};
