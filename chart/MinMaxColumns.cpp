#include "chart/MinMaxColumns.h"

#include <algorithm>
#include <cmath>

MinMaxColumns MinMaxColumns::compute(const ChartSeries &series, int channel, double fromMs, double toMs, int count)
{
    MinMaxColumns out;
    count = std::max(count, 1);
    out.columns.resize(count);
    const qint64 first = qint64(std::ceil(fromMs));
    const int begin = series.indexAtOrAfter(first);
    out.heldIn = series.heldValue(channel, begin - 1);
    if (toMs <= fromMs)
        return out;

    const QVector<qint64> &times = series.times();
    const QVector<float> &values = series.values(channel);
    const double perMs = count / (toMs - fromMs);
    for (int i = begin; i < times.size() && times[i] <= toMs; ++i) {
        const float v = values[i];
        if (std::isnan(v))
            continue;
        const int c = std::min(int((times[i] - fromMs) * perMs), count - 1);
        MinMaxColumn &col = out.columns[c];
        if (col.empty) {
            col = {v, v, v, v, false};
        } else {
            col.min = std::min(col.min, v);
            col.max = std::max(col.max, v);
            col.last = v;
        }
    }
    return out;
}
