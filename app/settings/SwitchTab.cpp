#include "app/settings/SwitchTab.h"

#include "app/common/InstrumentFactory.h"
#include "app/common/PlainControls.h"
#include "app/settings/SettingControls.h"

#include "widgets/TDial.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TVSlider.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using Id = SettingsTable::Id;

// The look of each dial; names, ranges and positions come from the settings
// table (positions are the byte sent, values what the fitter reads).
struct DialSetup
{
    Id setting;
    TDial *SwitchTabView::*member;
    SignalSetup look;
};

const DialSetup kToGas[] = {
    {Id::GasSwitchRpm, &SwitchTabView::gasSwitchRpm,
     {.format = QStringLiteral("###0"), .name2 = QString(), .unit = QStringLiteral("rpm")}},
    {Id::GasSwitchTemperature, &SwitchTabView::gasSwitchTemperature,
     {.format = QStringLiteral("##0"), .name2 = QStringLiteral("Temperatura"), .unit = QStringLiteral("°C")}},
    {Id::SwitchOverTime, &SwitchTabView::switchOverTime,
     {.format = QStringLiteral("#0"), .name2 = QStringLiteral("Czas Przeł."), .unit = QStringLiteral("s")}},
    {Id::CylinderSequenceTime, &SwitchTabView::cylinderSequenceTime,
     {.format = QStringLiteral("###0"), .name2 = QStringLiteral("Sekw. Cylindra"), .unit = QStringLiteral("ms")}},
};
const DialSetup kToPetrol[] = {
    {Id::MaxRpmToPetrol, &SwitchTabView::maxRpmToPetrol,
     {.format = QStringLiteral("####0"), .name2 = QString(), .unit = QStringLiteral("rpm")}},
    {Id::PressureFaultTime, &SwitchTabView::pressureFaultTime,
     {.format = QStringLiteral("###0"), .name2 = QStringLiteral("Cz. Błędu Ciś."), .unit = QStringLiteral("ms")}},
};

template <size_t N>
QGroupBox *dialGroup(const char *name, const QString &title, const DialSetup (&dials)[N], const char *inactiveDial,
                     SwitchTabView &view, QWidget *parent)
{
    auto *g = PlainControls::group(QString::fromLatin1(name), title, parent);
    auto *column = new QVBoxLayout(g);
    auto *row = new QHBoxLayout;
    column->addLayout(row);
    for (const DialSetup &dial : dials) {
        TDial *d = SettingControls::dial(dial.setting, g, dial.look);
        view.*dial.member = d;
        row->addWidget(d);
    }
    // A spare dial of the same group that the program never uses.
    QWidget *spare = InstrumentFactory::dial(QString::fromLatin1(inactiveDial), g, SignalSetup{.name2 = QString()});
    spare->setEnabled(false);
    spare->setFocusPolicy(Qt::NoFocus);
    row->addWidget(spare);
    row->addStretch(1);
    return g;
}

QGroupBox *levelGroup(SwitchTabView &view, QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox18"), QStringLiteral("Wskaźnik poziomu"), parent);
    auto *grid = new QGridLayout(g);
    grid->setVerticalSpacing(8);

    // Thresholds 4 (full) down to 1, each beside the LED it lights.
    for (int j = 4; j >= 1; --j) {
        const int row = 4 - j;
        grid->addWidget(InstrumentFactory::squareLed(QStringLiteral("Gaz_led_%1p").arg(j), QString::number(j), g), row, 0,
                        Qt::AlignCenter);
        QLineEdit *threshold = PlainControls::edit(QStringLiteral("Ch_U_LPG_%1").arg(j), QStringLiteral("0,00"), g);
        threshold->setMaxLength(4);
        view.levelThresholds[size_t(j - 1)] = threshold;
        grid->addWidget(threshold, row, 1);
    }
    grid->addWidget(InstrumentFactory::reserveLed(QStringLiteral("Rezerwa_led_panel"), g), 4, 0, Qt::AlignCenter);

    // Edits one threshold at a time with the Up and Down keys; shown only
    // while a threshold is being changed.
    TVSlider *slider = InstrumentFactory::verticalSlider(
        QStringLiteral("Ch_U_LPG_changer"), g,
        {.valueTo = 5.0f, .digitalTo = 500, .format = QStringLiteral("#0.00"), .unit = QStringLiteral("V")});
    slider->SetEnabledKeys(_VK_UP | _VK_DOWN);
    slider->setVisible(false);
    grid->addWidget(slider, 0, 2, 5, 1);

    QLabel *sensorLabel = PlainControls::label(QStringLiteral("Label17"), QStringLiteral("Rodzaj czujnika"), g);
    view.levelSensor = SettingControls::combo(Id::LevelSensor, g);
    sensorLabel->setBuddy(view.levelSensor);
    grid->addWidget(sensorLabel, 5, 0, 1, 2);
    grid->addWidget(view.levelSensor, 6, 0, 1, 3);
    grid->addWidget(PlainControls::label(QStringLiteral("Label16"), QStringLiteral("Odczyt [V]"), g), 7, 0, 1, 2);
    QLineEdit *reading = PlainControls::edit(QStringLiteral("U_zbiornika"), QStringLiteral("0.00"), g);
    reading->setReadOnly(true);
    grid->addWidget(reading, 8, 0, 1, 2);
    grid->setRowStretch(9, 1);
    grid->setColumnMinimumWidth(2, 60);
    return g;
}

} // namespace

SwitchTabView SwitchTab::build(QWidget *parent)
{
    SwitchTabView v;
    v.page = new QWidget(parent);
    v.page->setObjectName(QStringLiteral("TabSheet9"));
    auto *row = new QHBoxLayout(v.page);

    auto *switching = new QVBoxLayout;
    v.toGasGroup = dialGroup("GroupBox13", QStringLiteral("Parametry przełączania na gaz"), kToGas, "Dial6", v, v.page);
    switching->addWidget(v.toGasGroup);
    v.toPetrolGroup =
        dialGroup("GroupBox17", QStringLiteral("Parametry przełączania na benzynę"), kToPetrol, "Dial5", v, v.page);
    auto *firstDrop = new QHBoxLayout;
    v.switchAtFirstDrop = PlainControls::check(QStringLiteral("Check_by_first"), QString(), v.toPetrolGroup);
    v.switchAtFirstDropLabel =
        PlainControls::label(QStringLiteral("Label24"), QStringLiteral("Przełącz przy pierwszym spadku ciśnienia"),
                             v.toPetrolGroup);
    v.switchAtFirstDropLabel->setBuddy(v.switchAtFirstDrop);
    firstDrop->addWidget(v.switchAtFirstDrop);
    firstDrop->addWidget(v.switchAtFirstDropLabel);
    firstDrop->addStretch(1);
    static_cast<QVBoxLayout *>(v.toPetrolGroup->layout())->insertLayout(0, firstDrop);
    // The check box sits above the dials: reach it first.
    QWidget::setTabOrder(v.switchAtFirstDrop, v.maxRpmToPetrol);
    QWidget::setTabOrder(v.maxRpmToPetrol, v.pressureFaultTime);
    switching->addWidget(v.toPetrolGroup);
    switching->addStretch(1);
    row->addLayout(switching);

    row->addWidget(levelGroup(v, v.page));
    row->addStretch(1);
    return v;
}
