// The settings controls on their own window parts, with a stand-in link:
// ApplySettingsFrame's effect on every control, and the command each user
// change queues.
#include "app/calibration/MapChart.h"
#include "app/common/PlainControls.h"
#include "app/settings/SettingsPanel.h"

#include "i18n/LanguageTable.h"
#include "settings/SettingsDecoder.h"

#include "widgets/TDial.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TToggleSwitch.h"
#include "widgets/TVSlider.h"

#include "tests/settings/SettingsBlockBytes.h"

#include <QAccessible>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QValueAxis>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <random>

using Group = CommandBodies::Group;
using Id = SettingsTable::Id;

namespace {

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

// The simulator's factory block: 4 cylinders all on gas, 1.00 / 0.60 bar,
// gas from 1200 rpm and 35 °C after 5 s, ...
QByteArray factoryBlock()
{
    return settingsBlock({{20, 0x0F}, {21, 0}, {22, 1}, {23, 12}, {24, 65}, {25, 36}, {26, 76}, {27, 112}, {28, 143},
                          {29, 0}, {30, 1}, {31, 1}, {33, 4}, {34, 0}, {35, 35}, {36, 100}, {40, 60}, {41, 30},
                          {42, 10}, {43, 20}, {45, 8}});
}

class SettingsPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        texts.emplace(LanguageTable::builtIn());
        auto *l = new QVBoxLayout(&host);
        view.top = TopPanel::build(&host);
        view.petrol = PetrolGasTabs::petrol(&host);
        view.gas = PetrolGasTabs::gas(&host);
        view.switching = SwitchTab::build(&host);
        view.mapChart = MapChart::create(&host);
        view.registeredFaults = PlainControls::memo(QStringLiteral("Register_errors_memo"), &host);
        for (QWidget *w : {view.top.panel, view.petrol.page, view.gas.page, view.switching.page})
            l->addWidget(w);

        SettingsPanel::Link link;
        link.queue = [this](int retries, const Group &g) {
            EXPECT_EQ(retries, 5);
            sent << g;
        };
        link.connected = [this] { return connected; };
        link.portOpen = [this] { return portOpen; };
        link.storedSettings = [this]() -> const QByteArray & { return stored; };
        link.editStoredSettings = [this]() -> QByteArray & { return stored; };
        link.calibrationStep = [this] { return calibrationStep; };
        link.notSent = [this] { ++notSent; };
        link.notDuringCalibration = [this] { ++calibrationNotes; };
        panel = std::make_unique<SettingsPanel>(view, &*texts, std::move(link));
        panel->setCorrectionMapHook([this](const QByteArray &block) { mapBlocks << block; });
    }

    void apply(const QByteArray &block)
    {
        stored = block;
        panel->ApplySettingsFrame();
    }

    // The user picks an item of a list.
    static void pick(QComboBox *combo, int item)
    {
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }

    // The user moves a dial or slider to `value` with the keys and lets go.
    void userSets(TAnalogCControl *c, float value)
    {
        host.show();
        QApplication::setActiveWindow(&host);
        c->setFocus(Qt::OtherFocusReason);
        c->SetValue(value);
        QTest::keyRelease(c, Qt::Key_Up);
    }

    double rightAxisMax()
    {
        auto *chartView = static_cast<QChartView *>(view.mapChart);
        for (QAbstractAxis *a : chartView->chart()->axes(Qt::Vertical))
            if (a->alignment() == Qt::AlignRight)
                return static_cast<QValueAxis *>(a)->max();
        return -1;
    }

    TLedIndicator *led(int k) { return view.top.injectorLeds[size_t(k)]; }
    QRadioButton *show(int k) { return view.top.injectorShows[size_t(k)]; }

    QWidget host;
    SettingsView view;
    std::optional<LanguageTable> texts;
    std::unique_ptr<SettingsPanel> panel;
    QByteArray stored;
    bool connected = true;
    bool portOpen = true;
    int calibrationStep = -1;
    int notSent = 0;
    int calibrationNotes = 0;
    QList<Group> sent;
    QList<QByteArray> mapBlocks;
};

// --- ApplySettingsFrame ------------------------------------------------------------

TEST_F(SettingsPanelTest, FactoryBlockFillsEveryControl)
{
    apply(factoryBlock());
    EXPECT_EQ(view.petrol.cylinders->currentText(), QStringLiteral("4 cyl."));
    EXPECT_EQ(view.petrol.pulses->currentText(), QStringLiteral("Cewka pojedyncza"));
    EXPECT_EQ(view.petrol.rpmSignal->currentText(), QStringLiteral("Low  5V"));
    EXPECT_EQ(view.petrol.engineType->currentText(), QStringLiteral("Standard"));
    EXPECT_FALSE(view.petrol.injectorsPositive->isChecked());
    EXPECT_EQ(view.gas.injectorType->currentText(), QStringLiteral("Valtek/Rail 1 Ohm"));
    EXPECT_EQ(view.gas.pressureSensor->currentIndex(), 0);
    EXPECT_EQ(view.gas.reducerSensor->currentIndex(), 0);
    EXPECT_EQ(view.gas.gasSensor->currentIndex(), 0);
    EXPECT_TRUE(view.gas.lpg->isChecked());
    EXPECT_FLOAT_EQ(view.gas.workingPressure->Value(), 1.00f);
    EXPECT_NEAR(view.gas.minimumPressure->Value(), 0.60f, 0.005f);
    EXPECT_FLOAT_EQ(view.switching.gasSwitchRpm->Value(), 1200.0f);
    EXPECT_FLOAT_EQ(view.switching.maxRpmToPetrol->Value(), 6500.0f);
    EXPECT_FLOAT_EQ(view.switching.gasSwitchTemperature->Value(), 35.0f);
    EXPECT_FLOAT_EQ(view.switching.switchOverTime->Value(), 5.0f);
    EXPECT_FLOAT_EQ(view.switching.cylinderSequenceTime->Value(), 200.0f);
    EXPECT_FLOAT_EQ(view.switching.pressureFaultTime->Value(), 300.0f);
    EXPECT_FALSE(view.switching.switchAtFirstDrop->isChecked());
    EXPECT_EQ(view.switching.levelSensor->currentText(), QStringLiteral("0-90 Ohm"));
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(led(k)->Checked(), k < 4);
        EXPECT_EQ(led(k)->isEnabled(), k < 4);
        EXPECT_EQ(show(k)->isEnabled(), k < 4);
    }
    EXPECT_EQ(view.registeredFaults->toPlainText(), QString());
    EXPECT_EQ(mapBlocks, QList<QByteArray>{stored});
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(SettingsPanelTest, ThresholdsFollowTheDecimalSeparator)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    apply(settingsBlock({{25, 36}, {26, 76}, {27, 112}, {28, 255}}));
    QLocale::setDefault(before);
    const QStringList expected{QStringLiteral("0,71"), QStringLiteral("1,49"), QStringLiteral("2,20"),
                               QStringLiteral("5,00")};
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(view.switching.levelThresholds[size_t(j)]->text(), expected[j]);
}

struct CylinderCase
{
    const char *name;
    uint8_t code;
    int item;
    int present; // cylinders enabled
    int red;     // LEDs with a red off colour, from cylinder 1
};

void PrintTo(const CylinderCase &c, std::ostream *os) { *os << c.name; }

class CylinderLeds : public SettingsPanelTest, public ::testing::WithParamInterface<CylinderCase>
{
};

TEST_P(CylinderLeds, CountSetsColoursAndReach)
{
    const CylinderCase &c = GetParam();
    // A 3-cylinder block first: cylinders 1..3 red, the rest disabled.
    apply(settingsBlock({{22, 0}}));
    apply(settingsBlock({{22, c.code}}));
    EXPECT_EQ(view.petrol.cylinders->currentIndex(), c.item);
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(led(k)->isEnabled(), k < c.present);
        EXPECT_EQ(show(k)->isEnabled(), k < c.present);
        const QColor off = led(k)->LED().ColorOff();
        EXPECT_EQ(off, k < c.red ? QColor(0xFF, 0, 0) : QColor(0x80, 0x80, 0x80));
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, CylinderLeds,
                         ::testing::Values(CylinderCase{"Code0Three", 0, 0, 3, 3},
                                           CylinderCase{"Code3SixDisablesSevenAndEight", 3, 3, 6, 6},
                                           // None: all enabled, 4..8 grey, 1..3 keep the previous red.
                                           CylinderCase{"Code4NoneEnablesAll", 4, -1, 8, 3},
                                           CylinderCase{"Code5EightAllRed", 5, 4, 8, 8},
                                           CylinderCase{"Code9None", 9, -1, 8, 3}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SettingsPanelTest, Flags8ASetTurboHighSignalPositiveInjectorsAndSendNothing)
{
    apply(settingsBlock({{34, 0x8A}}));
    EXPECT_EQ(view.petrol.rpmSignal->currentText(), QStringLiteral("High 12V"));
    EXPECT_EQ(view.petrol.engineType->currentText(), QStringLiteral("Turbo"));
    EXPECT_TRUE(view.petrol.injectorsPositive->isChecked());
    EXPECT_EQ(view.petrol.injectorsPositive->text(), QString());
    EXPECT_EQ(rightAxisMax(), 256.0);
    apply(settingsBlock({{34, 0x00}}));
    EXPECT_FALSE(view.petrol.injectorsPositive->isChecked());
    EXPECT_EQ(rightAxisMax(), 100.0);
    EXPECT_TRUE(sent.isEmpty());
}

TEST_F(SettingsPanelTest, UnknownCodesLeaveListsEmptyAndControlsClamp)
{
    apply(factoryBlock());
    apply(settingsBlock({{45, 2}, {21, 7}, {33, 3}, {30, 0}, {31, 2}, {29, 1}, {41, 200}, {23, 1}, {24, 200},
                         {35, 100}, {42, 1}, {36, 20}, {40, 255}}));
    for (QComboBox *c : {view.gas.injectorType, view.petrol.pulses, view.gas.pressureSensor, view.gas.reducerSensor,
                         view.gas.gasSensor, view.switching.levelSensor})
        EXPECT_EQ(c->currentIndex(), -1) << qPrintable(c->objectName());
    EXPECT_FLOAT_EQ(view.switching.pressureFaultTime->Value(), 1450.0f);
    EXPECT_FLOAT_EQ(view.switching.gasSwitchRpm->Value(), 300.0f);
    EXPECT_FLOAT_EQ(view.switching.maxRpmToPetrol->Value(), 12000.0f);
    EXPECT_FLOAT_EQ(view.switching.gasSwitchTemperature->Value(), 90.0f);
    EXPECT_FLOAT_EQ(view.switching.switchOverTime->Value(), 2.0f);
    EXPECT_FLOAT_EQ(view.gas.workingPressure->Value(), 0.40f);
    EXPECT_FLOAT_EQ(view.gas.minimumPressure->Value(), 2.50f);
    apply(settingsBlock({{45, 3}}));
    EXPECT_EQ(view.gas.injectorType->currentText(), QStringLiteral("Valtek/Rail 3 OHM"));
}

TEST_F(SettingsPanelTest, RegisteredFaultsInTheLanguageTexts)
{
    QByteArray block = settingsBlock({{20, 0x0F}, {561, 0}, {562, 4}});
    apply(block);
    EXPECT_EQ(view.registeredFaults->toPlainText(),
              QStringLiteral("1 - Błąd wtryskiwacza :  1 2 3 4\n2 - Cisnienie gazu za niskie\n4"));
    apply(settingsBlock({{561, 3}}));
    EXPECT_EQ(view.registeredFaults->toPlainText(), QStringLiteral("1 - Cisnienie gazu za wysokie\n3"));
}

// Whatever the block holds, applying it sends nothing, even through the
// controls' own handlers; and a dial set by it sends its value on the next
// release (the program's setting counts as a change).
TEST_F(SettingsPanelTest, ApplyingRandomBlocksNeverQueues)
{
    std::mt19937 random(7);
    for (int n = 0; n < 40; ++n) {
        QByteArray block = settingsBlock();
        for (int i = 4; i < block.size(); ++i)
            block[i] = char(random() & 0xFF);
        apply(block);
    }
    EXPECT_TRUE(sent.isEmpty());
    apply(settingsBlock({{23, 25}}));
    host.show();
    QApplication::setActiveWindow(&host);
    view.switching.gasSwitchRpm->setFocus(Qt::OtherFocusReason);
    QTest::keyRelease(view.switching.gasSwitchRpm, Qt::Key_Shift);
    EXPECT_EQ(sent, QList<Group>{(Group{hex("0919"), {}, {}})});
}

// Every pressure byte the sliders can show goes back unchanged.
TEST_F(SettingsPanelTest, PressureBytesRoundTripThroughTheSliders)
{
    for (int b = 40; b <= 250; ++b) {
        apply(settingsBlock({{36, uint8_t(b)}, {40, uint8_t(b)}}));
        EXPECT_EQ(SettingsTable::commandFor(Id::WorkingPressure, view.gas.workingPressure->Value()).first,
                  hex("2b") + char(b));
        EXPECT_EQ(SettingsTable::commandFor(Id::MinimumPressure, view.gas.minimumPressure->Value()).first,
                  hex("1e") + char(b));
    }
}

// --- the user's changes ------------------------------------------------------------

TEST_F(SettingsPanelTest, DialsAndSlidersSendOnRelease)
{
    apply(factoryBlock());
    const struct
    {
        TAnalogCControl *control;
        float value;
        const char *body;
    } cases[] = {{view.gas.workingPressure, 1.37f, "2b89"},       {view.switching.switchOverTime, 12, "2218"},
                 {view.switching.maxRpmToPetrol, 6500, "1141"},   {view.switching.pressureFaultTime, 25, "1f02"},
                 {view.switching.pressureFaultTime, 35, "1f04"},  {view.switching.gasSwitchRpm, 2500, "0919"},
                 {view.switching.gasSwitchTemperature, 40, "0f28"}, {view.switching.cylinderSequenceTime, 150, "230f"},
                 {view.gas.minimumPressure, 0.80f, "1e50"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.body);
        sent.clear();
        userSets(c.control, c.value);
        EXPECT_EQ(sent, QList<Group>{(Group{hex(c.body), {}, {}})});
    }
}

TEST_F(SettingsPanelTest, ListPicksAndCheckBoxesSendTheirCommand)
{
    apply(factoryBlock());
    pick(view.petrol.pulses, 6);
    pick(view.petrol.rpmSignal, 1);
    pick(view.gas.injectorType, 2);
    view.petrol.injectorsPositive->click();
    view.switching.switchAtFirstDrop->click();
    view.switching.switchAtFirstDrop->click();
    const QList<Group> expected{{hex("0a06"), {}, {}},         {hex("1701"), {}, {}},
                                {hex("0e03"), hex("2409"), hex("302d")}, {hex("2d01"), {}, {}},
                                {hex("2e01"), {}, {}},         {hex("2e00"), {}, {}}};
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(notSent, 0);
}

TEST_F(SettingsPanelTest, EngineTypeMovesTheChartScaleThenSends)
{
    apply(factoryBlock());
    pick(view.petrol.engineType, 1);
    EXPECT_EQ(rightAxisMax(), 256.0);
    pick(view.petrol.engineType, 0);
    EXPECT_EQ(rightAxisMax(), 100.0);
    EXPECT_EQ(sent, (QList<Group>{{hex("2101"), {}, {}}, {hex("2100"), {}, {}}}));
}

TEST_F(SettingsPanelTest, ListsArePickOnlyAndReachableByKeyboard)
{
    for (QComboBox *c : {view.petrol.cylinders, view.petrol.pulses, view.petrol.rpmSignal, view.petrol.engineType,
                         view.gas.injectorType, view.switching.levelSensor})
        EXPECT_FALSE(c->isEditable()) << qPrintable(c->objectName());
    apply(factoryBlock());
    host.show();
    QApplication::setActiveWindow(&host);
    view.petrol.pulses->setFocus(Qt::TabFocusReason);
    QTest::keyClick(view.petrol.pulses, Qt::Key_Down);
    EXPECT_EQ(sent, QList<Group>{(Group{hex("0a01"), {}, {}})});
}

TEST_F(SettingsPanelTest, CylinderCountRewritesTheBlockAndPutsOtherControlsBack)
{
    apply(factoryBlock());
    view.gas.workingPressure->SetValue(2.0f); // moved, never sent
    pick(view.petrol.cylinders, 2);
    EXPECT_EQ(sent, QList<Group>{(Group{hex("1b02"), {}, {}})});
    EXPECT_EQ(uint8_t(stored[22]), 2);
    EXPECT_EQ(uint8_t(stored[20]), 0x1F);
    EXPECT_FLOAT_EQ(view.gas.workingPressure->Value(), 1.00f);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(led(k)->isEnabled(), k < 5) << k;
        EXPECT_EQ(led(k)->Checked(), k < 5) << k;
    }
    sent.clear();
    pick(view.petrol.cylinders, 4);
    EXPECT_EQ(sent, QList<Group>{(Group{hex("1b05"), {}, {}})});
    EXPECT_EQ(uint8_t(stored[22]), 5);
    EXPECT_EQ(uint8_t(stored[20]), 0xFF);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(led(k)->LED().ColorOff(), QColor(0xFF, 0, 0)) << k;
}

TEST_F(SettingsPanelTest, CylinderCountNeedsAnOpenPortAndABlock)
{
    stored = QByteArray(10, '\0');
    pick(view.petrol.cylinders, 1);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(stored, QByteArray(10, '\0'));
}

TEST_F(SettingsPanelTest, InjectorLedsFollowPortAndFuel)
{
    apply(factoryBlock()); // cylinders 1..4 lit
    portOpen = false;
    QTest::mouseClick(led(1), Qt::LeftButton);
    EXPECT_TRUE(led(1)->Checked());
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(notSent, 1);

    portOpen = true;
    view.top.fuelSwitch->SetChecked(false); // on petrol
    QTest::mouseClick(led(1), Qt::LeftButton);
    EXPECT_FALSE(led(1)->Checked());
    EXPECT_TRUE(sent.isEmpty());

    view.top.fuelSwitch->SetChecked(true); // on gas
    QTest::mouseClick(led(2), Qt::LeftButton);
    EXPECT_FALSE(led(2)->Checked());
    EXPECT_EQ(sent, QList<Group>{(Group{hex("030309"), {}, {}})});
    EXPECT_TRUE(led(0)->Checked());
    EXPECT_TRUE(led(3)->Checked());
}

TEST_F(SettingsPanelTest, FuelSwitchAsksForTheOtherFuel)
{
    apply(factoryBlock());
    view.top.fuelGroup->setEnabled(true);
    view.top.fuelSwitch->SetChecked(false); // "PB"
    QTest::mouseClick(view.top.fuelSwitch, Qt::LeftButton);
    EXPECT_FALSE(view.top.fuelSwitch->Checked()); // only the live frame moves it
    view.top.fuelSwitch->SetChecked(true); // "LPG"
    QTest::mouseClick(view.top.fuelSwitch, Qt::LeftButton);
    EXPECT_EQ(sent, (QList<Group>{{hex("03030f"), {}, {}}, {hex("03020f"), {}, {}}}));
}

TEST_F(SettingsPanelTest, CalibrationFuelRequest)
{
    apply(settingsBlock({{22, 3}, {20, 0x3F}}));
    panel->requestFuelForCalibration(0);
    panel->requestFuelForCalibration(2);
    calibrationStep = 0;
    panel->paliwo_SwitchClick(SettingsEdits::FuelSender::Calibration);
    EXPECT_EQ(sent, (QList<Group>{{hex("25"), hex("03023f"), {}}, {hex("03023f"), {}, {}}, {hex("25"), hex("03023f"), {}}}));
}

// A run's fuel requests wait in the queue between its ticks; a click of the
// fitter's would replace them. The LEDs and the switch still show the state.
TEST_F(SettingsPanelTest, DuringCalibrationLedsAndFuelSwitchOnlyShow)
{
    apply(factoryBlock()); // cylinders 1..4 lit
    view.top.fuelGroup->setEnabled(true);
    view.top.fuelSwitch->SetChecked(true); // on gas
    calibrationStep = 3;
    QTest::mouseClick(led(1), Qt::LeftButton);
    QTest::mouseClick(view.top.fuelSwitch, Qt::LeftButton);
    EXPECT_TRUE(led(1)->Checked());
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(calibrationNotes, 2);
    EXPECT_EQ(notSent, 0);

    // The program keeps setting them.
    led(1)->SetChecked(false);
    view.top.fuelSwitch->SetChecked(false);
    EXPECT_FALSE(led(1)->Checked());
    EXPECT_FALSE(view.top.fuelSwitch->Checked());
    // The run's own request still goes out, with the mask shown.
    panel->requestFuelForCalibration(3);
    EXPECT_EQ(sent, QList<Group>{(Group{hex("03020d"), {}, {}})});

    // After the run the clicks act again.
    sent.clear();
    calibrationStep = -1;
    view.top.fuelSwitch->SetChecked(true);
    QTest::mouseClick(led(1), Qt::LeftButton);
    EXPECT_EQ(sent, QList<Group>{(Group{hex("03030f"), {}, {}})});
}

// --- no controller --------------------------------------------------------------

TEST_F(SettingsPanelTest, OfflineEditGoesBackToTheLastBlockAndSaysSo)
{
    apply(factoryBlock());
    connected = false;
    pick(view.petrol.pulses, 3);
    EXPECT_EQ(view.petrol.pulses->currentIndex(), 0);
    pick(view.petrol.engineType, 1);
    EXPECT_EQ(view.petrol.engineType->currentIndex(), 0);
    EXPECT_EQ(rightAxisMax(), 100.0);
    view.petrol.injectorsPositive->click();
    EXPECT_FALSE(view.petrol.injectorsPositive->isChecked());
    userSets(view.switching.gasSwitchRpm, 3000);
    EXPECT_FLOAT_EQ(view.switching.gasSwitchRpm->Value(), 1200.0f);
    pick(view.petrol.cylinders, 3);
    EXPECT_EQ(view.petrol.cylinders->currentIndex(), 1);
    EXPECT_EQ(uint8_t(stored[22]), 1);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(notSent, 5);
}

TEST_F(SettingsPanelTest, OfflineEditBeforeAnyBlockGoesBackToEmpty)
{
    connected = false;
    portOpen = false;
    const float startRpm = view.switching.gasSwitchRpm->Value();
    pick(view.gas.injectorType, 1);
    EXPECT_EQ(view.gas.injectorType->currentIndex(), -1);
    view.switching.switchAtFirstDrop->click();
    EXPECT_FALSE(view.switching.switchAtFirstDrop->isChecked());
    userSets(view.switching.gasSwitchRpm, 3000);
    EXPECT_FLOAT_EQ(view.switching.gasSwitchRpm->Value(), startRpm);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(notSent, 3);
}

// --- screen readers and keyboard --------------------------------------------------

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

TEST_F(SettingsPanelTest, EverySettingsControlHasItsLabelAsName)
{
    const std::pair<QWidget *, QString> named[] = {
        {view.petrol.cylinders, QStringLiteral("Ilość cylindrów")},
        {view.petrol.pulses, QStringLiteral("Impulsy")},
        {view.petrol.rpmSignal, QStringLiteral("Sygnał RPM")},
        {view.petrol.engineType, QStringLiteral("Rodzaj Silnika")},
        {view.petrol.injectorsPositive, QStringLiteral("Wtryskiwacze dodatnie")},
        {view.gas.injectorType, QStringLiteral("Wtryskiwacz gazowy")},
        {view.switching.switchAtFirstDrop, QStringLiteral("Przełącz przy pierwszym spadku ciśnienia")},
        {view.switching.levelSensor, QStringLiteral("Rodzaj czujnika")},
    };
    for (const auto &[w, name] : named)
        EXPECT_EQ(accessibleName(w), name) << qPrintable(w->objectName());
    const TAnalogCControl *instruments[] = {view.gas.workingPressure,          view.gas.minimumPressure,
                                            view.switching.gasSwitchRpm,      view.switching.gasSwitchTemperature,
                                            view.switching.switchOverTime,    view.switching.cylinderSequenceTime,
                                            view.switching.maxRpmToPetrol,    view.switching.pressureFaultTime};
    for (const TAnalogCControl *constC : instruments) {
        auto *c = const_cast<TAnalogCControl *>(constC);
        const QString name = accessibleName(c);
        EXPECT_NE(name, c->objectName());
        EXPECT_TRUE(name.contains(QStringLiteral(": "))) << qPrintable(name);
    }
}

TEST_F(SettingsPanelTest, TabOrderFollowsTheLayout)
{
    const auto chain = [](QWidget *from, int steps) {
        QStringList names;
        QWidget *w = from;
        while (int(names.size()) < steps) {
            w = w->nextInFocusChain();
            if (w == from)
                break;
            if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
                names << w->objectName();
        }
        return names;
    };
    EXPECT_EQ(chain(view.petrol.cylinders, 4),
              (QStringList{"Sel_Impuls", "Sel_RPM_signal", "Sel_Typ_silnika", "Check_Injector_plus"}));
    EXPECT_EQ(chain(view.switching.cylinderSequenceTime, 3),
              (QStringList{"Check_by_first", "RPM_Max_To_Petrol", "T_zwloki_changer"}));
}

} // namespace
