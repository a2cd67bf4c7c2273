#pragma once

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QWidget;
class TVSlider;

// The "Panel Petrol" page (TabSheet1): the petrol-side settings.
struct PetrolTabView
{
    QWidget *page = nullptr;
    QComboBox *cylinders = nullptr;       // Sel_cyl
    QComboBox *pulses = nullptr;          // Sel_Impuls
    QComboBox *rpmSignal = nullptr;       // Sel_RPM_signal
    QComboBox *engineType = nullptr;      // Sel_Typ_silnika
    QCheckBox *injectorsPositive = nullptr; // Check_Injector_plus
    QLabel *injectorsPositiveLabel = nullptr; // Label40
};

// The "Panel Gaz" page (TabSheet2): the gas-side settings.
struct GasTabView
{
    QWidget *page = nullptr;
    QGroupBox *injectorGroup = nullptr;   // GroupBox12
    QComboBox *injectorType = nullptr;    // Sel_Typ_wtrysku
    QRadioButton *lpg = nullptr;          // LPG_RadioButton
    QRadioButton *cng = nullptr;          // CNG_RadioButton
    QComboBox *pressureSensor = nullptr;  // P1_MAP_changer
    QComboBox *reducerSensor = nullptr;   // T_RED_changer
    QComboBox *gasSensor = nullptr;       // T_GAZ_changer
    QGroupBox *pressureGroup = nullptr;   // GroupBox14
    TVSlider *workingPressure = nullptr;  // P_pracy_changer
    TVSlider *minimumPressure = nullptr;  // P_min_changer
};

class PetrolGasTabs
{
public:
    static PetrolTabView petrol(QWidget *parent);
    static GasTabView gas(QWidget *parent);
};
