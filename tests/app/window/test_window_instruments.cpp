// The instruments of the window: each component is the right widget class,
// configured with the window's ranges, formats, names, sectors, limits and
// lamp colours, and at rest before any live data arrives.
#include "tests/app/WindowFixture.h"

#include "app/calibration/CalibrationMapTabs.h"
#include "app/common/InstrumentFactory.h"
#include "app/live/MonitoringTabs.h"
#include "app/settings/PetrolGasTabs.h"
#include "app/settings/SwitchTab.h"
#include "app/live/TopPanel.h"
#include "settings/SettingsTable.h"

#include "widgets/T270Meter.h"
#include "widgets/TBar.h"
#include "widgets/TDial.h"
#include "widgets/TFlashTimer.h"
#include "widgets/THMeter.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TMiniTrend.h"
#include "widgets/TSpinButton.h"
#include "widgets/TThermometer.h"
#include "widgets/TToggleSwitch.h"
#include "widgets/TVBar.h"
#include "widgets/TVSlider.h"
#include "widgets/TValueInd.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QVBoxLayout>

#include <optional>

namespace {

// What the window gives one instrument. Unset texts are not checked here.
struct InstrumentCase
{
    QString name;
    const char *className;
    float valueFrom;
    float valueTo;
    int digitalFrom;
    int digitalTo;
    QString format;
    std::optional<QString> name1 = std::nullopt;
    std::optional<QString> name2 = std::nullopt;
    std::optional<QString> unit = std::nullopt;
};

constexpr float kZero = SignalSetup::NearZero;

std::vector<InstrumentCase> instrumentCases()
{
    const QString t1 = QStringLiteral("##0.0");
    std::vector<InstrumentCase> cases = {
        // Top panel.
        {"BATERY_vpp", "TValueInd", 0, 100, 0, 1000, "#0.00", QStringLiteral("Bateria    "), {}, QStringLiteral("V")},
        {"RPM_Edit", "TValueInd", 0, 100, 0, 1000, "###0"},
        {"P_MAP_edit", "TValueInd", 0, 100, 0, 1000, t1, {}, {}, QStringLiteral("[kPa]")},
        {"P1_MAP_edit", "TValueInd", 0, 100, 0, 1000, "#0.0", {}, {}, QStringLiteral("[bar] ")},
        {"Skala_PB_time", "TVBar", 0, 30, 0, 1000, t1, {}, QStringLiteral("CYL 1")},
        {"Skala_LPG_time", "TVBar", 0, 50, 0, 1000, t1},
        {"lambda_1", "TBar", 0, 1, 0, 1000, t1},
        {"lambda_2", "TBar", 0, 1, 0, 1000, t1},
        {"RPM_zegar", "T270Meter", kZero, 10, 0, 1000, "##0.##0", {}, {}, QStringLiteral("x1000")},
        {"Slala_P_MAP", "THMeter", kZero, 240, 0, 1000, t1, QStringLiteral("MAP [kPa]")},
        {"Skala_P1_MAP", "THMeter", kZero, 3, 0, 1000, t1, QStringLiteral("P1 [bar]")},
        {"TempWoda", "TThermometer", kZero, 120, 0, 1000, t1, QStringLiteral("Red")},
        {"TempGaz", "TThermometer", kZero, 120, 0, 1000, t1, QStringLiteral("Gaz")},
        // "Diagnostyka".
        {"Skala_LPG_time1", "TVBar", 0, 50, 0, 1000, t1},
        // "Panel Gaz": positions are the hundredths of a bar sent to the controller.
        {"P_pracy_changer", "TVSlider", 0.40f, 2.50f, 40, 250, "#0.00", QStringLiteral("P. Pracy")},
        {"P_min_changer", "TVSlider", 0.40f, 2.50f, 40, 255, "#0.00"},
        // "Przełącznik".
        {"Ch_U_LPG_changer", "TVSlider", 0, 5, 0, 500, "#0.00"},
        {"RPM_Max_To_Petrol", "TDial", 0, 12000, 0, 120, "####0"},
        {"T_zwloki_changer", "TDial", 0, 1450, 0, 1450, "###0", {}, QStringLiteral("Cz. Błędu Ciś.")},
        {"RPM_Prog_przel", "TDial", 300, 6000, 3, 60, "###0"},
        {"Temp_LPG_changer", "TDial", 20, 90, 20, 90, "##0", {}, QStringLiteral("Temperatura")},
        {"T_przel_to_LPG", "TDial", 2, 60, 2, 60, "#0", {}, QStringLiteral("Czas Przeł.")},
        {"T_CYL_seqence", "TDial", 0, 2550, 0, 255, "###0", {}, QStringLiteral("Sekw. Cylindra")},
    };
    for (int n = 1; n <= 8; ++n)
        cases.push_back({QStringLiteral("Skala_PB_time%1").arg(n), "TVBar", 0, 30, 0, 1000, t1, {},
                         QStringLiteral("CYL %1").arg(n)});
    return cases;
}

// Two-state widgets and the other instruments with no signal of their own.
const std::pair<const char *, const char *> kOtherInstruments[] = {
    {"Polacz_switch", "TToggleSwitch"}, {"paliwo_Switch", "TToggleSwitch"}, {"rezerwa_led_gora", "TLedIndicator"},
    {"Rezerwa_led_panel", "TLedIndicator"}, {"Gaz_led_1g", "TLedIndicator"}, {"Gaz_led_4g", "TLedIndicator"},
    {"Gaz_led_1p", "TLedIndicator"}, {"Gaz_led_4p", "TLedIndicator"}, {"Cyl_0_led", "TLedIndicator"},
    {"Cyl_7_led", "TLedIndicator"}, {"SpinButton1", "TSpinButton"}, {"Oscyloskop", "TMiniTrend"},
    {"Dial5", "TDial"}, {"Dial6", "TDial"}};

const TSignalSettings *signalOf(QObject *o)
{
    if (auto *g = qobject_cast<TAnalogGControl *>(o))
        return &g->SignalSettings();
    if (auto *c = qobject_cast<TAnalogCControl *>(o))
        return &c->SignalSettings();
    return nullptr;
}

// --- in the whole window ------------------------------------------------------

TEST_F(WindowFixture, EveryInstrumentIsOneWidgetOfItsClass)
{
    TZENU &w = start({QStringLiteral("COM1")});
    auto check = [&](const QString &name, const char *className) {
        const QList<QWidget *> found = w.findChildren<QWidget *>(name);
        ASSERT_EQ(found.size(), 1) << qPrintable(name);
        EXPECT_STREQ(found.first()->metaObject()->className(), className) << qPrintable(name);
    };
    for (const InstrumentCase &c : instrumentCases())
        check(c.name, c.className);
    for (const auto &[name, className] : kOtherInstruments)
        check(QString::fromLatin1(name), className);
    for (int n = 1; n <= 4; ++n) {
        check(QStringLiteral("Gaz_led_%1g").arg(n), "TLedIndicator");
        check(QStringLiteral("Gaz_led_%1p").arg(n), "TLedIndicator");
    }
    for (int k = 0; k < 8; ++k)
        check(QStringLiteral("Cyl_%1_led").arg(k), "TLedIndicator");
}

TEST_F(WindowFixture, ScreenReadersFindEachInstrumentByItsComponentName)
{
    TZENU &w = start({QStringLiteral("COM1")});
    // Lamps and switches are read out by their captions; the painted scales
    // have none, so their component names stand in. The settings dials and
    // sliders are named after what they set, in the window's language.
    for (const InstrumentCase &c : instrumentCases()) {
        QWidget *instrument = w.findChild<QWidget *>(c.name);
        ASSERT_NE(instrument, nullptr) << qPrintable(c.name);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(instrument);
        ASSERT_NE(a, nullptr) << qPrintable(c.name);
        if (SettingsTable::rowOfControl(c.name.toLatin1().constData()))
            EXPECT_NE(a->text(QAccessible::Name), c.name);
        else
            EXPECT_EQ(a->text(QAccessible::Name).toStdString(), c.name.toStdString());
    }
    // Gauges and controls also read out what they show.
    for (const char *name : {"BATERY_vpp", "RPM_zegar", "TempWoda", "RPM_Prog_przel"}) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w.findChild<QWidget *>(name));
        EXPECT_FALSE(a->text(QAccessible::Value).isEmpty()) << name;
    }
}

TEST_F(WindowFixture, NothingBlinksOrIsLitBeforeTheFirstFrame)
{
    TZENU &w = start({QStringLiteral("COM1")});
    for (TAnalogGControl *g : w.findChildren<TAnalogGControl *>())
        EXPECT_FALSE(g->Blinking()) << qPrintable(g->objectName());
    for (TBinGControl *b : w.findChildren<TBinGControl *>()) {
        EXPECT_FALSE(b->Checked()) << qPrintable(b->objectName());
        EXPECT_FALSE(b->IsBlinking()) << qPrintable(b->objectName());
    }
}

// --- as the builders configure them -------------------------------------------

// The panel and the tabs built on their own, so what is checked is what the
// window definition gives, before start-up or a language touches any text.
class InstrumentsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *l = new QVBoxLayout(&host);
        for (QWidget *part : {TopPanel::build(&host).panel, PetrolGasTabs::gas(&host).page, MonitoringTabs::scope(&host),
                              MonitoringTabs::diagnostics(&host), SwitchTab::build(&host).page,
                              CalibrationMapTabs::map(&host)})
            l->addWidget(part);
    }

    template <typename T>
    T *get(const QString &name)
    {
        T *w = host.findChild<T *>(name);
        EXPECT_NE(w, nullptr) << qPrintable(name);
        return w;
    }

    QWidget host;
};

TEST_F(InstrumentsTest, SignalsCarryTheWindowsRangesFormatsAndNames)
{
    for (const InstrumentCase &c : instrumentCases()) {
        SCOPED_TRACE(qPrintable(c.name));
        const TSignalSettings *s = signalOf(host.findChild<QObject *>(c.name));
        ASSERT_NE(s, nullptr);
        EXPECT_FLOAT_EQ(s->ValueFrom(), c.valueFrom);
        EXPECT_FLOAT_EQ(s->ValueTo(), c.valueTo);
        EXPECT_EQ(s->DigitalFrom(), c.digitalFrom);
        EXPECT_EQ(s->DigitalTo(), c.digitalTo);
        EXPECT_EQ(s->ValueFormat(), c.format);
        if (c.name1) {
            EXPECT_EQ(s->Name1(), *c.name1);
        }
        if (c.name2) {
            EXPECT_EQ(s->Name2(), *c.name2);
        }
        if (c.unit) {
            EXPECT_EQ(s->ValueUnit(), *c.unit);
        }
    }
}

TEST_F(InstrumentsTest, GaugesStartAtRestWithNothingRemembered)
{
    for (TAnalogGControl *g : host.findChildren<TAnalogGControl *>()) {
        SCOPED_TRACE(qPrintable(g->objectName()));
        const bool thermometer = qobject_cast<TThermometer *>(g) != nullptr;
        // Below their scales until the first frame; everything else at zero.
        EXPECT_FLOAT_EQ(g->Value(), thermometer ? -40.0f : 0.0f);
        EXPECT_EQ(g->RangeState(), thermometer ? TRangeState::Under : TRangeState::Inside);
        EXPECT_FALSE(g->MinMax().MinSet());
        EXPECT_FALSE(g->MinMax().MaxSet());
        EXPECT_FALSE(g->Blinking());
    }
}

TEST_F(InstrumentsTest, EngineDialHasItsSectorsAndLimits)
{
    auto *dial = get<T270Meter>(QStringLiteral("RPM_zegar"));
    ASSERT_NE(dial, nullptr);
    const struct
    {
        int number;
        QColor color;
        int from;
        int to;
    } sectors[] = {{1, QColor(0x00, 0x80, 0x00), 100, 600},
                   {2, QColor(0xFF, 0xFF, 0x00), 600, 750},
                   {3, QColor(0xFF, 0x00, 0x00), 750, 1000}};
    for (const auto &e : sectors) {
        const TSectorSettings::Sector &s = dial->SectorSettings().SectorAt(e.number);
        EXPECT_EQ(s.Color, e.color) << e.number;
        EXPECT_EQ(s.From, e.from) << e.number;
        EXPECT_EQ(s.To, e.to) << e.number;
    }
    EXPECT_FLOAT_EQ(dial->LimitLower(), 0.2f);
    EXPECT_FLOAT_EQ(dial->LimitUpper(), 0.5f);
    EXPECT_TRUE(dial->Options().testFlag(opSector));

    // 6000 rpm lies in the green and the yellow sector; the yellow one wins.
    const struct
    {
        float thousands;
        QColor color;
    } readings[] = {{3.0f, QColor(0x00, 0x80, 0x00)}, {6.0f, QColor(0xFF, 0xFF, 0x00)}, {8.0f, QColor(0xFF, 0x00, 0x00)}};
    for (const auto &r : readings) {
        dial->SetValue(r.thousands);
        EXPECT_EQ(dial->SectorColor(), r.color) << r.thousands;
    }
}

TEST_F(InstrumentsTest, PressureMetersKeepTheirLimits)
{
    const struct
    {
        const char *name;
        float lower;
        float upper;
    } cases[] = {{"Slala_P_MAP", 10.0f, 90.0f}, {"Skala_P1_MAP", 0.0001f, 0.7f}};
    for (const auto &c : cases) {
        auto *m = get<THMeter>(QString::fromLatin1(c.name));
        ASSERT_NE(m, nullptr);
        EXPECT_FLOAT_EQ(m->LimitLower(), c.lower) << c.name;
        EXPECT_FLOAT_EQ(m->LimitUpper(), c.upper) << c.name;
    }
}

TEST_F(InstrumentsTest, LambdaBarsAreMultiColourWithoutTextOrSectorFill)
{
    for (const char *name : {"lambda_1", "lambda_2"}) {
        auto *bar = get<TBar>(QString::fromLatin1(name));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->BarStyle(), TBar::bsMultiColor) << name;
        for (TGOption o : {opValue, opUnit, opUseSectorCol, opBidir})
            EXPECT_FALSE(bar->Options().testFlag(o)) << name << " option " << unsigned(o);
    }
}

TEST_F(InstrumentsTest, PetrolBarsShowTheirCylinderName)
{
    QStringList bars{QStringLiteral("Skala_PB_time")};
    for (int n = 1; n <= 8; ++n)
        bars << QStringLiteral("Skala_PB_time%1").arg(n);
    for (const QString &name : bars) {
        auto *bar = get<TVBar>(name);
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(bar->Options().testFlag(opName2)) << qPrintable(name);
        EXPECT_TRUE(bar->Options().testFlag(opOverflow)) << qPrintable(name);
    }
}

TEST_F(InstrumentsTest, LampsHaveTheirCaptionsColoursAndRates)
{
    const QColor red(0xFF, 0x00, 0x00);
    const QColor lime(0x00, 0xFF, 0x00);
    const QColor gray(0x80, 0x80, 0x80);
    struct LampCase
    {
        QString name;
        QString caption;
        QColor colorOn;
        std::optional<QColor> colorOff;
        TFrequency frequency;
    };
    std::vector<LampCase> cases = {{"rezerwa_led_gora", "R", red, {}, ff4Hz},
                                   {"Rezerwa_led_panel", "R", red, {}, ff4Hz}};
    for (int n = 1; n <= 4; ++n) {
        cases.push_back({QStringLiteral("Gaz_led_%1g").arg(n), QString::number(n), lime, {}, ff1Hz});
        cases.push_back({QStringLiteral("Gaz_led_%1p").arg(n), QString::number(n), lime, {}, ff1Hz});
    }
    for (int k = 0; k < 8; ++k)
        cases.push_back({QStringLiteral("Cyl_%1_led").arg(k), QString::number(k + 1), lime, gray, ff1Hz});

    for (const LampCase &c : cases) {
        SCOPED_TRACE(qPrintable(c.name));
        auto *led = get<TLedIndicator>(c.name);
        ASSERT_NE(led, nullptr);
        EXPECT_EQ(led->Caption(), c.caption);
        EXPECT_EQ(led->LED().ColorOn(), c.colorOn);
        if (c.colorOff) {
            EXPECT_EQ(led->LED().ColorOff(), *c.colorOff);
        }
        EXPECT_EQ(led->Frequency(), c.frequency);
        // Clicks go to the window's handlers; the lamp itself never toggles.
        EXPECT_EQ(led->Mode(), mIndicator);
        EXPECT_FALSE(led->Flashing());
    }
}

TEST_F(InstrumentsTest, ReserveLampsBlinkInStepOnTheProgramsOneTimer)
{
    auto *top = get<TLedIndicator>(QStringLiteral("rezerwa_led_gora"));
    auto *panel = get<TLedIndicator>(QStringLiteral("Rezerwa_led_panel"));
    ASSERT_TRUE(top && panel);
    TFlashTimer *shared = TFlashTimer::Shared();
    EXPECT_EQ(top->FlashTimer(), shared);
    EXPECT_EQ(panel->FlashTimer(), shared);

    top->SetFlashing(true);
    panel->SetFlashing(true);
    top->SetChecked(true);
    EXPECT_TRUE(shared->IsRegistered(top));
    EXPECT_FALSE(shared->IsRegistered(panel)); // dark: nothing to blink
    shared->SetAutoTick(false);
    for (int i = 0; i < 5; ++i)
        shared->Tick();
    panel->SetChecked(true);
    for (int i = 0; i < 40; ++i) {
        shared->Tick();
        EXPECT_EQ(top->ShownColor(), panel->ShownColor()) << "tick " << i;
    }
    top->SetChecked(false);
    panel->SetChecked(false);
    EXPECT_FALSE(shared->IsRegistered(top));
    EXPECT_FALSE(shared->IsRegistered(panel));
    shared->SetAutoTick(true);
}

TEST_F(InstrumentsTest, SwitchesShowTheirTextsAndFollowTheirModes)
{
    auto *connection = get<TToggleSwitch>(QStringLiteral("Polacz_switch"));
    auto *fuel = get<TToggleSwitch>(QStringLiteral("paliwo_Switch"));
    ASSERT_TRUE(connection && fuel);
    EXPECT_EQ(connection->TextOff(), QStringLiteral("Rozłączony"));
    EXPECT_EQ(fuel->TextOn(), QStringLiteral("LPG"));
    EXPECT_EQ(fuel->TextOff(), QStringLiteral("PB"));
    // Until the ignition is seen on the fuel switch wears the button face.
    const QColor face = QApplication::palette().color(QPalette::Button);
    EXPECT_EQ(fuel->ColorOn(), face);
    EXPECT_EQ(fuel->ColorOff(), face);
    EXPECT_FALSE(host.findChild<QWidget *>(QStringLiteral("Zaplon_panel"))->isEnabled());

    // A press on the free half throws the connection switch; the fuel switch
    // only reports the click.
    host.findChild<QWidget *>(QStringLiteral("Zaplon_panel"))->setEnabled(true); // as with the ignition on
    host.resize(1280, 800);
    host.show();
    for (TToggleSwitch *s : {connection, fuel}) {
        bool clicked = false;
        QObject::connect(s, &TBinGControl::OnClick, s, [&clicked] { clicked = true; });
        const QPoint free = s->FaceRect().center().toPoint();
        QMouseEvent press(QEvent::MouseButtonPress, free, s->mapToGlobal(free), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, free, s->mapToGlobal(free), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(s, &press);
        QApplication::sendEvent(s, &release);
        EXPECT_EQ(s->Checked(), s == connection) << qPrintable(s->objectName());
        EXPECT_TRUE(clicked) << qPrintable(s->objectName());
    }
}

TEST_F(InstrumentsTest, InputControlsMoveOnTheControllersGrid)
{
    // Value handed in -> value shown and position (the byte the controller gets).
    const struct
    {
        const char *name;
        float given;
        float shown;
        int digit;
    } cases[] = {
        {"RPM_Prog_przel", 1234.0f, 1200.0f, 12},  {"RPM_Prog_przel", 100.0f, 300.0f, 3},
        {"RPM_Max_To_Petrol", 6500.0f, 6500.0f, 65}, {"T_zwloki_changer", 25.0f, 25.0f, 25},
        {"T_przel_to_LPG", 12.0f, 12.0f, 12},      {"T_CYL_seqence", 1234.0f, 1230.0f, 123},
        {"Temp_LPG_changer", 95.0f, 90.0f, 90},    {"P_pracy_changer", 1.37f, 1.37f, 137},
        {"Ch_U_LPG_changer", 0.71f, 0.71f, 71},
    };
    // Building the window is no change: a first release must not send anything.
    for (TAnalogCControl *control : host.findChildren<TAnalogCControl *>())
        EXPECT_FALSE(control->ChangedMark()) << qPrintable(control->objectName());
    for (const auto &c : cases) {
        auto *control = get<TAnalogCControl>(QString::fromLatin1(c.name));
        ASSERT_NE(control, nullptr);
        control->SetValue(c.given);
        EXPECT_NEAR(control->Value(), c.shown, 1e-4) << c.name << " given " << c.given;
        EXPECT_EQ(control->Digit(), c.digit) << c.name << " given " << c.given;
    }
}

TEST_F(InstrumentsTest, LevelSliderAnswersOnlyUpAndDown)
{
    auto *slider = get<TVSlider>(QStringLiteral("Ch_U_LPG_changer"));
    ASSERT_NE(slider, nullptr);
    EXPECT_FALSE(slider->isVisible());
    host.show();
    slider->show();
    QApplication::setActiveWindow(&host);
    slider->setFocus();
    ASSERT_TRUE(slider->hasFocus());
    slider->SetValue(1.0f);
    const struct
    {
        int key;
        int digitAfter;
    } keys[] = {{Qt::Key_Up, 101}, {Qt::Key_Down, 100}, {Qt::Key_PageUp, 100}, {Qt::Key_End, 100},
                {Qt::Key_Right, 100}, {Qt::Key_Home, 100}, {Qt::Key_Left, 100}, {Qt::Key_PageDown, 100}};
    for (const auto &k : keys) {
        QKeyEvent press(QEvent::KeyPress, k.key, Qt::NoModifier);
        QApplication::sendEvent(slider, &press);
        EXPECT_EQ(slider->Digit(), k.digitAfter) << "key " << k.key;
    }
}

TEST_F(InstrumentsTest, ScopeStartsBlankOverOneMinute)
{
    auto *scope = get<TMiniTrend>(QStringLiteral("Oscyloskop"));
    ASSERT_NE(scope, nullptr);
    for (TSignalSettings *ch : {&scope->SignalSettingsCh1(), &scope->SignalSettingsCh2()}) {
        EXPECT_FLOAT_EQ(ch->ValueFrom(), 0.0f);
        EXPECT_FLOAT_EQ(ch->ValueTo(), 50.0f);
        EXPECT_EQ(ch->DigitalFrom(), 0);
        EXPECT_EQ(ch->DigitalTo(), 50);
        EXPECT_EQ(ch->ValueFormat(), QStringLiteral("##0"));
        EXPECT_EQ(ch->Name1(), QStringLiteral(" "));
        EXPECT_EQ(ch->Name2(), QStringLiteral(" "));
        EXPECT_EQ(ch->ValueUnit(), QStringLiteral(" "));
    }
    EXPECT_EQ(scope->TimeScale(), 1);
    EXPECT_EQ(scope->Options(), TMiniTrend::opBevelOuter | TMiniTrend::opScaleCh1 | TMiniTrend::opScaleCh2 |
                                    TMiniTrend::opSignDescCh1 | TMiniTrend::opSignDescCh2 | TMiniTrend::opGrid);
}

TEST_F(InstrumentsTest, SpinButtonRepeatsEveryTenthAfterHalfASecond)
{
    auto *spin = get<TSpinButton>(QStringLiteral("SpinButton1"));
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->StartDelay(), 500);
    EXPECT_EQ(spin->Interval(), 100);
}

TEST_F(InstrumentsTest, MeterLookMovesSectorsAndChangesTheNeedle)
{
    auto *dial = get<T270Meter>(QStringLiteral("RPM_zegar"));
    ASSERT_NE(dial, nullptr);
    const struct
    {
        int offset;
        int shape;
    } looks[] = {{300, 2}, {0, 6}, {300, 2}};
    for (const auto &look : looks) {
        InstrumentFactory::setMeterLook(dial, look.offset, look.shape);
        EXPECT_EQ(dial->SectorSettings().Offset(), look.offset);
        EXPECT_EQ(dial->ArrowSettings().Shape(), look.shape);
    }
    // Anything but a round meter keeps its sectors where they are.
    auto *map = get<THMeter>(QStringLiteral("Slala_P_MAP"));
    ASSERT_NE(map, nullptr);
    InstrumentFactory::setMeterLook(map, 300, 2);
    EXPECT_EQ(map->SectorSettings().Offset(), 0);
}

} // namespace
