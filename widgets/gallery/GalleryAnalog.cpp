// Gallery pages: the display gauges as the top panel configures them, each in its main states (quiet,
// sector colours, limit and range alarms blinking, ignition off), and the settings tabs' dials and sliders.
#include "GalleryPage.h"

#include "widgets/T270Meter.h"
#include "widgets/TBar.h"
#include "widgets/TDial.h"
#include "widgets/THMeter.h"
#include "widgets/TThermometer.h"
#include "widgets/TVBar.h"
#include "widgets/TVSlider.h"
#include "widgets/TValueInd.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <memory>

namespace {

void scale(TSignalSettings &s, float from, float to, const char *format, const QString &unit)
{
    s.SetValueTo(to);
    s.SetValueFrom(from);
    s.SetValueFormat(QLatin1String(format));
    s.SetValueUnit(unit);
}

T270Meter *rpmMeter(bool ignition)
{
    auto *m = new T270Meter;
    scale(m->SignalSettings(), 0.000001f, 10, "##0.##0", QStringLiteral("x1000"));
    m->SignalSettings().SetName1(QStringLiteral("RPM"));
    m->SignalSettings().SetName2(QStringLiteral(" "));
    m->SectorSettings().SetSector(1, QColor(0x00, 0x80, 0x00), 100, 600);
    m->SectorSettings().SetSector(2, QColor(0xFF, 0xFF, 0x00), 600, 750);
    m->SectorSettings().SetSector(3, QColor(0xFF, 0x00, 0x00), 750, 1000);
    m->SetLimitUpper(0.5f);
    m->SetLimitLower(0.2f);
    // With the ignition off the colour sectors move off the dial and the slim pointer is shown.
    m->SectorSettings().SetOffset(ignition ? 0 : 300);
    m->ArrowSettings().SetShape(ignition ? 6 : 2);
    m->setMinimumSize(190, 190);
    return m;
}

THMeter *pressureMeter(const QString &name, float to, float lower, float upper, const QString &unit)
{
    auto *m = new THMeter;
    scale(m->SignalSettings(), 0.000001f, to, "##0.0", unit);
    m->SignalSettings().SetName1(name);
    m->SignalSettings().SetName2(QStringLiteral(" "));
    m->SetLimitUpper(upper);
    m->SetLimitLower(lower);
    return m;
}

TValueInd *numeric(const QString &name, const char *format, const QString &unit, float value)
{
    auto *d = new TValueInd;
    scale(d->SignalSettings(), 0.000001f, 100000, format, unit);
    d->SignalSettings().SetName1(name);
    d->SignalSettings().SetName2(QStringLiteral(" "));
    d->SetValue(value);
    return d;
}

TVBar *timeBar(const QString &name1, const QString &name2, float to, float value)
{
    auto *b = new TVBar;
    scale(b->SignalSettings(), 0.000001f, to, "##0.0", QStringLiteral("ms"));
    b->SignalSettings().SetName1(name1);
    b->SignalSettings().SetName2(name2);
    b->SetValue(value);
    return b;
}

TThermometer *thermometer(const QString &name, float value)
{
    auto *t = new TThermometer;
    scale(t->SignalSettings(), 0.000001f, 120, "##0", QStringLiteral("\u00b0C"));
    t->SignalSettings().SetName1(name);
    t->SignalSettings().SetName2(QStringLiteral(" "));
    t->SetValue(value);
    return t;
}

TBar *lambdaBar(float to, float value)
{
    auto *b = new TBar;
    scale(b->SignalSettings(), 0.000001f, to, "##0.0", QStringLiteral("V"));
    b->SetOptions(opBevelInner | opBevelOuter);
    b->SetBarStyle(TBar::bsMultiColor);
    b->SetValue(value);
    return b;
}

QWidget *captioned(const QString &caption, QWidget *w)
{
    auto *box = new QWidget;
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(2, 2, 2, 2);
    v->addWidget(w, 1);
    auto *l = new QLabel(caption);
    l->setAlignment(Qt::AlignCenter);
    v->addWidget(l);
    return box;
}

QWidget *makeGauges()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);

    // Round meters: running (sweeping), limit alarm, ignition off.
    auto *running = rpmMeter(true);
    auto *alarm = rpmMeter(true);
    alarm->SetValue(0.1f); // below the lower limit: the alarm lamp blinks
    auto *off = rpmMeter(false);
    off->SetValue(0.0f);
    auto *meters = new QHBoxLayout;
    meters->addWidget(captioned(QStringLiteral("RPM_zegar, running"), running));
    meters->addWidget(captioned(QStringLiteral("below the lower limit"), alarm));
    meters->addWidget(captioned(QStringLiteral("ignition off"), off));
    grid->addLayout(meters, 0, 0, 1, 2);

    // Horizontal meters and numeric displays.
    auto *map = pressureMeter(QStringLiteral("MAP [kPa]"), 240, 10, 90, QStringLiteral("kPa"));
    auto *mapQuiet = pressureMeter(QStringLiteral("MAP [kPa]"), 240, 10, 90, QStringLiteral("kPa"));
    mapQuiet->SetValue(45);
    auto *p1 = pressureMeter(QStringLiteral("P1 [bar]"), 3, 0.0001f, 0.7f, QStringLiteral("bar"));
    p1->SetValue(3.4f); // over the scale
    auto *hm = new QVBoxLayout;
    hm->addWidget(captioned(QStringLiteral("Slala_P_MAP, moving"), map));
    hm->addWidget(captioned(QStringLiteral("inside its limits"), mapQuiet));
    hm->addWidget(captioned(QStringLiteral("Skala_P1_MAP over the scale"), p1));
    grid->addLayout(hm, 0, 2);

    auto *rpmEdit = numeric(QStringLiteral("RPM"), "###0", QString(), 2500);
    auto *battery = numeric(QStringLiteral("Bateria    "), "#0.00", QStringLiteral("V"), 13.72f);
    auto *mapEdit = numeric(QString(), "##0.0", QStringLiteral("[kPa]"), 101.0f);
    auto *p1Edit = numeric(QString(), "#0.0", QStringLiteral("[bar] "), 1.0f);
    auto *nums = new QVBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(rpmEdit), static_cast<QWidget *>(battery),
                       static_cast<QWidget *>(mapEdit), static_cast<QWidget *>(p1Edit)})
        nums->addWidget(w);
    nums->addStretch();
    grid->addLayout(nums, 0, 3);

    // Bars: injection times (one over its scale, one under), temperatures, lambda bars.
    auto *bars = new QHBoxLayout;
    auto *lpg = timeBar(QStringLiteral("LPG"), QStringLiteral(" "), 50, 4.2f);
    bars->addWidget(captioned(QStringLiteral("LPG"), lpg));
    std::vector<TVBar *> petrol;
    for (int i = 0; i < 4; ++i) {
        petrol.push_back(timeBar(QStringLiteral("PB"), QStringLiteral("CYL %1").arg(i + 1), 30, 3.0f + 5.5f * i));
        bars->addWidget(petrol.back());
    }
    bars->addWidget(captioned(QStringLiteral("over"), timeBar(QStringLiteral("PB"), QStringLiteral("CYL 5"), 30, 34.0f)));
    bars->addWidget(captioned(QStringLiteral("under"), timeBar(QStringLiteral("PB"), QStringLiteral("CYL 6"), 30, -1.0f)));
    auto *red = thermometer(QStringLiteral("Red"), 63);
    bars->addWidget(captioned(QStringLiteral("TempWoda"), red));
    bars->addWidget(captioned(QStringLiteral("TempGaz at start"), thermometer(QStringLiteral("Gaz"), -40)));
    auto *lambdas = new QVBoxLayout;
    auto *lambda1 = lambdaBar(1, 0.45f);
    lambdas->addWidget(new QLabel(QStringLiteral("lambda_1 (0..1 V)")));
    lambdas->addWidget(lambda1);
    lambdas->addWidget(new QLabel(QStringLiteral("lambda_2 (0..5 V after a reading above 1.21 V)")));
    lambdas->addWidget(lambdaBar(5, 3.1f));
    auto *solid = new TBar;
    solid->SetValue(72);
    lambdas->addWidget(new QLabel(QStringLiteral("solid bar with value, unit and sector colour")));
    lambdas->addWidget(solid);
    lambdas->addStretch();
    bars->addLayout(lambdas, 1);
    grid->addLayout(bars, 1, 0, 1, 4);

    // Moving signals, at the live frame's pace.
    auto *feed = new QTimer(page);
    auto t = std::make_shared<double>(0.0);
    QObject::connect(feed, &QTimer::timeout, page, [=] {
        *t += 0.24;
        const double s = std::sin(*t * 0.6);
        running->SetValue(float(4.2 + 3.8 * s));
        rpmEdit->SetValue(float(std::round((4.2 + 3.8 * s) * 10) * 100));
        map->SetValue(float(60 + 55 * std::sin(*t * 0.9)));
        mapEdit->SetValue(map->Value());
        lambda1->SetValue(float(0.5 + 0.45 * std::sin(*t * 3)));
        red->SetValue(float(60 + 20 * std::sin(*t * 0.2)));
        lpg->SetValue(float(4 + 3 * std::sin(*t)));
        for (size_t i = 0; i < petrol.size(); ++i)
            petrol[i]->SetValue(float(9 + 8 * std::sin(*t + double(i))));
    });
    feed->start(240);
    return page;
}

TDial *dial(const QString &name, float from, float to, int dFrom, int dTo, const char *format, const QString &unit,
           float value)
{
    auto *d = new TDial;
    d->SignalSettings().SetName2(name);
    d->SignalSettings().SetValueTo(to);
    d->SignalSettings().SetDigitalTo(dTo);
    d->SignalSettings().SetValueFrom(from);
    d->SignalSettings().SetDigitalFrom(dFrom);
    d->SignalSettings().SetValueFormat(QLatin1String(format));
    d->SignalSettings().SetValueUnit(unit);
    d->SetValue(value);
    return d;
}

TVSlider *slider(float from, float to, int dFrom, int dTo, const char *format, const QString &unit, float value)
{
    auto *s = new TVSlider;
    s->SignalSettings().SetValueTo(to);
    s->SignalSettings().SetDigitalTo(dTo);
    s->SignalSettings().SetValueFrom(from);
    s->SignalSettings().SetDigitalFrom(dFrom);
    s->SignalSettings().SetValueFormat(QLatin1String(format));
    s->SignalSettings().SetValueUnit(unit);
    s->SetValue(value);
    return s;
}

QWidget *makeInputs()
{
    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    auto *dials = new QGroupBox(QStringLiteral("Dials (drag, wheel, arrows, Page Up/Down, Home/End)"));
    auto *dh = new QHBoxLayout(dials);
    dh->addWidget(captioned(QStringLiteral("RPM_Max_To_Petrol"), dial(QStringLiteral("RPM max"), 0, 12000, 0, 120, "####0", QStringLiteral("rpm"), 4500)));
    dh->addWidget(captioned(QStringLiteral("T_zwloki_changer"), dial(QStringLiteral("Delay"), 0, 1450, 0, 1450, "###0", QStringLiteral("ms"), 300)));
    dh->addWidget(captioned(QStringLiteral("RPM_Prog_przel"), dial(QStringLiteral("RPM switch"), 300, 6000, 3, 60, "###0", QStringLiteral("rpm"), 2500)));
    dh->addWidget(captioned(QStringLiteral("Temp_LPG_changer"), dial(QStringLiteral("Temp. gas"), 20, 90, 20, 90, "##0", QStringLiteral("\u00b0C"), 35)));
    dh->addWidget(captioned(QStringLiteral("T_przel_to_LPG"), dial(QStringLiteral("Switch time"), 2, 60, 2, 60, "##0", QStringLiteral("s"), 20)));
    dh->addWidget(captioned(QStringLiteral("T_CYL_seqence"), dial(QStringLiteral("Sequence"), 0, 2550, 0, 255, "###0", QStringLiteral("ms"), 100)));

    auto *sliders = new QGroupBox(QStringLiteral("Sliders"));
    auto *sh = new QHBoxLayout(sliders);
    sh->addWidget(captioned(QStringLiteral("P_pracy_changer"), slider(0.4f, 2.5f, 40, 250, "#0.00", QStringLiteral("bar"), 1.1f)));
    sh->addWidget(captioned(QStringLiteral("P_min_changer"), slider(0.4f, 2.5f, 40, 255, "#0.00", QStringLiteral("bar"), 0.8f)));
    auto *level = slider(0, 5, 0, 500, "#0.00", QStringLiteral("V"), 0.7f);
    level->SetEnabledKeys(_VK_UP | _VK_DOWN);
    sh->addWidget(captioned(QStringLiteral("Ch_U_LPG_changer (Up/Down only)"), level));
    sh->addStretch();

    // What the program hears: every change, and the change the user finished.
    auto *log = new QLabel(QStringLiteral("OnValueChanged: -"));
    v->addWidget(dials);
    v->addWidget(sliders);
    v->addWidget(log);
    v->addStretch();
    const auto controls = page->findChildren<TAnalogCControl *>();
    for (TAnalogCControl *c : controls)
        QObject::connect(c, &TAnalogCControl::OnValueChanged, log, [log, c] {
            log->setText(QStringLiteral("OnValueChanged: ") + c->ValueText() + u' ' + c->SignalSettings().ValueUnit());
        });
    return page;
}

const GalleryPageRegistrar gauges(QStringLiteral("Gauges"), 10, makeGauges);
const GalleryPageRegistrar inputs(QStringLiteral("Dials and sliders"), 11, makeInputs);

} // namespace
