#pragma once

#include "app/PetrolGasTabs.h"
#include "app/SwitchTab.h"
#include "app/TopPanel.h"

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
