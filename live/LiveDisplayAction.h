#pragma once

#include "live/LiveColour.h"

#include <QString>

// One thing the window does to one display while it applies a live frame, or
// one of the calls the frame hands on to other parts of the program. The
// window runs a list of these in order; `target` is the component's
// objectName (empty for the hand-on calls).
struct LiveDisplayAction
{
    enum class Kind {
        Value,         // gauge value (`number`, single precision)
        ScaleTo,       // upper end of the gauge's scale (`number`)
        Enabled,       // enable/disable (`flag`)
        SwitchColours, // toggle switch: `colourOff`, `colourOn`
        Checked,       // toggle switch state (`flag`), set without sending anything
        SectorOffset,  // dial's colour sector offset (`integer`)
        PointerShape,  // dial's pointer shape (`integer`)
        LedLit,        // LED lit or dark (`flag`)
        Text,          // read-only edit text (`text`)
        FeedOscilloscope,
        ShowCurrentFaults,
        UpdateTimeCurves,       // selector in `integer`
        StoreCalibrationSample, // stream position in `integer`
    };

    int step = 0; // where in the frame's sequence (1..18) this belongs
    Kind kind = Kind::Value;
    QString target;
    float number = 0.0f;
    int integer = 0;
    bool flag = false;
    QString text;
    LiveColour colourOff = LiveColour::BtnFace;
    LiveColour colourOn = LiveColour::BtnFace;

    bool operator==(const LiveDisplayAction &) const = default;
};
