#pragma once

#include <QString>

class QWidget;
class T270Meter;
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
// component name as a child of parent.
class InstrumentFactory
{
public:
    static TValueInd *valueIndicator(const QString &name, QWidget *parent);
    static TVBar *verticalBar(const QString &name, QWidget *parent);
    static TBar *bar(const QString &name, QWidget *parent);
    static THMeter *horizontalMeter(const QString &name, QWidget *parent);
    static T270Meter *meter270(const QString &name, QWidget *parent);
    static TThermometer *thermometer(const QString &name, QWidget *parent);
    static TLedIndicator *led(const QString &name, const QString &caption, QWidget *parent);
    static TToggleSwitch *toggleSwitch(const QString &name, const QString &textOn, const QString &textOff,
                                       QWidget *parent);
    static TDial *dial(const QString &name, QWidget *parent);
    static TVSlider *verticalSlider(const QString &name, QWidget *parent);
    static TSpinButton *spinButton(const QString &name, QWidget *parent);
    static TMiniTrend *miniTrend(const QString &name, QWidget *parent);

    // Round meter look: inset of the colour sectors (300 moves them off the
    // dial) and pointer shape. Anything but a round meter is left alone.
    static void setMeterLook(QWidget *meter, int sectorOffset, int pointerShape);
};
