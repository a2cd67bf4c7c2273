#pragma once

#include "app/settings/PetrolGasTabs.h"
#include "app/settings/SwitchTab.h"
#include "app/live/TopPanel.h"

class QPlainTextEdit;
class QWidget;

// Every component the settings block reaches, as the parts of the window
// that own them built them.
struct SettingsView
{
    PetrolTabView petrol;
    GasTabView gas;
    SwitchTabView switching;
    TopPanelView top;
    QWidget *mapChart = nullptr;               // Chart1
    QPlainTextEdit *registeredFaults = nullptr; // Register_errors_memo
};
