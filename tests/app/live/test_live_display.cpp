// The live view on the real window: a frame reaches every display by name,
// the ignition and rest looks, the tank LEDs, the fault list and banner with
// its click and the log reset, the cylinder choice of the top panel's bar,
// the scope's views and feed, and the hooks at the end of the sequence.
#include "tests/app/WindowFixture.h"

#include "tests/live/LiveFrameBytes.h"

#include "app/live/LiveDisplay.h"

#include "widgets/TAnalogGControl.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TMiniTrend.h"
#include "widgets/TRMeter.h"
#include "widgets/TToggleSwitch.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>

#include <algorithm>
#include <ostream>
#include <vector>

// Readable failure output for texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// A warm engine at idle on gas: every field holds a value of its own, so a
// display fed from the wrong byte shows a wrong number.
QByteArray idleFrame(std::vector<std::pair<int, int>> extra = {})
{
    std::vector<std::pair<int, int>> bytes = {
        {4, 0x01},  {5, 0x01},                          // ignition on, on gas
        {6, 30},    {7, 0},    {8, 31},   {9, 0},       // cylinders 1, 2: 3.0, 3.1 ms
        {10, 32},   {11, 0},   {12, 33},  {13, 0},      // 3, 4: 3.2, 3.3 ms
        {14, 0x2C}, {15, 0x01}, {16, 0},  {17, 0},      // 5: 30.0 ms, 6: 0 ms
        {18, 0},    {19, 14},  {20, 0},                 // gas 3.584 ms
        {21, 8},                                        // 800 rpm
        {22, 25},                                       // lambda 1: 0.49 V
        {23, 0},    {24, 100},                          // P1 1.00 bar
        {25, 0},    {26, 35},                           // MAP 35 kPa
        {29, 215},                                      // 13.89 V
        {30, 102},                                      // tank sensor 2.00 V
        {31, 3},                                        // level 3
        {32, 80},   {33, 0xFF},                         // 80 and -1 degC
        {34, 0xFF}, {35, 0xFF}, {48, 0xFF},             // no faults
        {36, 9},    {38, 11},  {40, 12},  {41, 13},     // time tables at 9
        {42, 21},   {44, 22},  {46, 23},  {47, 2},      // selector 2
        {51, 35},   {52, 0},   {53, 36},  {54, 0},      // cylinders 7, 8: 3.5, 3.6 ms
        {55, 40},                                       // lambda 2: 0.784 V
    };
    bytes.insert(bytes.end(), extra.begin(), extra.end());
    return liveFrame(bytes);
}

QColor btnFace()
{
    return QApplication::palette().color(QPalette::Button);
}

class LiveDisplayTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        start({});
    }

    LiveDisplay &live() { return window->liveDisplay(); }
    void apply(const QByteArray &frame) { live().applyLiveFrame(frame); }

    template <class T = QWidget>
    T *w(const QString &name)
    {
        T *found = window->component<T>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    TAnalogGControl *gauge(const QString &name) { return w<TAnalogGControl>(name); }
    float value(const QString &name) { return gauge(name)->Value(); }
    bool lit(const QString &name) { return w<TBinGControl>(name)->Checked(); }
    QString memo(const char *name = "Actual_errors_Memo")
    {
        return w<QPlainTextEdit>(QString::fromLatin1(name))->toPlainText();
    }
    TMiniTrend *scope() { return w<TMiniTrend>(QStringLiteral("Oscyloskop")); }
    void choose(const char *button) { w<QRadioButton>(QString::fromLatin1(button))->click(); }
};

struct Shown
{
    const char *target;
    float value;
};

TEST_F(LiveDisplayTest, FrameSetsEveryGaugeInItsUnit)
{
    apply(idleFrame());
    const Shown expected[] = {
        {"lambda_1", 0.49f},        {"lambda_2", 0.784f},       {"RPM_zegar", 0.8f},
        {"RPM_Edit", 800.0f},       {"BATERY_vpp", 13.89f},     {"TempWoda", 80.0f},
        {"TempGaz", -1.0f},         {"Slala_P_MAP", 35.0f},     {"P_MAP_edit", 35.0f},
        {"Skala_P1_MAP", 1.0f},     {"P1_MAP_edit", 1.0f},      {"Skala_LPG_time", 3.584f},
        {"Skala_LPG_time1", 3.584f}, {"Skala_PB_time", 3.0f},   {"Skala_PB_time1", 3.0f},
        {"Skala_PB_time2", 3.1f},   {"Skala_PB_time3", 3.2f},   {"Skala_PB_time4", 3.3f},
        {"Skala_PB_time5", 30.0f},  {"Skala_PB_time6", 0.0f},   {"Skala_PB_time7", 3.5f},
        {"Skala_PB_time8", 3.6f},
    };
    for (const Shown &e : expected)
        EXPECT_NEAR(value(QLatin1String(e.target)), e.value, 1e-4) << e.target;

    const QString sep = QLocale().decimalPoint();
    EXPECT_EQ(w<QLineEdit>(QStringLiteral("U_zbiornika"))->text(), QStringLiteral("2") + sep + QStringLiteral("00"));
}

TEST_F(LiveDisplayTest, UnchangedTankReadingKeepsWhatTheReaderSelected)
{
    apply(idleFrame());
    auto *reading = w<QLineEdit>(QStringLiteral("U_zbiornika"));
    reading->selectAll();
    apply(idleFrame());
    EXPECT_EQ(reading->selectedText(), reading->text());
}

TEST_F(LiveDisplayTest, IgnitionDecidesPanelSwitchColoursAndDialLook)
{
    struct Case
    {
        int flags4;
        bool panelEnabled;
        QColor off, on;
        int sectorOffset, pointerShape;
        float lambda1;
    };
    const Case cases[] = {
        {0x01, true, QColor(0xFF, 0, 0), QColor(0, 0xFF, 0), 0, 6, 0.49f},
        {0xFE, false, btnFace(), btnFace(), 300, 2, 0.0f}, // only bit 0 counts
        {0x03, true, QColor(0xFF, 0, 0), QColor(0, 0xFF, 0), 0, 6, 0.49f},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.flags4);
        apply(idleFrame({{4, c.flags4}}));
        EXPECT_EQ(w(QStringLiteral("Zaplon_panel"))->isEnabled(), c.panelEnabled);
        auto *fuel = w<TToggleSwitch>(QStringLiteral("paliwo_Switch"));
        EXPECT_EQ(fuel->ColorOff(), c.off);
        EXPECT_EQ(fuel->ColorOn(), c.on);
        auto *dial = w<TRMeter>(QStringLiteral("RPM_zegar"));
        EXPECT_EQ(dial->SectorSettings().Offset(), c.sectorOffset);
        EXPECT_EQ(dial->ArrowSettings().Shape(), c.pointerShape);
        EXPECT_NEAR(value(QStringLiteral("lambda_1")), c.lambda1, 1e-4);
        // The bars that ignition-off zeroes get their frame values again.
        EXPECT_NEAR(value(QStringLiteral("Skala_PB_time")), 3.0f, 1e-4);
        EXPECT_NEAR(value(QStringLiteral("Skala_LPG_time")), 3.584f, 1e-4);
    }
}

TEST_F(LiveDisplayTest, FuelSwitchFollowsTheFrameWithoutAClick)
{
    auto *fuel = w<TToggleSwitch>(QStringLiteral("paliwo_Switch"));
    int clicks = 0;
    int userChanges = 0;
    QObject::connect(fuel, &TBinGControl::OnClick, [&] { ++clicks; });
    QObject::connect(fuel, &TBinGControl::OnStatusChanged, [&] { userChanges += fuel->ChangedByUser(); });

    for (int onGas : {1, 0, 3, 2}) {
        apply(idleFrame({{5, onGas}}));
        EXPECT_EQ(fuel->Checked(), (onGas & 1) != 0) << onGas;
    }
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(userChanges, 0);
}

TEST_F(LiveDisplayTest, TankLevelLightsItsLeds)
{
    struct Case
    {
        int step;
        bool reserve;
        bool levels[4];
    };
    const Case cases[] = {
        {0, true, {false, false, false, false}}, {1, false, {true, false, false, false}},
        {3, false, {true, true, true, false}},   {4, false, {true, true, true, true}},
        {5, false, {true, true, true, false}},   {0, true, {false, false, false, false}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.step);
        apply(idleFrame({{31, c.step}}));
        EXPECT_EQ(lit(QStringLiteral("rezerwa_led_gora")), c.reserve);
        EXPECT_EQ(lit(QStringLiteral("Rezerwa_led_panel")), c.reserve);
        for (int level = 1; level <= 4; ++level) {
            EXPECT_EQ(lit(QStringLiteral("Gaz_led_%1g").arg(level)), c.levels[level - 1]) << level;
            EXPECT_EQ(lit(QStringLiteral("Gaz_led_%1p").arg(level)), c.levels[level - 1]) << level;
        }
    }
}

TEST_F(LiveDisplayTest, ReserveLedsBlinkRedAtFourHertzOnceFlashing)
{
    for (const char *name : {"rezerwa_led_gora", "Rezerwa_led_panel"}) {
        auto *led = w<TLedIndicator>(QString::fromLatin1(name));
        EXPECT_EQ(led->LED().ColorOn(), QColor(0xFF, 0, 0)) << name;
        EXPECT_EQ(led->Frequency(), ff4Hz) << name;
    }
}

TEST_F(LiveDisplayTest, LambdaBarWidensAboveItsLimitAndStaysWide)
{
    TAnalogGControl *l1 = gauge(QStringLiteral("lambda_1"));
    TAnalogGControl *l2 = gauge(QStringLiteral("lambda_2"));
    const float narrow2 = l2->SignalSettings().ValueTo();

    apply(idleFrame({{22, 61}}));
    const float narrow1 = l1->SignalSettings().ValueTo();
    EXPECT_NE(narrow1, 5.0f);
    EXPECT_NEAR(l1->Value(), 1.1956f, 1e-4);

    apply(idleFrame({{22, 62}}));
    EXPECT_EQ(l1->SignalSettings().ValueTo(), 5.0f);
    EXPECT_EQ(l2->SignalSettings().ValueTo(), narrow2);

    apply(idleFrame({{22, 10}}));
    EXPECT_EQ(l1->SignalSettings().ValueTo(), 5.0f);
}

TEST_F(LiveDisplayTest, ShortAnswerLeavesTheDisplaysOfMissingFieldsAlone)
{
    apply(idleFrame({{34, 0xFB}})); // one fault listed
    const QString faults = memo();
    ASSERT_FALSE(faults.isEmpty());

    // Up to offset 29: the lambda 2, level, temperature, fault and later
    // cylinder bytes never arrived.
    QByteArray cut = idleFrame({{21, 20}, {22, 50}}).left(30);
    apply(cut);
    EXPECT_NEAR(value(QStringLiteral("RPM_Edit")), 2000.0f, 1e-3);
    EXPECT_NEAR(value(QStringLiteral("lambda_1")), 0.98f, 1e-4);
    EXPECT_NEAR(value(QStringLiteral("lambda_2")), 0.784f, 1e-4);
    EXPECT_NEAR(value(QStringLiteral("Skala_PB_time7")), 3.5f, 1e-4);
    EXPECT_NEAR(value(QStringLiteral("TempWoda")), 80.0f, 1e-4);
    EXPECT_TRUE(lit(QStringLiteral("Gaz_led_3g")));
    EXPECT_EQ(memo(), faults);

    // Five bytes or fewer change nothing at all.
    apply(QByteArray::fromHex("aa00050055"));
    EXPECT_NEAR(value(QStringLiteral("RPM_Edit")), 2000.0f, 1e-3);
}

TEST_F(LiveDisplayTest, CurrentFaultsAreListedOneLineEach)
{
    LanguageTable *texts = window->languageTable();
    ASSERT_NE(texts, nullptr);
    auto row = [&](int r) { return texts->message(r); };
    struct Case
    {
        int b34, b35, b48;
        QStringList lines;
    };
    const Case cases[] = {
        {0xFF, 0xFF, 0xFF, {}},
        {0xFC, 0xFF, 0x03, {}}, // bits that name no fault
        {0xE8, 0xFF, 0x01, {"1" + row(0), "2" + row(2), "3" + row(8)}},
        {0xFF, 0xFE, 0xFF, {"1" + row(6) + " 1"}},
        {0xFF, 0x00, 0xFF, {"1" + row(6) + " 1 2 3 4 5 6 7 8"}},
        {0x7F, 0xBD, 0xFE, {"1" + row(5), "2" + row(6) + " 2 7", "3" + row(7)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.b34 << ' ' << c.b35 << ' ' << c.b48);
        apply(idleFrame({{34, c.b34}, {35, c.b35}, {48, c.b48}}));
        EXPECT_EQ(memo(), c.lines.join(QLatin1Char('\n')));
        // One line per fault and no empty line after the last one.
        EXPECT_EQ(w<QPlainTextEdit>(QStringLiteral("Actual_errors_Memo"))->document()->blockCount(),
                  std::max<qsizetype>(1, c.lines.size()));
        EXPECT_EQ(w(QStringLiteral("Error_Led"))->isVisibleTo(window.get()), !c.lines.isEmpty());
    }
}

TEST_F(LiveDisplayTest, BannerChangesColourOnEveryFrameShownOrNot)
{
    QWidget *banner = w(QStringLiteral("Error_Led"));
    auto colour = [&] { return banner->palette().color(QPalette::Window); };
    const QColor red(0xFF, 0, 0), light(0xFF, 0x3C, 0x3C);
    ASSERT_EQ(colour(), red);
    const QColor expected[] = {light, red, light, red};
    const int faultByte[] = {0xFB, 0xFF, 0xFF, 0xFB};
    for (int i = 0; i < 4; ++i) {
        apply(idleFrame({{34, faultByte[i]}}));
        EXPECT_EQ(colour(), expected[i]) << i;
    }
}

TEST_F(LiveDisplayTest, BannerClickBringsTheErrorTab)
{
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    apply(idleFrame({{48, 0xFE}}));
    QWidget *banner = w(QStringLiteral("Error_Led"));
    ASSERT_TRUE(banner->isVisible());
    auto *tabs = w<QTabWidget>(QStringLiteral("tab_control"));
    tabs->setCurrentWidget(w(QStringLiteral("TabSheet7")));

    QTest::mouseClick(banner, Qt::RightButton);
    EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("TabSheet7"));
    QTest::mouseClick(banner, Qt::LeftButton);
    EXPECT_EQ(tabs->currentWidget()->objectName(), QStringLiteral("TabSheet5"));
}

TEST_F(LiveDisplayTest, ResetEmptiesBothListsUntilTheNextFrame)
{
    apply(idleFrame({{34, 0xFB}}));
    w<QPlainTextEdit>(QStringLiteral("Register_errors_memo"))->setPlainText(QStringLiteral("1 - logged"));
    ASSERT_FALSE(memo().isEmpty());

    w<QPushButton>(QStringLiteral("Button2"))->click();
    EXPECT_TRUE(memo().isEmpty());
    EXPECT_TRUE(memo("Register_errors_memo").isEmpty());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();

    // The next frame lists the current faults again.
    apply(idleFrame({{34, 0xFB}}));
    EXPECT_FALSE(memo().isEmpty());
}

// The Error tab alone: what the reset hands to the link.
TEST(FaultsTabAlone, ResetQueuesTheLogClearWithFiveRetries)
{
    QWidget root;
    auto *reset = new QPushButton(QStringLiteral("Reset"), &root);
    reset->setObjectName(QStringLiteral("Button2"));
    auto *current = new QPlainTextEdit(QStringLiteral("1 - x"), &root);
    current->setObjectName(QStringLiteral("Actual_errors_Memo"));
    NamedComponents components(&root);
    std::vector<std::pair<int, QByteArray>> queued;
    FaultsTab tab(components, nullptr, [&](int retries, const QByteArray &body) { queued.emplace_back(retries, body); });

    reset->click();
    reset->click();
    ASSERT_EQ(queued.size(), 2u);
    for (const auto &[retries, body] : queued) {
        EXPECT_EQ(retries, 5);
        EXPECT_EQ(body, QByteArray::fromHex("1000"));
    }
    EXPECT_TRUE(current->toPlainText().isEmpty());
}

TEST_F(LiveDisplayTest, CylinderChoiceMovesTheBarAndNamesItOnlyWhenItsInjectorIsActive)
{
    TAnalogGControl *bar = gauge(QStringLiteral("Skala_PB_time"));
    const QString before = bar->SignalSettings().Name2();
    struct Case
    {
        int cylinder;
        bool ledLit;
        QString label; // empty: unchanged from the step before
        float petrolMs;
    };
    const Case cases[] = {
        {2, false, QString(), 3.2f},       {6, true, QStringLiteral("CYL 7"), 3.5f},
        {4, false, QString(), 30.0f},      {0, true, QStringLiteral("CYL 1"), 3.0f},
        {7, true, QStringLiteral("CYL 8"), 3.6f},
    };
    QString expectedLabel = before;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cylinder);
        w<TBinGControl>(QStringLiteral("Cyl_%1_led").arg(c.cylinder))->SetChecked(c.ledLit);
        choose(QStringLiteral("Cyl_%1_show").arg(c.cylinder).toLatin1().constData());
        if (!c.label.isEmpty())
            expectedLabel = c.label;
        EXPECT_EQ(bar->SignalSettings().Name2(), expectedLabel);
        EXPECT_EQ(live().shownCylinder(), c.cylinder);
        apply(idleFrame());
        EXPECT_NEAR(bar->Value(), c.petrolMs, 1e-4);
    }
}

TEST_F(LiveDisplayTest, ScopeStartsAsTheWindowDefinesIt)
{
    TMiniTrend *chart = scope();
    EXPECT_EQ(chart->TimeScale(), 1);
    EXPECT_EQ(chart->Options(), TMiniTrend::opBevelOuter | TMiniTrend::opScaleCh1 | TMiniTrend::opScaleCh2
                                    | TMiniTrend::opSignDescCh1 | TMiniTrend::opSignDescCh2 | TMiniTrend::opGrid);
    for (TSignalSettings *ch : {&chart->SignalSettingsCh1(), &chart->SignalSettingsCh2()}) {
        EXPECT_LT(ch->ValueFrom(), 0.00001f);
        EXPECT_EQ(ch->ValueTo(), 50.0f);
        EXPECT_EQ(ch->DigitalFrom(), 0);
        EXPECT_EQ(ch->DigitalTo(), 50);
        EXPECT_EQ(ch->ValueFormat(), QStringLiteral("##0"));
        EXPECT_EQ(ch->Name1(), QStringLiteral(" "));
        EXPECT_EQ(ch->Name2(), QStringLiteral(" "));
        EXPECT_EQ(ch->ValueUnit(), QStringLiteral(" "));
    }
    for (const char *b : {"OSC_PETROL_LPG", "OSC_MAP_P1", "TEMP_LPG_RED", "RPM_LAMBDA1", "RPM_LAMBDA2"})
        EXPECT_FALSE(w<QRadioButton>(QString::fromLatin1(b))->isChecked()) << b;

    // Nothing is handed over before a view is chosen.
    const float ch1 = chart->ValueCh1(), ch2 = chart->ValueCh2();
    apply(idleFrame());
    EXPECT_EQ(chart->ValueCh1(), ch1);
    EXPECT_EQ(chart->ValueCh2(), ch2);
}

TEST_F(LiveDisplayTest, EachViewSetsItsChannelsAndFeedsItsGauges)
{
    struct Channel
    {
        const char *name, *unit;
        float end;
        float fed; // value of the idle frame's source gauge
    };
    struct Case
    {
        const char *button;
        Channel ch1, ch2;
    };
    const float l1End = gauge(QStringLiteral("lambda_1"))->SignalSettings().ValueTo();
    const float l2End = gauge(QStringLiteral("lambda_2"))->SignalSettings().ValueTo();
    const Case cases[] = {
        {"OSC_PETROL_LPG", {"Petrol", "[ms] ", 40, 3.0f}, {"Gaz", " [ms]", 40, 3.584f}},
        {"OSC_MAP_P1", {"MAP", "[kPa] ", 250, 35.0f}, {"P1", " [bar]", 4, 1.0f}},
        {"TEMP_LPG_RED", {"Gaz", "[°C] ", 120, -1.0f}, {"Red", " [°C]", 120, 80.0f}},
        {"RPM_LAMBDA1", {"RPM [x 1000]", "  ", 8, 0.8f}, {"LAMBDA1", " [V]", l1End, 0.49f}},
        {"RPM_LAMBDA2", {"RPM [x 1000]", "  ", 8, 0.8f}, {"LAMBDA2", " [V]", l2End, 0.784f}},
    };
    TMiniTrend *chart = scope();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        choose(c.button);
        const std::pair<TSignalSettings *, const Channel *> channels[] = {{&chart->SignalSettingsCh1(), &c.ch1},
                                                                          {&chart->SignalSettingsCh2(), &c.ch2}};
        for (const auto &[settings, want] : channels) {
            EXPECT_EQ(settings->Name1(), QString::fromUtf8(want->name));
            EXPECT_EQ(settings->ValueUnit(), QString::fromUtf8(want->unit));
            EXPECT_EQ(settings->ValueTo(), want->end);
        }
        apply(idleFrame());
        EXPECT_NEAR(chart->ValueCh1(), c.ch1.fed, 1e-4);
        EXPECT_NEAR(chart->ValueCh2(), c.ch2.fed, 1e-4);
    }
}

// A change of view hands the new pair's values at once: until the next frame
// the chart would otherwise draw the old pair on the new scales (3.6 ms of
// gas as 3.6 bar of P1, a spike at every change).
TEST_F(LiveDisplayTest, AChangeOfViewHandsTheNewPairAtOnce)
{
    apply(idleFrame());
    TMiniTrend *chart = scope();
    choose("OSC_PETROL_LPG");
    EXPECT_NEAR(chart->ValueCh2(), 3.584f, 1e-4);
    choose("OSC_MAP_P1");
    EXPECT_NEAR(chart->ValueCh1(), 35.0f, 1e-4);
    EXPECT_NEAR(chart->ValueCh2(), 1.0f, 1e-4);
    choose("TEMP_LPG_RED");
    EXPECT_NEAR(chart->ValueCh2(), 80.0f, 1e-4);
}

TEST_F(LiveDisplayTest, LambdaViewKeepsTheScaleItCopiedUntilChosenAgain)
{
    TSignalSettings &ch2 = scope()->SignalSettingsCh2();
    TAnalogGControl *l1 = gauge(QStringLiteral("lambda_1"));
    apply(idleFrame());
    choose("RPM_LAMBDA1");
    const float copied = l1->SignalSettings().ValueTo();
    ASSERT_NE(copied, 5.0f);
    EXPECT_EQ(ch2.ValueTo(), copied);

    apply(idleFrame({{22, 77}})); // 1.51 V widens the bar
    ASSERT_EQ(l1->SignalSettings().ValueTo(), 5.0f);
    EXPECT_EQ(ch2.ValueTo(), copied);
    EXPECT_NEAR(scope()->ValueCh2(), 1.5092f, 1e-4);

    choose("OSC_MAP_P1");
    choose("RPM_LAMBDA1");
    EXPECT_EQ(ch2.ValueTo(), 5.0f);
}

TEST_F(LiveDisplayTest, RestFrameShowsTheRestLook)
{
    choose("OSC_MAP_P1");
    apply(idleFrame());
    apply(QByteArray(500, '\0'));

    EXPECT_FALSE(w(QStringLiteral("Zaplon_panel"))->isEnabled());
    auto *fuel = w<TToggleSwitch>(QStringLiteral("paliwo_Switch"));
    EXPECT_FALSE(fuel->Checked());
    EXPECT_EQ(fuel->ColorOff(), btnFace());
    EXPECT_EQ(fuel->ColorOn(), btnFace());
    auto *dial = w<TRMeter>(QStringLiteral("RPM_zegar"));
    EXPECT_EQ(dial->SectorSettings().Offset(), 300);
    EXPECT_EQ(dial->ArrowSettings().Shape(), 2);
    for (const char *zero : {"lambda_1", "lambda_2", "RPM_zegar", "RPM_Edit", "Slala_P_MAP", "P_MAP_edit",
                             "Skala_P1_MAP", "P1_MAP_edit", "TempWoda", "TempGaz", "Skala_LPG_time",
                             "Skala_LPG_time1", "Skala_PB_time", "Skala_PB_time1", "Skala_PB_time8"})
        EXPECT_EQ(value(QLatin1String(zero)), 0.0f) << zero;
    EXPECT_NEAR(value(QStringLiteral("BATERY_vpp")), 0.70f, 1e-6);
    EXPECT_EQ(w<QLineEdit>(QStringLiteral("U_zbiornika"))->text(),
              QStringLiteral("0") + QLocale().decimalPoint() + QStringLiteral("00"));
    EXPECT_TRUE(lit(QStringLiteral("rezerwa_led_gora")));
    EXPECT_TRUE(lit(QStringLiteral("Rezerwa_led_panel")));
    for (int level = 1; level <= 4; ++level) {
        EXPECT_FALSE(lit(QStringLiteral("Gaz_led_%1g").arg(level)));
        EXPECT_FALSE(lit(QStringLiteral("Gaz_led_%1p").arg(level)));
    }
    const QStringList lines = memo().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 9);
    EXPECT_TRUE(lines[6].startsWith(QStringLiteral("7")));
    EXPECT_TRUE(lines[6].endsWith(QStringLiteral(" 1 2 3 4 5 6 7 8")));
    EXPECT_TRUE(w(QStringLiteral("Error_Led"))->isVisibleTo(window.get()));
    // The scope was handed the zeros once.
    EXPECT_EQ(scope()->ValueCh1(), 0.0f);
    EXPECT_EQ(scope()->ValueCh2(), 0.0f);
    const auto &tables = live().timeTables();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(tables.PetrolTimeTable()[size_t(i)], 0) << i;
    for (int i = 2; i < 5; ++i)
        EXPECT_EQ(tables.GasTimeTable()[size_t(i)], 0) << i;
}

TEST_F(LiveDisplayTest, TimeCurvesAndCalibrationAreCalledLastInTheirOrder)
{
    QStringList calls;
    live().setTimeCurvesHook([&](int selector) {
        // Everything of the frame is shown by now, the fault list included.
        calls << QStringLiteral("curves %1 memo=%2").arg(selector).arg(memo().isEmpty() ? 0 : 1);
    });
    QByteArray sampled;
    live().setCalibrationSampleHook([&](int position, const QByteArray &frame) {
        calls << QStringLiteral("sample %1").arg(position);
        sampled = frame;
    });

    apply(idleFrame({{34, 0xFB}}));
    EXPECT_EQ(calls, QStringList{QStringLiteral("curves 2 memo=1")});
    EXPECT_EQ(live().timeTables().lastStreamPosition(), 9);
    EXPECT_EQ(live().timeTables().PetrolTimeTable()[9], 11);
    EXPECT_EQ(live().timeTables().GasTimeTable()[13], 23);

    calls.clear();
    window->CalibrationStep = 3;
    const QByteArray frame = idleFrame({{36, 42}});
    apply(frame);
    EXPECT_EQ(calls, (QStringList{QStringLiteral("curves 2 memo=0"), QStringLiteral("sample 42")}));
    EXPECT_EQ(sampled, frame);
}

// Counts the paint events every widget of the application gets.
struct PaintCounter : QObject
{
    PaintCounter() { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<TAnalogGControl *>(watched))
            painted << watched->objectName();
        return false;
    }
    QStringList painted; // the instruments, once per paint
};

// Lets every pending repaint of the shown window happen.
void settle(QWidget *)
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    QTest::qWait(20);
}

TEST_F(LiveDisplayTest, OnlyWhatAFrameChangesIsRepainted)
{
    // A display changes three times a second at most; an instrument whose
    // value stayed the same must cost nothing at all.
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    apply(idleFrame());
    settle(window.get());

    PaintCounter counter;
    apply(idleFrame());
    settle(window.get());
    EXPECT_EQ(counter.painted, QStringList()) << "the same frame again";

    apply(idleFrame({{29, 216}})); // 13.95 V instead of 13.89 V, nothing else
    settle(window.get());
    counter.painted.removeDuplicates();
    EXPECT_EQ(counter.painted, QStringList{QStringLiteral("BATERY_vpp")}) << "one value changed";
}

} // namespace
