#pragma once

#include <QString>

class QAbstractButton;
class QWidget;

// Every instrument of the window is created here, and only here, so that the
// stand-ins can be exchanged for the real instrument classes in one place.
// Each function creates the instrument under its component name as a child
// of parent.
class InstrumentFactory
{
public:
    static QWidget *valueIndicator(const QString &name, QWidget *parent); // numeric display
    static QWidget *verticalBar(const QString &name, QWidget *parent);    // injection-time bar
    static QWidget *bar(const QString &name, QWidget *parent);            // lambda bar
    static QWidget *horizontalMeter(const QString &name, QWidget *parent);
    static QWidget *meter270(const QString &name, QWidget *parent);       // engine speed dial
    static QWidget *thermometer(const QString &name, QWidget *parent);
    static QWidget *led(const QString &name, const QString &caption, QWidget *parent);
    static QAbstractButton *toggleSwitch(const QString &name, const QString &textOn,
                                         const QString &textOff, QWidget *parent);
    static QWidget *dial(const QString &name, QWidget *parent);
    static QWidget *verticalSlider(const QString &name, QWidget *parent);
    static QWidget *spinButton(const QString &name, QWidget *parent);
    static QWidget *miniTrend(const QString &name, QWidget *parent);

    // Round meter look: inset of the colour sectors (300 moves them off the
    // dial) and pointer shape.
    static void setMeterLook(QWidget *meter, int sectorOffset, int pointerShape);
};
