#pragma once

#include <QString>

#include <vector>

// Round-number tick marks for instrument scales: steps of 1, 2, 2.5 or 5 times a power of ten, so that a
// 0..240 kPa scale is labelled 0, 40, 80 ... and not 0, 24, 48 ...
class ScaleTicks
{
public:
    // The step that gives at most maxCount intervals between from and to.
    static double Step(double from, double to, int maxCount);
    // Tick values from the first multiple of step at or above from up to to. A lower end stored a hair
    // above a round number (0.000001 for 0) still gets its tick at the round number.
    static std::vector<double> Values(double from, double to, double step);
    // Shortest text for a tick value on a scale with the given step.
    static QString Label(double value, double step);
};
