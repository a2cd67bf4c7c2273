#include "app/TopPanel.h"

#include "app/InstrumentFactory.h"
#include "app/PlainControls.h"
#include "widgets/TToggleSwitch.h"

#include "widgets/T270Meter.h"
#include "widgets/TBar.h"
#include "widgets/THMeter.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TThermometer.h"
#include "widgets/TVBar.h"
#include "widgets/TValueInd.h"
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QGroupBox *batteryGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox1"), QString(), parent);
    auto *l = new QVBoxLayout(g);
    l->addWidget(InstrumentFactory::valueIndicator(QStringLiteral("BATERY_vpp"), g));
    return g;
}

QGroupBox *injectionGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox6"), QStringLiteral("Inj. Petrol/Gaz"), parent);
    auto *l = new QGridLayout(g);
    QLabel *petrol = PlainControls::label(QStringLiteral("Label3"), QStringLiteral("Benzyna [ms]"), g);
    QLabel *gas = PlainControls::label(QStringLiteral("Label4"), QStringLiteral("Gaz [ms]"), g);
    for (QLabel *caption : {petrol, gas}) {
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignCenter);
        caption->setMaximumWidth(56);
    }
    l->addWidget(petrol, 0, 0);
    l->addWidget(gas, 0, 1);
    l->addWidget(InstrumentFactory::verticalBar(QStringLiteral("Skala_PB_time"), g), 1, 0);
    l->addWidget(InstrumentFactory::verticalBar(QStringLiteral("Skala_LPG_time"), g), 1, 1);
    return g;
}

QGroupBox *activeInjectorsGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("aaa"), QStringLiteral("Aktywne inj. Gaz"), parent);
    auto *l = new QGridLayout(g);
    l->setHorizontalSpacing(3);
    for (int k = 0; k < 8; ++k) {
        QRadioButton *show = PlainControls::radio(QStringLiteral("Cyl_%1_show").arg(k), QString(), g);
        show->setChecked(k == 0);
        l->addWidget(show, 0, k, Qt::AlignHCenter);
        l->addWidget(InstrumentFactory::led(QStringLiteral("Cyl_%1_led").arg(k), QString::number(k + 1), g), 1, k,
                     Qt::AlignHCenter);
    }
    l->setRowStretch(2, 1);
    return g;
}

QGroupBox *lambdaGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox4"), QStringLiteral("Sondy Lambda"), parent);
    auto *l = new QHBoxLayout(g);
    l->addWidget(InstrumentFactory::bar(QStringLiteral("lambda_1"), g));
    l->addWidget(InstrumentFactory::bar(QStringLiteral("lambda_2"), g));
    return g;
}

QGroupBox *pressureGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox7"), QStringLiteral("MAP/P1"), parent);
    auto *l = new QGridLayout(g);
    l->addWidget(InstrumentFactory::horizontalMeter(QStringLiteral("Slala_P_MAP"), g), 0, 0);
    l->addWidget(InstrumentFactory::valueIndicator(QStringLiteral("P_MAP_edit"), g), 1, 0);
    l->addWidget(InstrumentFactory::horizontalMeter(QStringLiteral("Skala_P1_MAP"), g), 2, 0);
    l->addWidget(InstrumentFactory::valueIndicator(QStringLiteral("P1_MAP_edit"), g), 3, 0);
    return g;
}

QGroupBox *rpmGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox3"), QStringLiteral("RPM"), parent);
    auto *l = new QVBoxLayout(g);
    l->addWidget(InstrumentFactory::meter270(QStringLiteral("RPM_zegar"), g), 1);
    l->addWidget(InstrumentFactory::valueIndicator(QStringLiteral("RPM_Edit"), g));
    return g;
}

QGroupBox *fuelSwitchGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("Zaplon_panel"), QStringLiteral("Przełącznik"), parent);
    // Only a running ignition lets the fitter switch fuel.
    g->setEnabled(false);
    auto *l = new QVBoxLayout(g);
    TToggleSwitch *fuel = InstrumentFactory::toggleSwitch(QStringLiteral("paliwo_Switch"), QStringLiteral("LPG"),
                                                          QStringLiteral("PB"), g);
    // Only the live frame moves it; a click asks the controller for the other fuel.
    fuel->SetMode(mIndicator);
    l->addWidget(fuel);
    auto *levels = new QHBoxLayout;
    levels->setSpacing(3);
    levels->addWidget(InstrumentFactory::led(QStringLiteral("rezerwa_led_gora"), QStringLiteral("R"), g));
    for (int n = 1; n <= 4; ++n)
        levels->addWidget(InstrumentFactory::led(QStringLiteral("Gaz_led_%1g").arg(n), QString::number(n), g));
    l->addLayout(levels);
    l->addStretch(1);
    return g;
}

QGroupBox *temperatureGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox8"), QStringLiteral("Temperatura"), parent);
    auto *l = new QHBoxLayout(g);
    l->addWidget(InstrumentFactory::thermometer(QStringLiteral("TempWoda"), g));
    l->addWidget(InstrumentFactory::thermometer(QStringLiteral("TempGaz"), g));
    return g;
}

QGroupBox *portGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox5"), QStringLiteral("Port COM"), parent);
    auto *l = new QVBoxLayout(g);
    l->addWidget(InstrumentFactory::toggleSwitch(QStringLiteral("Polacz_switch"), QStringLiteral("ON"),
                                                 QStringLiteral("Rozłączony"), g));
    // Carriers of the baud rate text and of the port list; never shown.
    QComboBox *rate = PlainControls::combo(QStringLiteral("szybkosc"), {QStringLiteral("7200")}, g);
    rate->setCurrentIndex(0);
    rate->setVisible(false);
    PlainControls::combo(QStringLiteral("ComComboBox1"), {}, g)->setVisible(false);
    return g;
}

QLabel *errorBanner(QWidget *parent)
{
    auto *banner = PlainControls::label(QStringLiteral("Error_Led"), QStringLiteral("*  *  *  E r r o r  *  *  *"), parent);
    banner->setAlignment(Qt::AlignCenter);
    banner->setAutoFillBackground(true);
    QPalette pal = banner->palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0x00, 0x00));
    pal.setColor(QPalette::WindowText, Qt::white);
    banner->setPalette(pal);
    QFont f = banner->font();
    f.setBold(true);
    banner->setFont(f);
    banner->setFrameShape(QFrame::Panel);
    banner->setFrameShadow(QFrame::Raised);
    banner->setCursor(Qt::PointingHandCursor);
    banner->setVisible(false);
    return banner;
}

} // namespace

QWidget *TopPanel::build(QWidget *parent)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("Panel1Gora"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);

    auto *outer = new QVBoxLayout(panel);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(2);

    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    auto *leftColumn = new QVBoxLayout;
    leftColumn->addWidget(batteryGroup(panel));
    leftColumn->addWidget(portGroup(panel));
    leftColumn->addStretch(1);
    row->addLayout(leftColumn);
    row->addWidget(injectionGroup(panel));
    row->addWidget(activeInjectorsGroup(panel));
    row->addWidget(lambdaGroup(panel));
    row->addWidget(pressureGroup(panel));
    row->addWidget(rpmGroup(panel));
    row->addWidget(fuelSwitchGroup(panel));
    row->addWidget(temperatureGroup(panel));
    outer->addLayout(row);
    outer->addWidget(errorBanner(panel));

    // Compact groups so the whole panel fits a 1280-pixel screen.
    for (QGroupBox *g : panel->findChildren<QGroupBox *>()) {
        if (QLayout *inner = g->layout()) {
            inner->setContentsMargins(5, 4, 5, 5);
            inner->setSpacing(3);
        }
    }
    return panel;
}
