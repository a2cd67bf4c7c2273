#include "chart/ChartSeries.h"

#include "chart/ChartChannel.h"

#include <algorithm>
#include <limits>

ChartSeries::ChartSeries() : m_values(ChartChannel::all().size()) {}

void ChartSeries::append(qint64 ms, const LiveValues &values)
{
    // A clock stepping back (kept by the file) must not break the search.
    if (!m_times.isEmpty() && ms < m_times.last())
        ms = m_times.last();
    m_times.append(ms);
    for (int c = 0; c < m_values.size(); ++c)
        m_values[c].append(ChartChannel::valueOf(c, values));
}

void ChartSeries::dropBefore(qint64 ms)
{
    const int n = indexAtOrAfter(ms);
    if (n <= 0)
        return;
    m_times.remove(0, n);
    for (QVector<float> &column : m_values)
        column.remove(0, n);
}

void ChartSeries::clear()
{
    m_times.clear();
    for (QVector<float> &column : m_values)
        column.clear();
}

int ChartSeries::indexAtOrBefore(qint64 ms) const
{
    return int(std::upper_bound(m_times.cbegin(), m_times.cend(), ms) - m_times.cbegin()) - 1;
}

int ChartSeries::indexAtOrAfter(qint64 ms) const
{
    return int(std::lower_bound(m_times.cbegin(), m_times.cend(), ms) - m_times.cbegin());
}

float ChartSeries::heldValue(int channel, int index) const
{
    const QVector<float> &column = m_values[channel];
    for (int i = std::min(index, int(column.size()) - 1); i >= 0; --i)
        if (!std::isnan(column[i]))
            return column[i];
    return std::numeric_limits<float>::quiet_NaN();
}

float ChartSeries::valueAt(int channel, qint64 ms) const
{
    return heldValue(channel, indexAtOrBefore(ms));
}
