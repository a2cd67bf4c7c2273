#include "app/PetrolGasTabs.h"

#include "app/InstrumentFactory.h"
#include "app/Picture.h"
#include "app/PlainControls.h"

#include "widgets/TVSlider.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QWidget *page(const char *name, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QStringList cylinderCounts()
{
    return {QStringLiteral("3 cyl."), QStringLiteral("4 cyl."), QStringLiteral("5 cyl."), QStringLiteral("6 cyl."),
            QStringLiteral("8 cyl.")};
}

} // namespace

QWidget *PetrolGasTabs::petrol(QWidget *parent)
{
    QWidget *tab = page("TabSheet1", parent);
    auto *row = new QHBoxLayout(tab);

    auto *settings = PlainControls::group(QStringLiteral("GroupBox25"), QString(), tab);
    auto *grid = new QGridLayout(settings);
    grid->setVerticalSpacing(10);
    grid->setColumnMinimumWidth(0, 170);
    int r = 0;
    auto add = [&](const char *labelName, const QString &caption, QWidget *control) {
        grid->addWidget(PlainControls::label(QString::fromLatin1(labelName), caption, settings), r, 0);
        grid->addWidget(control, r, 1);
        ++r;
    };
    add("Label34", QStringLiteral("Ilość cylindrów"),
        PlainControls::combo(QStringLiteral("Sel_cyl"), cylinderCounts(), settings));
    add("Label35", QStringLiteral("Impulsy"),
        PlainControls::combo(QStringLiteral("Sel_Impuls"),
                             QStringList{QStringLiteral("Cewka pojedyncza"), QStringLiteral("Cewka podwójna")}
                                 + cylinderCounts(),
                             settings));
    add("Label36", QStringLiteral("Sygnał RPM"),
        PlainControls::combo(QStringLiteral("Sel_RPM_signal"), {QStringLiteral("Low  5V"), QStringLiteral("High 12V")},
                             settings));
    add("Label37", QStringLiteral("Rodzaj Silnika"),
        PlainControls::combo(QStringLiteral("Sel_Typ_silnika"), {QStringLiteral("Standard"), QStringLiteral("Turbo")},
                             settings));

    // Petrol injection type and lambda probe kind are shown but not in use.
    QComboBox *petrolType =
        PlainControls::combo(QStringLiteral("Sel_Typ_wtrysku_Petrol"), {QStringLiteral("Standardowy")}, settings);
    QComboBox *lambdaKind = PlainControls::combo(QStringLiteral("ComboBox17"),
                                                 {QStringLiteral("Napięciowa"), QStringLiteral("Prądowa")}, settings);
    const int firstInactiveRow = r;
    add("Label38", QStringLiteral("Typ Wtrysku"), petrolType);
    add("Label39", QStringLiteral("Sonda Lambda"), lambdaKind);
    for (int inactive = firstInactiveRow; inactive < r; ++inactive) {
        grid->itemAtPosition(inactive, 0)->widget()->setEnabled(false);
        grid->itemAtPosition(inactive, 1)->widget()->setEnabled(false);
    }

    add("Label40", QStringLiteral("Wtryskiwacze Dodatnie"), PlainControls::check(QStringLiteral("Check_Injector_plus"), QString(), settings));
    grid->setRowStretch(r, 1);

    row->addWidget(settings);
    row->addStretch(1);
    row->addWidget(Picture::create(QStringLiteral("Image1"), tab), 0, Qt::AlignTop);
    return tab;
}

QWidget *PetrolGasTabs::gas(QWidget *parent)
{
    QWidget *tab = page("TabSheet2", parent);
    auto *row = new QHBoxLayout(tab);
    auto *left = new QVBoxLayout;

    auto *injector = PlainControls::group(QStringLiteral("GroupBox12"), QStringLiteral("Wtryskiwacz gazowy"), tab);
    auto *injectorLayout = new QVBoxLayout(injector);
    injectorLayout->addWidget(PlainControls::combo(
        QStringLiteral("Sel_Typ_wtrysku"),
        {QStringLiteral("Valtek/Rail 1 Ohm"), QStringLiteral("Valtek/Rail 2 Ohm"), QStringLiteral("Valtek/Rail 3 OHM"),
         QStringLiteral("Matrix "), QStringLiteral("BRC"), QStringLiteral("Keihin")},
        injector));
    left->addWidget(injector);

    // The fuel kind only mirrors the controller's block; it is never offered.
    auto *fuel = PlainControls::group(QStringLiteral("GroupBox15"), QStringLiteral("Rodzaj paliwa"), tab);
    auto *fuelLayout = new QHBoxLayout(fuel);
    fuelLayout->addWidget(PlainControls::radio(QStringLiteral("LPG_RadioButton"), QStringLiteral("LPG"), fuel));
    fuelLayout->addWidget(PlainControls::radio(QStringLiteral("CNG_RadioButton"), QStringLiteral("CNG"), fuel));
    fuel->setEnabled(false);
    fuel->setVisible(false);
    left->addWidget(fuel);

    auto *sensors = PlainControls::group(QStringLiteral("GroupBox19"), QStringLiteral("Czujniki"), tab);
    auto *grid = new QGridLayout(sensors);
    const struct
    {
        const char *label;
        const char *caption;
        const char *combo;
        const char *item;
    } sensorRows[] = {{"Label20", "P1 MAP /P Gaz", "P1_MAP_changer", "ZENU 01"},
                      {"Label21", "Cz.temp.reduktora", "T_RED_changer", "2,2"},
                      {"Label22", "Cz.temp.gazu", "T_GAZ_changer", "2,2"}};
    int r = 0;
    for (const auto &s : sensorRows) {
        grid->addWidget(PlainControls::label(QString::fromLatin1(s.label), QString::fromUtf8(s.caption), sensors), r, 0);
        QComboBox *c = PlainControls::combo(QString::fromLatin1(s.combo), {QString::fromUtf8(s.item)}, sensors);
        c->setEnabled(false); // shows the controller's sensor, takes no input
        grid->addWidget(c, r, 1);
        ++r;
    }
    left->addWidget(sensors);
    left->addStretch(1);
    row->addLayout(left);

    auto *pressures =
        PlainControls::group(QStringLiteral("GroupBox14"), QStringLiteral("Parametry ciśnień adaptacji"), tab);
    auto *pressureLayout = new QHBoxLayout(pressures);
    // Positions are the hundredths of a bar the controller takes; the minimum
    // pressure runs over more positions than its scale has hundredths.
    pressureLayout->addWidget(InstrumentFactory::verticalSlider(
        QStringLiteral("P_pracy_changer"), pressures,
        {.valueFrom = 0.40f, .valueTo = 2.50f, .digitalFrom = 40, .digitalTo = 250, .format = QStringLiteral("#0.00"),
         .name1 = QStringLiteral("P. Pracy"), .unit = QStringLiteral("bar")}));
    pressureLayout->addWidget(InstrumentFactory::verticalSlider(
        QStringLiteral("P_min_changer"), pressures,
        {.valueFrom = 0.40f, .valueTo = 2.50f, .digitalFrom = 40, .digitalTo = 255, .format = QStringLiteral("#0.00"),
         .unit = QStringLiteral("bar")}));
    row->addWidget(pressures, 0, Qt::AlignTop);
    row->addStretch(1);
    return tab;
}
