#include "app/live/ScopeTab.h"

#include "app/common/HandlerGuard.h"
#include "app/common/NamedComponents.h"

#include "live/ScopeFeed.h"
#include "live/ScopeViews.h"

#include "widgets/TAnalogGControl.h"
#include "widgets/TMiniTrend.h"

#include <QRadioButton>

namespace {

void applyChannel(TSignalSettings &channel, const ScopeViews::Channel &view)
{
    // Name, unit, then scale end: the chart repaints its scales once the end
    // is known, with the new texts already in place.
    channel.SetName1(view.name1);
    channel.SetValueUnit(view.unit);
    channel.SetValueTo(view.valueTo);
}

} // namespace

ScopeTab::ScopeTab(NamedComponents &components, QObject *parent) : QObject(parent), m_components(components)
{
    for (ScopeView view : AllScopeViews) {
        if (QRadioButton *b = button(view))
            connect(b, &QRadioButton::clicked, this, [this, view] {
                HandlerGuard::run(m_components.root(), [this, view] { viewClicked(view); });
            });
    }
}

void ScopeTab::viewClicked(ScopeView view)
{
    TMiniTrend *scope = chart();
    if (!scope)
        return;
    const ScopeViews::Settings s =
        ScopeViews::settings(view, scaleEnd(QStringLiteral("lambda_1")), scaleEnd(QStringLiteral("lambda_2")));
    applyChannel(scope->SignalSettingsCh1(), s.ch1);
    applyChannel(scope->SignalSettingsCh2(), s.ch2);
    // The new pair's values at once: until the next frame the chart would
    // draw the old pair's values on the new scales (3.6 ms of gas as 3.6 bar).
    feed();
}

void ScopeTab::feed()
{
    TMiniTrend *scope = chart();
    if (!scope)
        return;
    const auto samples =
        ScopeFeed::samples(checkedViews(), [this](const QString &name) { return gaugeValue(name); });
    for (const ScopeFeed::Sample &s : samples) {
        if (s.channel == 1)
            scope->SetValueCh1(s.value);
        else
            scope->SetValueCh2(s.value);
    }
}

std::array<bool, ScopeViewCount> ScopeTab::checkedViews()
{
    std::array<bool, ScopeViewCount> checked{};
    for (size_t i = 0; i < AllScopeViews.size(); ++i) {
        QRadioButton *b = button(AllScopeViews[i]);
        checked[i] = b && b->isChecked();
    }
    return checked;
}

TMiniTrend *ScopeTab::chart()
{
    return m_components.find<TMiniTrend>(QStringLiteral("Oscyloskop"));
}

QRadioButton *ScopeTab::button(ScopeView view)
{
    return m_components.find<QRadioButton>(scopeViewButton(view));
}

float ScopeTab::gaugeValue(const QString &name)
{
    const TAnalogGControl *gauge = m_components.find<TAnalogGControl>(name);
    return gauge ? gauge->Value() : 0.0f;
}

float ScopeTab::scaleEnd(const QString &gauge)
{
    const TAnalogGControl *g = m_components.find<TAnalogGControl>(gauge);
    return g ? g->SignalSettings().ValueTo() : 0.0f;
}
