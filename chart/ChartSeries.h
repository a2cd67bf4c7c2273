#pragma once

#include "live/LiveValues.h"

#include <QVector>

#include <cmath>

// The channels of the decodable live answers, column by column: the answers'
// times (ms since the recording or the live view began, never decreasing) and
// for every channel one value per answer, NaN where the answer did not carry
// it. A gauge holds its value until the next answer changes it, so the value
// at a time is that of the last answer at or before it that carried one.
class ChartSeries
{
public:
    ChartSeries();

    void append(qint64 ms, const LiveValues &values);
    // Forgets every answer before `ms` (the live view's ring).
    void dropBefore(qint64 ms);
    void clear();

    int size() const { return int(m_times.size()); }
    bool isEmpty() const { return m_times.isEmpty(); }
    const QVector<qint64> &times() const { return m_times; }
    const QVector<float> &values(int channel) const { return m_values[channel]; }
    qint64 firstMs() const { return m_times.isEmpty() ? 0 : m_times.first(); }
    qint64 lastMs() const { return m_times.isEmpty() ? 0 : m_times.last(); }

    // Index of the last answer at or before `ms`, -1 when there is none.
    int indexAtOrBefore(qint64 ms) const;
    // Index of the first answer at or after `ms`; size() when there is none.
    int indexAtOrAfter(qint64 ms) const;
    // What the gauge showed at `ms`; NaN before the first answer carrying it.
    float valueAt(int channel, qint64 ms) const;
    // The same from answer `index` back.
    float heldValue(int channel, int index) const;

private:
    QVector<qint64> m_times;
    QVector<QVector<float>> m_values;
};
