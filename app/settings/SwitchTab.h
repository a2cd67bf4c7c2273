#pragma once

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;
class TDial;
class TVSlider;

// The "Przełącznik" page (TabSheet9): the conditions for switching to gas
// and back to petrol (dials), and the tank-level indicator with its sensor
// thresholds.
struct SwitchTabView
{
    QWidget *page = nullptr;
    QGroupBox *toGasGroup = nullptr;         // GroupBox13
    TDial *gasSwitchRpm = nullptr;           // RPM_Prog_przel
    TDial *gasSwitchTemperature = nullptr;   // Temp_LPG_changer
    TDial *switchOverTime = nullptr;         // T_przel_to_LPG
    TDial *cylinderSequenceTime = nullptr;   // T_CYL_seqence
    QGroupBox *toPetrolGroup = nullptr;      // GroupBox17
    TDial *maxRpmToPetrol = nullptr;         // RPM_Max_To_Petrol
    TDial *pressureFaultTime = nullptr;      // T_zwloki_changer
    QCheckBox *switchAtFirstDrop = nullptr;  // Check_by_first
    QLabel *switchAtFirstDropLabel = nullptr; // Label24
    std::array<QLineEdit *, 4> levelThresholds{}; // Ch_U_LPG_1 .. Ch_U_LPG_4
    QComboBox *levelSensor = nullptr;        // Rodz_czuj_LPG
};

class SwitchTab
{
public:
    static SwitchTabView build(QWidget *parent);
};
