#pragma once

#include "live/ScopeView.h"

#include <QString>

// What each radio button of the scope tab sets on the two channels of
// `Oscyloskop` when clicked: first name, unit text and upper scale end of
// channel 1, then the same three of channel 2, in that order. The lower end
// stays as the window defines it. Units carry their spaces on purpose: the
// channel 1 unit ends with one, the channel 2 unit begins with one.
class ScopeViews
{
public:
    struct Channel
    {
        QString name1;
        QString unit;
        float valueTo = 0.0f;
        QString source; // objectName of the gauge the channel is fed from
        bool operator==(const Channel &) const = default;
    };

    struct Settings
    {
        Channel ch1;
        Channel ch2;
        bool operator==(const Settings &) const = default;
    };

    // The lambda views take their channel 2 end from the lambda bar as it is
    // at the click (`lambda1End`/`lambda2End`: the current upper scale ends of
    // `lambda_1` and `lambda_2`); a later range switch of the bar does not
    // reach the scope until the view is chosen again.
    static Settings settings(ScopeView view, float lambda1End, float lambda2End);
};
