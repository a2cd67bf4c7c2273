#pragma once

#include "live/ScopeView.h"

#include <QObject>

#include <array>

class NamedComponents;
class QRadioButton;
class TMiniTrend;

// The "Oscyloskop" tab: the chart `Oscyloskop` as the window defines it, the
// five radio buttons that choose which pair of gauges it plots, and
// `FeedOscilloscope`, which hands the chosen pair's current values over.
class ScopeTab : public QObject
{
public:
    // Shared by both channels until a view is chosen.
    static constexpr float InitialScaleEnd = 50.0f;
    static constexpr int InitialDigitalTo = 50;
    static constexpr int TimeScaleMinutes = 1;

    explicit ScopeTab(NamedComponents &components, QObject *parent = nullptr);

    // The chart's initial settings; the radio buttons start unchecked.
    void configure();

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
