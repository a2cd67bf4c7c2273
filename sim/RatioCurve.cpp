#include "sim/RatioCurve.h"

#include <QStringList>

std::optional<RatioCurve> RatioCurve::parse(const QString &text)
{
    RatioCurve c;
    const QStringList parts = text.trimmed().split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return std::nullopt;
    for (const QString &part : parts) {
        const QStringList pair = part.trimmed().split(QLatin1Char(':'));
        if (pair.size() != 2)
            return std::nullopt;
        bool okMs = false, okRatio = false;
        const double ms = pair[0].trimmed().toDouble(&okMs);
        const double ratio = pair[1].trimmed().toDouble(&okRatio);
        if (!okMs || !okRatio || ms <= 0 || ms > LongestMs || ratio < LowestRatio || ratio > HighestRatio)
            return std::nullopt;
        if (!c.m_points.empty() && ms <= c.m_points.back().petrolMs)
            return std::nullopt;
        c.m_points.push_back({ms, ratio});
    }
    return c;
}

double RatioCurve::at(double petrolMs) const
{
    if (m_points.empty())
        return 1.0;
    if (petrolMs <= m_points.front().petrolMs)
        return m_points.front().ratio;
    for (size_t i = 1; i < m_points.size(); ++i) {
        const Point &a = m_points[i - 1], &b = m_points[i];
        if (petrolMs <= b.petrolMs)
            return a.ratio + (b.ratio - a.ratio) * (petrolMs - a.petrolMs) / (b.petrolMs - a.petrolMs);
    }
    return m_points.back().ratio;
}

QString RatioCurve::text() const
{
    QStringList parts;
    for (const Point &p : m_points)
        parts << QStringLiteral("%1:%2").arg(p.petrolMs).arg(p.ratio, 0, 'f', 2);
    return parts.join(QLatin1Char(','));
}
