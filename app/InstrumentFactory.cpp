#include "app/InstrumentFactory.h"

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

} // namespace

TValueInd *InstrumentFactory::valueIndicator(const QString &name, QWidget *parent)
{
    return make<TValueInd>(name, parent);
}

TVBar *InstrumentFactory::verticalBar(const QString &name, QWidget *parent)
{
    return make<TVBar>(name, parent);
}

TBar *InstrumentFactory::bar(const QString &name, QWidget *parent)
{
    auto *w = make<TBar>(name, parent);
    w->SetOrientation(Qt::Vertical);
    return w;
}

THMeter *InstrumentFactory::horizontalMeter(const QString &name, QWidget *parent)
{
    return make<THMeter>(name, parent);
}

T270Meter *InstrumentFactory::meter270(const QString &name, QWidget *parent)
{
    return make<T270Meter>(name, parent);
}

TThermometer *InstrumentFactory::thermometer(const QString &name, QWidget *parent)
{
    return make<TThermometer>(name, parent);
}

TLedIndicator *InstrumentFactory::led(const QString &name, const QString &caption, QWidget *parent)
{
    auto *w = new TLedIndicator(caption, parent);
    w->setObjectName(name);
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

TDial *InstrumentFactory::dial(const QString &name, QWidget *parent)
{
    return make<TDial>(name, parent);
}

TVSlider *InstrumentFactory::verticalSlider(const QString &name, QWidget *parent)
{
    return make<TVSlider>(name, parent);
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
