#pragma once

#include "live/ScopeView.h"

#include <QObject>

#include <array>

class NamedComponents;
class QRadioButton;
class TMiniTrend;

// The "Oscyloskop" tab's behaviour: the five radio buttons that choose which
// pair of gauges the chart `Oscyloskop` plots, and `FeedOscilloscope`, which
// hands the chosen pair's current values over. The chart's initial settings
// are the window's (MonitoringTabs).
class ScopeTab : public QObject
{
public:
    explicit ScopeTab(NamedComponents &components, QObject *parent = nullptr);

    // `OSC_PETROL_LPGClick` .. `RPM_LAMBDA2Click`: the view's names, units and
    // scale ends go to the two channels, the lambda ends as the bars have
    // them right now.
    void viewClicked(ScopeView view);

    // `FeedOscilloscope`: for each checked view, its sources' current values.
    void feed();

    // The five radio buttons' states in the feed's order.
    std::array<bool, ScopeViewCount> checkedViews();

    TMiniTrend *chart();

private:
    QRadioButton *button(ScopeView view);
    float gaugeValue(const QString &name);
    float scaleEnd(const QString &gauge);

    NamedComponents &m_components;
};
