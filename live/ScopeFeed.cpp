#include "live/ScopeFeed.h"

#include "live/ScopeViews.h"

QList<ScopeFeed::Entry> ScopeFeed::order(const std::array<bool, ScopeViewCount> &checked)
{
    QList<Entry> out;
    for (size_t i = 0; i < AllScopeViews.size(); ++i) {
        if (!checked[i])
            continue;
        const ScopeView view = AllScopeViews[i];
        // Scale ends do not matter for where the values come from.
        const ScopeViews::Settings s = ScopeViews::settings(view, 0.0f, 0.0f);
        if (view == ScopeView::PetrolLpg) {
            // This view has always handed the gas time over first.
            out.append({2, s.ch2.source});
            out.append({1, s.ch1.source});
        } else {
            out.append({1, s.ch1.source});
            out.append({2, s.ch2.source});
        }
    }
    return out;
}

QList<ScopeFeed::Sample> ScopeFeed::samples(const std::array<bool, ScopeViewCount> &checked,
                                            const std::function<float(const QString &)> &gaugeValue)
{
    QList<Sample> out;
    for (const Entry &e : order(checked))
        out.append({e.channel, gaugeValue(e.source)});
    return out;
}
