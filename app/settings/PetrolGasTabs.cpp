#include "app/settings/PetrolGasTabs.h"

#include "app/common/Picture.h"
#include "app/common/PlainControls.h"
#include "app/settings/SettingControls.h"

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

using Id = SettingsTable::Id;

QWidget *page(const char *name, QWidget *parent)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

} // namespace

PetrolTabView PetrolGasTabs::petrol(QWidget *parent)
{
    PetrolTabView v;
    v.page = page("TabSheet1", parent);
    auto *row = new QHBoxLayout(v.page);

    auto *settings = PlainControls::group(QStringLiteral("GroupBox25"), QString(), v.page);
    auto *grid = new QGridLayout(settings);
    grid->setVerticalSpacing(10);
    grid->setColumnMinimumWidth(0, 170);
    int r = 0;
    // Each label names its control for screen readers and takes it the focus.
    auto add = [&](const char *labelName, const QString &caption, QWidget *control) {
        QLabel *label = PlainControls::label(QString::fromLatin1(labelName), caption, settings);
        label->setBuddy(control);
        grid->addWidget(label, r, 0);
        grid->addWidget(control, r, 1);
        ++r;
        return label;
    };
    v.cylinders = SettingControls::combo(Id::CylinderCount, settings);
    add("Label34", QStringLiteral("Ilość cylindrów"), v.cylinders);
    v.pulses = SettingControls::combo(Id::IgnitionPulse, settings);
    add("Label35", QStringLiteral("Impulsy"), v.pulses);
    v.rpmSignal = SettingControls::combo(Id::RpmSignal, settings);
    add("Label36", QStringLiteral("Sygnał RPM"), v.rpmSignal);
    v.engineType = SettingControls::combo(Id::EngineType, settings);
    add("Label37", QStringLiteral("Rodzaj Silnika"), v.engineType);

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

    v.injectorsPositive = PlainControls::check(QStringLiteral("Check_Injector_plus"), QString(), settings);
    v.injectorsPositiveLabel = add("Label40", QStringLiteral("Wtryskiwacze dodatnie"), v.injectorsPositive);
    grid->setRowStretch(r, 1);

    row->addWidget(settings);
    row->addStretch(1);
    row->addWidget(Picture::create(QStringLiteral("Image1"), v.page), 0, Qt::AlignTop);
    return v;
}

GasTabView PetrolGasTabs::gas(QWidget *parent)
{
    GasTabView v;
    v.page = page("TabSheet2", parent);
    auto *row = new QHBoxLayout(v.page);
    auto *left = new QVBoxLayout;

    v.injectorGroup = PlainControls::group(QStringLiteral("GroupBox12"), QStringLiteral("Wtryskiwacz gazowy"), v.page);
    auto *injectorLayout = new QVBoxLayout(v.injectorGroup);
    v.injectorType = SettingControls::combo(Id::InjectorType, v.injectorGroup);
    injectorLayout->addWidget(v.injectorType);
    left->addWidget(v.injectorGroup);

    // The fuel kind only mirrors the controller's block; it is never offered.
    auto *fuel = PlainControls::group(QStringLiteral("GroupBox15"), QStringLiteral("Rodzaj paliwa"), v.page);
    auto *fuelLayout = new QHBoxLayout(fuel);
    v.lpg = PlainControls::radio(QStringLiteral("LPG_RadioButton"), QStringLiteral("LPG"), fuel);
    v.cng = PlainControls::radio(QStringLiteral("CNG_RadioButton"), QStringLiteral("CNG"), fuel);
    fuelLayout->addWidget(v.lpg);
    fuelLayout->addWidget(v.cng);
    fuel->setEnabled(false);
    fuel->setVisible(false);
    left->addWidget(fuel);

    auto *sensors = PlainControls::group(QStringLiteral("GroupBox19"), QStringLiteral("Czujniki"), v.page);
    auto *grid = new QGridLayout(sensors);
    const struct
    {
        const char *label;
        const char *caption;
        Id setting;
        QComboBox *GasTabView::*member;
    } sensorRows[] = {{"Label20", "P1 MAP /P Gaz", Id::PressureSensor, &GasTabView::pressureSensor},
                      {"Label21", "Cz.temp.reduktora", Id::ReducerSensor, &GasTabView::reducerSensor},
                      {"Label22", "Cz.temp.gazu", Id::GasSensor, &GasTabView::gasSensor}};
    int r = 0;
    for (const auto &s : sensorRows) {
        QComboBox *c = SettingControls::combo(s.setting, sensors);
        c->setEnabled(false); // shows the controller's sensor, takes no input
        QLabel *label = PlainControls::label(QString::fromLatin1(s.label), QString::fromUtf8(s.caption), sensors);
        label->setBuddy(c);
        grid->addWidget(label, r, 0);
        grid->addWidget(c, r, 1);
        v.*s.member = c;
        ++r;
    }
    left->addWidget(sensors);
    left->addStretch(1);
    row->addLayout(left);

    v.pressureGroup =
        PlainControls::group(QStringLiteral("GroupBox14"), QStringLiteral("Parametry ciśnień adaptacji"), v.page);
    auto *pressureLayout = new QHBoxLayout(v.pressureGroup);
    // Positions are the hundredths of a bar the controller takes; the minimum
    // pressure runs over more positions than its scale has hundredths.
    v.workingPressure = SettingControls::slider(
        Id::WorkingPressure, v.pressureGroup,
        {.format = QStringLiteral("#0.00"), .name1 = QStringLiteral("P. Pracy"), .unit = QStringLiteral("bar")});
    v.minimumPressure = SettingControls::slider(Id::MinimumPressure, v.pressureGroup,
                                                {.format = QStringLiteral("#0.00"), .unit = QStringLiteral("bar")});
    pressureLayout->addWidget(v.workingPressure);
    pressureLayout->addWidget(v.minimumPressure);
    row->addWidget(v.pressureGroup, 0, Qt::AlignTop);
    row->addStretch(1);
    return v;
}
