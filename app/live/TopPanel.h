#pragma once

#include <array>

class QGroupBox;
class QLabel;
class QRadioButton;
class QWidget;
class TLedIndicator;
class TToggleSwitch;

// The panel above the tabs (`Panel1Gora`): supply voltage, injection times,
// active gas injectors, lambda probes, MAP/P1, engine speed, the fuel switch
// with the level LEDs, temperatures, the connection switch and the hidden
// fault banner.
struct TopPanelView
{
    QWidget *panel = nullptr;
    std::array<QRadioButton *, 8> injectorShows{}; // Cyl_0_show .. Cyl_7_show
    std::array<TLedIndicator *, 8> injectorLeds{}; // Cyl_0_led .. Cyl_7_led
    QGroupBox *fuelGroup = nullptr;                // Zaplon_panel
    TToggleSwitch *fuelSwitch = nullptr;           // paliwo_Switch
    QLabel *fuelPending = nullptr;                 // paliwo_pending: a request not carried out yet
};

class TopPanel
{
public:
    static TopPanelView build(QWidget *parent);
};
