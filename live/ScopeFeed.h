#pragma once

#include "live/ScopeView.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>

// `FeedOscilloscope`: which gauge values go to which channel of `Oscyloskop`,
// in the order they are handed over (`SetValueCh1`/`SetValueCh2`). Runs after
// every gauge of the frame has its new value; the chart only stores them and
// draws at its own ticks.
class ScopeFeed
{
public:
    struct Entry
    {
        int channel = 1;  // 1 or 2
        QString source;   // objectName of the gauge whose current value goes there
        bool operator==(const Entry &) const = default;
    };

    struct Sample
    {
        int channel = 1;
        float value = 0.0f;
        bool operator==(const Sample &) const = default;
    };

    // `checked[i]` is the state of the radio button of AllScopeViews[i]. With
    // none checked nothing is handed over and the chart keeps its last values.
    static QList<Entry> order(const std::array<bool, ScopeViewCount> &checked);

    // The same with the values read through `gaugeValue(objectName)`.
    static QList<Sample> samples(const std::array<bool, ScopeViewCount> &checked,
                                 const std::function<float(const QString &)> &gaugeValue);
};
