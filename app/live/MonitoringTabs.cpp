#include "app/live/MonitoringTabs.h"

#include "app/common/InstrumentFactory.h"
#include "app/common/PlainControls.h"

#include "widgets/TMiniTrend.h"
#include "widgets/TVBar.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QWidget *page(const char *name, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

} // namespace

QWidget *MonitoringTabs::faults(QWidget *parent)
{
    QWidget *tab = page("TabSheet5", parent);
    auto *grid = new QGridLayout(tab);
    grid->addWidget(PlainControls::label(QStringLiteral("Label19"), QStringLiteral("Błędy aktualne"), tab), 0, 0);
    grid->addWidget(PlainControls::label(QStringLiteral("Label18"), QStringLiteral("Błędy zarejestrowane"), tab), 0, 1);
    grid->addWidget(PlainControls::memo(QStringLiteral("Actual_errors_Memo"), tab), 1, 0);
    grid->addWidget(PlainControls::memo(QStringLiteral("Register_errors_memo"), tab), 1, 1);
    QPushButton *reset = PlainControls::button(QStringLiteral("Button2"), QStringLiteral("Reset"), tab);
    reset->setCursor(Qt::PointingHandCursor);
    reset->setMinimumWidth(110);
    grid->addWidget(reset, 2, 1, Qt::AlignRight);
    return tab;
}

QWidget *MonitoringTabs::scope(QWidget *parent)
{
    QWidget *tab = page("TabSheet7", parent);
    auto *row = new QHBoxLayout(tab);
    TMiniTrend *chart = InstrumentFactory::miniTrend(QStringLiteral("Oscyloskop"), tab);
    // Blank names and units until a view is chosen; one minute across the chart.
    for (TSignalSettings *channel : {&chart->SignalSettingsCh1(), &chart->SignalSettingsCh2()})
        SignalSetup{.valueTo = 50.0f, .digitalTo = 50, .format = QStringLiteral("##0"),
                    .name1 = QStringLiteral(" "), .name2 = QStringLiteral(" "), .unit = QStringLiteral(" ")}
            .applyTo(*channel);
    chart->SetTimeScale(1);
    chart->SetOptions(TMiniTrend::opBevelOuter | TMiniTrend::opScaleCh1 | TMiniTrend::opScaleCh2 |
                      TMiniTrend::opSignDescCh1 | TMiniTrend::opSignDescCh2 | TMiniTrend::opGrid);
    row->addWidget(chart, 1);

    auto *views = new QGroupBox(tab);
    views->setObjectName(QStringLiteral("GroupBox10"));
    auto *column = new QVBoxLayout(views);
    const std::pair<const char *, const char *> choices[] = {
        {"OSC_PETROL_LPG", "Inj. Petrol / Gaz  [ms]"}, {"OSC_MAP_P1", "MAP/P1    [kPa] / [bar]"},
        {"TEMP_LPG_RED", "Temp Gaz / Red [°C]"},      {"RPM_LAMBDA1", "RPM / LAMBDA 1[V]"},
        {"RPM_LAMBDA2", "RPM / LAMBDA 2[V]"}};
    // No view is chosen until the user picks one.
    for (const auto &[name, caption] : choices)
        column->addWidget(PlainControls::radio(QString::fromLatin1(name), QString::fromUtf8(caption), views));
    column->addStretch(1);
    row->addWidget(views);
    return tab;
}

QWidget *MonitoringTabs::diagnostics(QWidget *parent)
{
    QWidget *tab = page("TabSheet8", parent);
    auto *row = new QHBoxLayout(tab);

    auto *petrol = new QGroupBox(tab);
    petrol->setObjectName(QStringLiteral("GroupBox11"));
    auto *petrolGrid = new QGridLayout(petrol);
    petrolGrid->addWidget(PlainControls::label(QStringLiteral("Label6"), QStringLiteral("Benzyna [ms]"), petrol), 0, 0, 1, 8,
                          Qt::AlignHCenter);
    for (int n = 1; n <= 8; ++n) {
        TVBar *cylinder = InstrumentFactory::verticalBar(QStringLiteral("Skala_PB_time%1").arg(n), petrol,
                                                         {.valueTo = 30.0f, .format = QStringLiteral("##0.0"),
                                                          .name2 = QStringLiteral("CYL %1").arg(n), .unit = QStringLiteral("ms")});
        cylinder->SetOptions(opBevelInner | opBevelOuter | opValue | opName2 | opOverflow);
        petrolGrid->addWidget(cylinder, 1, n - 1);
    }
    petrolGrid->setRowStretch(1, 1);
    row->addWidget(petrol);

    auto *gas = new QGroupBox(tab);
    gas->setObjectName(QStringLiteral("GroupBox16"));
    auto *gasColumn = new QVBoxLayout(gas);
    gasColumn->addWidget(PlainControls::label(QStringLiteral("Label5"), QStringLiteral("Gaz [ms]"), gas), 0, Qt::AlignHCenter);
    TVBar *gasTime = InstrumentFactory::verticalBar(
        QStringLiteral("Skala_LPG_time1"), gas,
        {.valueTo = 50.0f, .format = QStringLiteral("##0.0"), .unit = QStringLiteral("ms")});
    gasTime->SetOptions(opBevelInner | opBevelOuter | opValue | opOverflow);
    gasColumn->addWidget(gasTime, 1);
    row->addWidget(gas);
    row->addStretch(1);
    return tab;
}
