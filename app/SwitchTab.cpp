#include "app/SwitchTab.h"

#include "app/InstrumentFactory.h"
#include "app/PlainControls.h"

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

struct DialSetup
{
    const char *name;
    SignalSetup signal;
};

// Ranges as the controller takes them: positions are the byte sent, values
// what the fitter reads.
const DialSetup kToGas[] = {
    {"RPM_Prog_przel",
     {.valueFrom = 300.0f, .valueTo = 6000.0f, .digitalFrom = 3, .digitalTo = 60, .format = QStringLiteral("###0"),
      .name2 = QString(), .unit = QStringLiteral("rpm")}},
    {"Temp_LPG_changer",
     {.valueFrom = 20.0f, .valueTo = 90.0f, .digitalFrom = 20, .digitalTo = 90, .format = QStringLiteral("##0"),
      .name2 = QStringLiteral("Temperatura"), .unit = QStringLiteral("°C")}},
    {"T_przel_to_LPG",
     {.valueFrom = 2.0f, .valueTo = 60.0f, .digitalFrom = 2, .digitalTo = 60, .format = QStringLiteral("#0"),
      .name2 = QStringLiteral("Czas Przeł."), .unit = QStringLiteral("s")}},
    {"T_CYL_seqence",
     {.valueTo = 2550.0f, .digitalTo = 255, .format = QStringLiteral("###0"), .name2 = QStringLiteral("Sekw. Cylindra"),
      .unit = QStringLiteral("ms")}},
};
const DialSetup kToPetrol[] = {
    {"RPM_Max_To_Petrol",
     {.valueTo = 12000.0f, .digitalTo = 120, .format = QStringLiteral("####0"), .name2 = QString(),
      .unit = QStringLiteral("rpm")}},
    {"T_zwloki_changer",
     {.valueTo = 1450.0f, .digitalTo = 1450, .format = QStringLiteral("###0"), .name2 = QStringLiteral("Cz. Błędu Ciś."),
      .unit = QStringLiteral("ms")}},
};

template <size_t N>
QGroupBox *dialGroup(const char *name, const QString &title, const DialSetup (&dials)[N], const char *inactiveDial,
                     QWidget *parent)
{
    auto *g = PlainControls::group(QString::fromLatin1(name), title, parent);
    auto *column = new QVBoxLayout(g);
    auto *row = new QHBoxLayout;
    column->addLayout(row);
    for (const DialSetup &dial : dials)
        row->addWidget(InstrumentFactory::dial(QString::fromLatin1(dial.name), g, dial.signal));
    // A spare dial of the same group that the program never uses.
    QWidget *spare = InstrumentFactory::dial(QString::fromLatin1(inactiveDial), g, SignalSetup{.name2 = QString()});
    spare->setEnabled(false);
    row->addWidget(spare);
    row->addStretch(1);
    return g;
}

QGroupBox *levelGroup(QWidget *parent)
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

    grid->addWidget(PlainControls::label(QStringLiteral("Label17"), QStringLiteral("Rodzaj czujnika"), g), 5, 0, 1, 2);
    grid->addWidget(PlainControls::combo(QStringLiteral("Rodz_czuj_LPG"),
                                         {QStringLiteral("0-90 Ohm"), QStringLiteral("90-0 Ohm")}, g),
                    6, 0, 1, 3);
    grid->addWidget(PlainControls::label(QStringLiteral("Label16"), QStringLiteral("Odczyt [V]"), g), 7, 0, 1, 2);
    QLineEdit *reading = PlainControls::edit(QStringLiteral("U_zbiornika"), QStringLiteral("0.00"), g);
    reading->setReadOnly(true);
    grid->addWidget(reading, 8, 0, 1, 2);
    grid->setRowStretch(9, 1);
    grid->setColumnMinimumWidth(2, 60);
    return g;
}

} // namespace

QWidget *SwitchTab::build(QWidget *parent)
{
    auto *tab = new QWidget(parent);
    tab->setObjectName(QStringLiteral("TabSheet9"));
    auto *row = new QHBoxLayout(tab);

    auto *switching = new QVBoxLayout;
    switching->addWidget(dialGroup("GroupBox13", QStringLiteral("Parametry przełączania na gaz"),
                                   kToGas, "Dial6", tab));
    QGroupBox *toPetrol = dialGroup("GroupBox17", QStringLiteral("Parametry przełączania na benzynę"),
                                    kToPetrol, "Dial5", tab);
    auto *firstDrop = new QHBoxLayout;
    firstDrop->addWidget(PlainControls::check(QStringLiteral("Check_by_first"), QString(), toPetrol));
    firstDrop->addWidget(
        PlainControls::label(QStringLiteral("Label24"), QStringLiteral("Przełącz przy pierwszym P min"), toPetrol));
    firstDrop->addStretch(1);
    static_cast<QVBoxLayout *>(toPetrol->layout())->insertLayout(0, firstDrop);
    switching->addWidget(toPetrol);
    switching->addStretch(1);
    row->addLayout(switching);

    row->addWidget(levelGroup(tab));
    row->addStretch(1);
    return tab;
}
