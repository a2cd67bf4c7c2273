#include "app/common/InstrumentFactory.h"

#include "widgets/T270Meter.h"
#include "widgets/TBar.h"
#include "widgets/TDial.h"
#include "widgets/THMeter.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TMiniTrend.h"
#include "widgets/TSpinButton.h"
#include "widgets/TThermometer.h"
#include "widgets/TToggleSwitch.h"
#include "widgets/TVBar.h"
#include "widgets/TVSlider.h"
#include "widgets/TValueInd.h"

namespace {

template <typename T>
T *make(const QString &name, QWidget *parent)
{
    auto *w = new T(parent);
    w->setObjectName(name);
    return w;
}

template <typename T>
T *gauge(const QString &name, QWidget *parent, const SignalSetup &signal)
{
    T *w = make<T>(name, parent);
    signal.applyTo(w->SignalSettings());
    // The hint lists only the names this instrument was given, never the
    // widget's stock names.
    THintOptions hint = hoAutoHint | hoValue | hoMin | hoMax;
    if (signal.name1)
        hint |= hoName1;
    if (signal.name2)
        hint |= hoName2;
    w->SetHintOptions(hint);
    InstrumentFactory::startAt(w, 0.0f);
    return w;
}

template <typename T>
T *control(const QString &name, QWidget *parent, const SignalSetup &signal)
{
    T *w = make<T>(name, parent);
    // Building the window is not a change the user or the controller made.
    w->SetLoading(true);
    signal.applyTo(w->SignalSettings());
    w->SetLoading(false);
    return w;
}

} // namespace

void InstrumentFactory::startAt(TAnalogGControl *gauge, float value)
{
    gauge->SetValue(value);
    gauge->MinMax().Reset();
}

TValueInd *InstrumentFactory::valueIndicator(const QString &name, QWidget *parent, const SignalSetup &signal)
{
    return gauge<TValueInd>(name, parent, signal);
}

TVBar *InstrumentFactory::verticalBar(const QString &name, QWidget *parent, const SignalSetup &signal)
{
    return gauge<TVBar>(name, parent, signal);
}

TBar *InstrumentFactory::bar(const QString &name, QWidget *parent, const SignalSetup &signal)
{
    auto *w = gauge<TBar>(name, parent, signal);
    w->SetOrientation(Qt::Vertical);
    return w;
}

THMeter *InstrumentFactory::horizontalMeter(const QString &name, QWidget *parent, const SignalSetup &signal)
{
    return gauge<THMeter>(name, parent, signal);
}

T270Meter *InstrumentFactory::meter270(const QString &name, QWidget *parent, const SignalSetup &signal)
{
    return gauge<T270Meter>(name, parent, signal);
}

TThermometer *InstrumentFactory::thermometer(const QString &name, QWidget *parent, const SignalSetup &signal)
{
    return gauge<TThermometer>(name, parent, signal);
}

TLedIndicator *InstrumentFactory::led(const QString &name, const QString &caption, QWidget *parent)
{
    auto *w = new TLedIndicator(caption, parent);
    w->setObjectName(name);
    return w;
}

TLedIndicator *InstrumentFactory::squareLed(const QString &name, const QString &caption, QWidget *parent)
{
    TLedIndicator *w = led(name, caption, parent);
    w->SetShape(sRectangle);
    w->SetLED_Position(lpTop);
    w->SetSpacing(2);
    return w;
}

TLedIndicator *InstrumentFactory::reserveLed(const QString &name, QWidget *parent)
{
    TLedIndicator *w = squareLed(name, QStringLiteral("R"), parent);
    w->SetColorOn(QColor(0xFF, 0x00, 0x00));
    w->SetFrequency(ff4Hz);
    return w;
}

TToggleSwitch *InstrumentFactory::toggleSwitch(const QString &name, const QString &textOn, const QString &textOff,
                                               QWidget *parent)
{
    auto *w = make<TToggleSwitch>(name, parent);
    w->SetTextOn(textOn);
    w->SetTextOff(textOff);
    return w;
}

TDial *InstrumentFactory::dial(const QString &name, QWidget *parent, const SignalSetup &signal)
{
    return control<TDial>(name, parent, signal);
}

TVSlider *InstrumentFactory::verticalSlider(const QString &name, QWidget *parent, const SignalSetup &signal)
{
    return control<TVSlider>(name, parent, signal);
}

TSpinButton *InstrumentFactory::spinButton(const QString &name, QWidget *parent)
{
    return make<TSpinButton>(name, parent);
}

TMiniTrend *InstrumentFactory::miniTrend(const QString &name, QWidget *parent)
{
    auto *w = make<TMiniTrend>(name, parent);
    w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return w;
}

void InstrumentFactory::setMeterLook(QWidget *meter, int sectorOffset, int pointerShape)
{
    if (auto *round = qobject_cast<TRMeter *>(meter)) {
        round->SectorSettings().SetOffset(sectorOffset);
        round->ArrowSettings().SetShape(pointerShape);
    }
}
