#include "app/InstrumentFactory.h"

#include "app/PlaceholderInstrument.h"
#include "app/PlaceholderSwitch.h"

namespace {

QWidget *make(const QString &kind, const QString &name, const QString &caption, QSize size, QWidget *parent)
{
    auto *w = new PlaceholderInstrument(kind, caption, size, parent);
    w->setObjectName(name);
    w->setAccessibleName(name);
    return w;
}

} // namespace

QWidget *InstrumentFactory::valueIndicator(const QString &name, QWidget *parent)
{
    return make(QStringLiteral("TValueInd"), name, QString(), QSize(92, 28), parent);
}

QWidget *InstrumentFactory::verticalBar(const QString &name, QWidget *parent)
{
    return make(QStringLiteral("TVBar"), name, QString(), QSize(40, 140), parent);
}

QWidget *InstrumentFactory::bar(const QString &name, QWidget *parent)
{
    return make(QStringLiteral("TBar"), name, QString(), QSize(34, 140), parent);
}

QWidget *InstrumentFactory::horizontalMeter(const QString &name, QWidget *parent)
{
    return make(QStringLiteral("THMeter"), name, QString(), QSize(136, 50), parent);
}

QWidget *InstrumentFactory::meter270(const QString &name, QWidget *parent)
{
    return make(QStringLiteral("T270Meter"), name, QString(), QSize(128, 128), parent);
}

QWidget *InstrumentFactory::thermometer(const QString &name, QWidget *parent)
{
    return make(QStringLiteral("TThermometer"), name, QString(), QSize(42, 140), parent);
}

QWidget *InstrumentFactory::led(const QString &name, const QString &caption, QWidget *parent)
{
    return make(QStringLiteral("TLedIndicator"), name, caption, QSize(22, 22), parent);
}

QAbstractButton *InstrumentFactory::toggleSwitch(const QString &name, const QString &textOn,
                                                 const QString &textOff, QWidget *parent)
{
    auto *w = new PlaceholderSwitch(textOn, textOff, parent);
    w->setObjectName(name);
    w->setAccessibleName(name);
    return w;
}

QWidget *InstrumentFactory::dial(const QString &name, QWidget *parent)
{
    return make(QStringLiteral("TDial"), name, QString(), QSize(110, 110), parent);
}

QWidget *InstrumentFactory::verticalSlider(const QString &name, QWidget *parent)
{
    return make(QStringLiteral("TVSlider"), name, QString(), QSize(56, 170), parent);
}

QWidget *InstrumentFactory::spinButton(const QString &name, QWidget *parent)
{
    return make(QStringLiteral("TSpinButton"), name, QString(), QSize(30, 60), parent);
}

QWidget *InstrumentFactory::miniTrend(const QString &name, QWidget *parent)
{
    auto *w = make(QStringLiteral("TMiniTrend"), name, QString(), QSize(480, 300), parent);
    w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    return w;
}

void InstrumentFactory::setMeterLook(QWidget *meter, int sectorOffset, int pointerShape)
{
    if (auto *placeholder = qobject_cast<PlaceholderInstrument *>(meter))
        placeholder->setMeterLook(sectorOffset, pointerShape);
}
