#include "widgets/ScaleTicks.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

double ScaleTicks::Step(double from, double to, int maxCount)
{
    const double span = std::fabs(to - from);
    if (!(span > 0.0) || !std::isfinite(span))
        return 1.0;
    maxCount = std::max(1, maxCount);
    const double raw = span / maxCount;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    static constexpr double multiples[] = {1.0, 2.0, 2.5, 4.0, 5.0, 10.0};
    // Prefer a step that ends exactly on the upper end, if it is not much coarser.
    for (double m : multiples) {
        const double step = m * power;
        const double count = span / step;
        if (step >= raw * (1.0 - 1e-9) && step <= raw * 2.5 && std::fabs(count - std::round(count)) < 1e-3)
            return step;
    }
    for (double m : multiples)
        if (m * power >= raw * (1.0 - 1e-9))
            return m * power;
    return 10.0 * power;
}

std::vector<double> ScaleTicks::Values(double from, double to, double step)
{
    std::vector<double> out;
    if (!(step > 0.0))
        return out;
    const double lo = std::min(from, to);
    const double hi = std::max(from, to);
    const double tolerance = (hi - lo) * 1e-4;
    const double first = std::ceil((lo - tolerance) / step);
    for (double k = first;; k += 1.0) {
        const double v = k * step;
        if (v > hi + tolerance || out.size() > 200)
            break;
        out.push_back(std::fabs(v) < step * 1e-9 ? 0.0 : v);
    }
    return out;
}

QString ScaleTicks::Label(double value, double step)
{
    int decimals = 0;
    while (decimals < 6 && std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6)
        ++decimals;
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}
