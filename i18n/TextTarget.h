#pragma once

#include <span>
#include <vector>

// What a control-text row (21-119) of LanguageTable sets when a language is
// applied: the control, by objectName, and which of its texts.
enum class TextTargetKind {
    Caption,       // caption, tab text, menu text or chart series title
    Name1,         // first signal name of an instrument widget
    Name2,         // second signal name of an instrument widget
    Item,          // entry `item` of a combo box list
    OffText,       // text a toggle switch shows when off
    Hint,          // tool tip
    LeftAxisTitle, // title of a chart's left axis
};

struct TextTarget
{
    int row;
    const char *objectName;
    TextTargetKind kind;
    int item; // combo box entry for Item, otherwise 0
};

// Every control target, in row order.
std::span<const TextTarget> textTargets();

// The targets of one row (two for row 94, none outside 21-119).
std::vector<TextTarget> textTargetsOfRow(int row);
