#pragma once

#include "app/common/SignalSetup.h"

#include "settings/SettingsTable.h"

class QComboBox;
class QWidget;
class TDial;
class TVSlider;

// A settings control built from its row of the settings table: its name,
// its items or its range come from there, the rest (format, names, unit)
// from the window's look.
class SettingControls
{
public:
    static QComboBox *combo(SettingsTable::Id id, QWidget *parent);
    static TDial *dial(SettingsTable::Id id, QWidget *parent, SignalSetup look);
    static TVSlider *slider(SettingsTable::Id id, QWidget *parent, SignalSetup look);
    // The look with the row's range filled in.
    static SignalSetup withRange(SettingsTable::Id id, SignalSetup look);
};
