#include "app/live/TopPanel.h"

#include "app/common/InstrumentFactory.h"
#include "app/common/PlainControls.h"
#include "widgets/TToggleSwitch.h"

#include "widgets/T270Meter.h"
#include "widgets/TBar.h"
#include "widgets/THMeter.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TThermometer.h"
#include "widgets/TVBar.h"
#include "widgets/TValueInd.h"
#include <QApplication>
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
    TValueInd *battery = InstrumentFactory::valueIndicator(
        QStringLiteral("BATERY_vpp"), g,
        {.format = QStringLiteral("#0.00"), .name1 = QStringLiteral("Bateria    "), .unit = QStringLiteral("V")});
    battery->SetOptions(opBevelInner | opBevelOuter | opName1 | opUnit);
    l->addWidget(battery);
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
    // The captions above carry the unit; the petrol bar names the cylinder it shows.
    TVBar *petrolTime = InstrumentFactory::verticalBar(QStringLiteral("Skala_PB_time"), g,
                                                       {.valueTo = 30.0f, .format = QStringLiteral("##0.0"),
                                                        .name2 = QStringLiteral("CYL 1"), .unit = QStringLiteral("ms")});
    petrolTime->SetOptions(opBevelInner | opBevelOuter | opValue | opName2 | opOverflow);
    TVBar *gasTime = InstrumentFactory::verticalBar(
        QStringLiteral("Skala_LPG_time"), g,
        {.valueTo = 50.0f, .format = QStringLiteral("##0.0"), .unit = QStringLiteral("ms")});
    gasTime->SetOptions(opBevelInner | opBevelOuter | opValue | opOverflow);
    l->addWidget(petrolTime, 1, 0);
    l->addWidget(gasTime, 1, 1);
    return g;
}

QGroupBox *activeInjectorsGroup(TopPanelView &view, QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("aaa"), QStringLiteral("Aktywne inj. Gaz"), parent);
    auto *l = new QGridLayout(g);
    l->setHorizontalSpacing(3);
    for (int k = 0; k < 8; ++k) {
        QRadioButton *show = PlainControls::radio(QStringLiteral("Cyl_%1_show").arg(k), QString(), g);
        show->setChecked(k == 0);
        l->addWidget(show, 0, k, Qt::AlignHCenter);
        view.injectorShows[size_t(k)] = show;
        // Grey while no settings block says which injectors run on gas.
        TLedIndicator *injector =
            InstrumentFactory::squareLed(QStringLiteral("Cyl_%1_led").arg(k), QString::number(k + 1), g);
        injector->SetColorOff(QColor(0x80, 0x80, 0x80));
        injector->setCursor(Qt::PointingHandCursor);
        view.injectorLeds[size_t(k)] = injector;
        l->addWidget(injector, 1, k, Qt::AlignHCenter);
    }
    l->setRowStretch(2, 1);
    return g;
}

QGroupBox *lambdaGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox4"), QStringLiteral("Sondy Lambda"), parent);
    auto *l = new QHBoxLayout(g);
    // 0..1 V until a probe reads above 1.21 V; the colours along the bar tell lean from rich.
    for (const char *name : {"lambda_1", "lambda_2"}) {
        TBar *probe = InstrumentFactory::bar(QString::fromLatin1(name), g,
                                             {.valueTo = 1.0f, .format = QStringLiteral("##0.0"), .unit = QStringLiteral("V")});
        probe->SetOptions(opBevelInner | opBevelOuter);
        probe->SetBarStyle(TBar::bsMultiColor);
        l->addWidget(probe);
    }
    return g;
}

QGroupBox *pressureGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox7"), QStringLiteral("MAP/P1"), parent);
    auto *l = new QGridLayout(g);
    // The names carry the units. The limits are kept for the limit flags but not
    // drawn as alarms: normal running lies outside them.
    THMeter *map = InstrumentFactory::horizontalMeter(
        QStringLiteral("Slala_P_MAP"), g,
        {.valueFrom = SignalSetup::NearZero, .valueTo = 240.0f, .name1 = QStringLiteral("MAP [kPa]"), .unit = QStringLiteral("kPa")});
    map->SetLimitLower(10.0f);
    map->SetLimitUpper(90.0f);
    THMeter *p1 = InstrumentFactory::horizontalMeter(
        QStringLiteral("Skala_P1_MAP"), g,
        {.valueFrom = SignalSetup::NearZero, .valueTo = 3.0f, .name1 = QStringLiteral("P1 [bar]"), .unit = QStringLiteral("bar")});
    p1->SetLimitUpper(0.7f);
    p1->SetLimitLower(0.0001f);
    for (THMeter *meter : {map, p1})
        meter->SetOptions(opBevelInner | opBevelOuter | opName1 | opOverflow | opSector);
    TValueInd *mapText = InstrumentFactory::valueIndicator(
        QStringLiteral("P_MAP_edit"), g, {.format = QStringLiteral("##0.0"), .unit = QStringLiteral("[kPa]")});
    TValueInd *p1Text = InstrumentFactory::valueIndicator(
        QStringLiteral("P1_MAP_edit"), g, {.format = QStringLiteral("#0.0"), .unit = QStringLiteral("[bar] ")});
    for (TValueInd *text : {mapText, p1Text})
        text->SetOptions(opBevelInner | opBevelOuter | opUnit);
    l->addWidget(map, 0, 0);
    l->addWidget(mapText, 1, 0);
    l->addWidget(p1, 2, 0);
    l->addWidget(p1Text, 3, 0);
    return g;
}

QGroupBox *rpmGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox3"), QStringLiteral("RPM"), parent);
    auto *l = new QVBoxLayout(g);
    T270Meter *dial = InstrumentFactory::meter270(
        QStringLiteral("RPM_zegar"), g,
        {.valueFrom = SignalSetup::NearZero, .valueTo = 10.0f, .format = QStringLiteral("##0.##0"), .unit = QStringLiteral("x1000")});
    // Green up to 6000 rpm, yellow to 7500, red above; 600 lies in both of the
    // first two and shows yellow.
    TSectorSettings &sectors = dial->SectorSettings();
    sectors.SetSector(1, QColor(0x00, 0x80, 0x00), 100, 600);
    sectors.SetSector(2, QColor(0xFF, 0xFF, 0x00), 600, 750);
    sectors.SetSector(3, QColor(0xFF, 0x00, 0x00), 750, 1000);
    dial->SetLimitLower(0.2f);
    dial->SetLimitUpper(0.5f);
    // Idle and cruising lie above the upper limit, so only leaving the scale blinks.
    dial->SetOptions(opBevelInner | opBevelOuter | opOverflow | opSector | opUnit);
    TValueInd *rpm = InstrumentFactory::valueIndicator(QStringLiteral("RPM_Edit"), g,
                                                       {.format = QStringLiteral("###0"), .unit = QStringLiteral("rpm")});
    rpm->SetOptions(opBevelInner | opBevelOuter | opUnit);
    l->addWidget(dial, 1);
    l->addWidget(rpm);
    return g;
}

QGroupBox *fuelSwitchGroup(TopPanelView &view, QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("Zaplon_panel"), QStringLiteral("Przełącznik"), parent);
    // Only a running ignition lets the fitter switch fuel.
    g->setEnabled(false);
    auto *l = new QVBoxLayout(g);
    TToggleSwitch *fuel = InstrumentFactory::toggleSwitch(QStringLiteral("paliwo_Switch"), QStringLiteral("LPG"),
                                                          QStringLiteral("PB"), g);
    // Only the live frame moves it; a click asks the controller for the other fuel.
    fuel->SetMode(mIndicator);
    // Face-coloured until the ignition is seen on.
    fuel->SetColorOn(QApplication::palette().color(QPalette::Button));
    fuel->SetColorOff(QApplication::palette().color(QPalette::Button));
    fuel->setMinimumSize(96, 30);
    view.fuelGroup = g;
    view.fuelSwitch = fuel;
    l->addWidget(fuel);
    // Under the switch while a fuel request waits for the controller; the
    // settings room fills and shows it.
    auto *pending = new QLabel(g);
    pending->setObjectName(QStringLiteral("paliwo_pending"));
    pending->setAlignment(Qt::AlignCenter);
    pending->setStyleSheet(QStringLiteral("QLabel { color: #b06000; font-weight: bold; }"));
    pending->hide();
    view.fuelPending = pending;
    l->addWidget(pending);
    auto *levels = new QHBoxLayout;
    levels->setSpacing(3);
    levels->addWidget(InstrumentFactory::reserveLed(QStringLiteral("rezerwa_led_gora"), g));
    for (int n = 1; n <= 4; ++n)
        levels->addWidget(InstrumentFactory::squareLed(QStringLiteral("Gaz_led_%1g").arg(n), QString::number(n), g));
    l->addLayout(levels);
    l->addStretch(1);
    return g;
}

QGroupBox *temperatureGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox8"), QStringLiteral("Temperatura"), parent);
    auto *l = new QHBoxLayout(g);
    // Both start at -40, below their scales, until the first frame.
    for (const auto &[name, title] : {std::pair{"TempWoda", "Red"}, std::pair{"TempGaz", "Gaz"}}) {
        TThermometer *t = InstrumentFactory::thermometer(
            QString::fromLatin1(name), g,
            {.valueFrom = SignalSetup::NearZero, .valueTo = 120.0f, .name1 = QString::fromLatin1(title), .unit = QStringLiteral("°C")});
        t->SetOptions(opBevelInner | opBevelOuter | opValue | opName1 | opUnit);
        InstrumentFactory::startAt(t, -40.0f);
        l->addWidget(t);
    }
    return g;
}

QGroupBox *portGroup(QWidget *parent)
{
    auto *g = PlainControls::group(QStringLiteral("GroupBox5"), QStringLiteral("Port COM"), parent);
    auto *l = new QVBoxLayout(g);
    TToggleSwitch *connection = InstrumentFactory::toggleSwitch(QStringLiteral("Polacz_switch"), QStringLiteral("ON"),
                                                                QStringLiteral("Rozłączony"), g);
    // Room for "Rozłączony", for the port name once connected ("COM12 - ON"),
    // and for the reconnect count on two lines.
    connection->setMinimumSize(150, 36);
    l->addWidget(connection);
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
    // Keep the banner's room while hidden, so the tabs do not jump each time
    // faults come and go.
    QSizePolicy policy = banner->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    banner->setSizePolicy(policy);
    banner->setVisible(false);
    return banner;
}

} // namespace

TopPanelView TopPanel::build(QWidget *parent)
{
    TopPanelView view;
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
    row->addWidget(activeInjectorsGroup(view, panel));
    row->addWidget(lambdaGroup(panel));
    row->addWidget(pressureGroup(panel));
    row->addWidget(rpmGroup(panel));
    row->addWidget(fuelSwitchGroup(view, panel));
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
    view.panel = panel;
    return view;
}
