#pragma once

#include "app/common/SignalSetup.h"

#include <QString>

class QWidget;
class T270Meter;
class TAnalogGControl;
class TBar;
class TDial;
class THMeter;
class TLedIndicator;
class TMiniTrend;
class TSpinButton;
class TThermometer;
class TToggleSwitch;
class TValueInd;
class TVBar;
class TVSlider;

// Every instrument of the window is created here, and only here, under its
// component name as a child of parent, with the signal the window gives it.
// Display instruments start at rest (value 0, nothing remembered as minimum
// or maximum) so the window looks settled before any live data arrives.
class InstrumentFactory
{
public:
    static TValueInd *valueIndicator(const QString &name, QWidget *parent, const SignalSetup &signal = {});
    static TVBar *verticalBar(const QString &name, QWidget *parent, const SignalSetup &signal = {});
    static TBar *bar(const QString &name, QWidget *parent, const SignalSetup &signal = {});
    static THMeter *horizontalMeter(const QString &name, QWidget *parent, const SignalSetup &signal = {});
    static T270Meter *meter270(const QString &name, QWidget *parent, const SignalSetup &signal = {});
    static TThermometer *thermometer(const QString &name, QWidget *parent, const SignalSetup &signal = {});
    static TLedIndicator *led(const QString &name, const QString &caption, QWidget *parent);
    // Small square lamp under its caption, as the level and injector LEDs are.
    static TLedIndicator *squareLed(const QString &name, const QString &caption, QWidget *parent);
    // Reserve lamp of the level indicators: red, blinking at 4 Hz once flashing is switched on.
    static TLedIndicator *reserveLed(const QString &name, QWidget *parent);
    static TToggleSwitch *toggleSwitch(const QString &name, const QString &textOn, const QString &textOff,
                                       QWidget *parent);
    static TDial *dial(const QString &name, QWidget *parent, const SignalSetup &signal = {});
    static TVSlider *verticalSlider(const QString &name, QWidget *parent, const SignalSetup &signal = {});
    static TSpinButton *spinButton(const QString &name, QWidget *parent);
    static TMiniTrend *miniTrend(const QString &name, QWidget *parent);

    // Shows value as the window's starting value and forgets it as an extreme,
    // as a freshly loaded instrument has no minimum or maximum yet.
    static void startAt(TAnalogGControl *gauge, float value);

    // Round meter look: inset of the colour sectors (300 moves them off the
    // dial) and pointer shape. Anything but a round meter is left alone.
    static void setMeterLook(QWidget *meter, int sectorOffset, int pointerShape);
};
