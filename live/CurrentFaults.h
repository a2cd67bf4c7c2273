#pragma once

#include "live/LiveColour.h"
#include "live/LiveValues.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

// `ShowCurrentFaults` without the window: the numbered list of current faults
// for `Actual_errors_Memo` from the frame's active-low fault flags, whether
// `Error_Led` shows, and its blink colour.
class CurrentFaults
{
public:
    // One line of the list, without its line break.
    struct Line
    {
        int number = 0;
        int row = 0; // `LanguageTable` message row of the fault text
        QString text;
        bool operator==(const Line &) const = default;
    };

    static constexpr int InjectorRow = 6;
    static constexpr QLatin1StringView LineBreak{"\r\n"};

    // `messageText(row)` is the current-language text of a message row (the
    // table's column 0). Bits that name no fault never give a line.
    static QList<Line> lines(uint8_t flags34, uint8_t injectorFlags35, uint8_t flags48,
                             const std::function<QString(int)> &messageText);
    // From a decoded frame; empty when a fault byte is missing (the window
    // only asks when the frame carried all three).
    static QList<Line> lines(const LiveValues &values,
                             const std::function<QString(int)> &messageText);

    // The memo's text: every line followed by CR LF.
    static QString memoText(const QList<Line> &lines);

    // `Error_Led` shows exactly while the list is not empty.
    static bool bannerVisible(const QList<Line> &lines) { return !lines.isEmpty(); }

    // The banner changes colour on every frame, shown or not, so that it
    // blinks at the poll rate: clRed becomes light red, anything else clRed.
    static LiveColour nextBannerColour(LiveColour current)
    {
        return current == LiveColour::Red ? LiveColour::LightRed : LiveColour::Red;
    }
};
