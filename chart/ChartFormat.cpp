#include "chart/ChartFormat.h"

#include <cmath>

namespace ChartFormat {

QString time(qint64 ms)
{
    const bool negative = ms < 0;
    const qint64 tenths = (std::llabs(ms) + 50) / 100;
    const qint64 minutes = tenths / 600;
    const qint64 rest = tenths % 600;
    return QStringLiteral("%1%2:%3.%4")
        .arg(negative ? QStringLiteral("-") : QString())
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(rest / 10, 2, 10, QLatin1Char('0'))
        .arg(rest % 10);
}

QString value(int channel, float v, QChar decimalSeparator)
{
    if (std::isnan(v))
        return QStringLiteral("–");
    const int decimals = ChartChannel::all().at(channel).decimals;
    QString text = QString::number(double(v), 'f', decimals);
    if (text.startsWith(QLatin1Char('-')) && text.toDouble() == 0)
        text.remove(0, 1);
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

Ticks niceTicks(double lo, double hi, int wanted)
{
    if (!(hi > lo)) {
        const double pad = std::max(std::abs(lo) * 0.1, 1.0);
        lo -= pad;
        hi += pad;
    }
    wanted = std::max(wanted, 1);
    const double raw = (hi - lo) / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * power;
        if (step >= raw)
            break;
    }
    Ticks t;
    t.step = step;
    t.lo = std::floor(lo / step + 1e-9) * step;
    t.hi = std::ceil(hi / step - 1e-9) * step;
    t.decimals = std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
    return t;
}

double timeStepMs(double spanMs, double widthPixels, double minPixels)
{
    static constexpr double steps[] = {100, 200, 500, 1000, 2000, 5000, 10000, 15000, 30000, 60000, 120000,
                                       300000, 600000, 900000, 1800000, 3600000, 7200000, 18000000, 36000000};
    const double perPixel = spanMs / std::max(widthPixels, 1.0);
    for (double s : steps)
        if (s / perPixel >= minPixels)
            return s;
    return steps[std::size(steps) - 1];
}

} // namespace ChartFormat
