// The live view against zenu-sim: the real window offscreen, polling a
// simulated warm engine. Gauges move within an idle engine's ranges, faults
// raised on the simulator's console appear and go, the scope keeps or loses
// its view over a reconnection, and a disconnect leaves the rest look.
#include "E2eFixture.h"

#include "app/live/LiveDisplay.h"
#include "app/window/WindowLinkView.h"

#include "widgets/TAnalogGControl.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TMiniTrend.h"
#include "widgets/TRMeter.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

constexpr int PollCode = 0x55;
constexpr int ClearFaultsCode = 0x10;

class E2eLive : public E2eFixture
{
protected:
    void connectWarm()
    {
        startBoth({QStringLiteral("--warm")});
        window->component<QAction>(kCom)->trigger();
        ASSERT_TRUE(waitConnected()) << linkReport();
        // A few frames so that every display has had its first value.
        const int polls = countIn(PollCode);
        ASSERT_TRUE(waitFor([&] { return countIn(PollCode) >= polls + 3; }, 5000));
    }

    template <class T = QWidget>
    T *w(const QString &name)
    {
        T *found = window->component<T>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    float value(const char *gauge) { return w<TAnalogGControl>(QString::fromLatin1(gauge))->Value(); }
    QString memo() { return w<QPlainTextEdit>(QStringLiteral("Actual_errors_Memo"))->toPlainText(); }
    bool bannerShown() { return w(QStringLiteral("Error_Led"))->isVisibleTo(window.get()); }
    bool checked(const char *button) { return w<QRadioButton>(QString::fromLatin1(button))->isChecked(); }
    QString message(int row) { return window->languageTable()->message(row); }
};

TEST_F(E2eLive, GaugesOfAWarmIdleEngineMoveWithinTheirRanges)
{
    connectWarm();
    struct Range
    {
        const char *gauge;
        float low, high;
    };
    const Range ranges[] = {
        {"RPM_Edit", 600, 1200},        {"RPM_zegar", 0.6f, 1.2f},      {"BATERY_vpp", 13.0f, 14.6f},
        {"TempWoda", 60, 100},          {"TempGaz", 40, 100},           {"Slala_P_MAP", 20, 60},
        {"P_MAP_edit", 20, 60},         {"Skala_P1_MAP", 0.6f, 1.4f},   {"lambda_1", 0.0f, 1.0f},
        {"lambda_2", 0.0f, 1.0f},       {"Skala_PB_time", 1.5f, 6.0f},  {"Skala_PB_time1", 1.5f, 6.0f},
        {"Skala_PB_time4", 1.5f, 6.0f}, {"Skala_LPG_time", 0.0f, 8.0f},
    };
    QSet<float> lambdaSeen;
    for (int frame = 0; frame < 8; ++frame) {
        polls(1);
        for (const Range &r : ranges) {
            EXPECT_GE(value(r.gauge), r.low) << r.gauge;
            EXPECT_LE(value(r.gauge), r.high) << r.gauge;
        }
        lambdaSeen.insert(value("lambda_1"));
        // Until the engine has gone over to gas its gas time may be 0; both
        // gas bars show the same time either way.
        EXPECT_EQ(value("Skala_LPG_time"), value("Skala_LPG_time1"));
    }
    // The probe swings in closed loop: the gauge follows the frames.
    EXPECT_GE(lambdaSeen.size(), 3);
    EXPECT_FLOAT_EQ(value("RPM_zegar") * 1000, value("RPM_Edit"));
    // Four cylinders: the bars of the absent ones stay at zero.
    EXPECT_EQ(value("Skala_PB_time5"), 0.0f);
    EXPECT_EQ(value("Skala_PB_time8"), 0.0f);

    EXPECT_TRUE(w(QStringLiteral("Zaplon_panel"))->isEnabled());
    auto *dial = w<TRMeter>(QStringLiteral("RPM_zegar"));
    EXPECT_EQ(dial->SectorSettings().Offset(), 0);
    EXPECT_EQ(dial->ArrowSettings().Shape(), 6);
    EXPECT_TRUE(memo().isEmpty()) << qPrintable(memo());
    EXPECT_FALSE(bannerShown());
    EXPECT_GT(window->liveDisplay().timeTables().lastStreamPosition(), 0);
}

TEST_F(E2eLive, FaultRaisedOnTheControllerIsListedAndClearedWithTheNextFrame)
{
    connectWarm();
    ASSERT_FALSE(bannerShown());

    sim->command(QStringLiteral("fault pressure-low on"));
    sim->command(QStringLiteral("fault injector 2 on"));
    ASSERT_TRUE(waitFor([&] { return memo().count(QLatin1Char('\n')) == 1; }, 3000)) << qPrintable(memo());
    EXPECT_EQ(memo().split(QLatin1Char('\n')),
              (QStringList{QStringLiteral("1") + message(2), QStringLiteral("2") + message(6) + QStringLiteral(" 2")}));
    EXPECT_TRUE(bannerShown());

    // The banner blinks: its colour changes from frame to frame.
    QWidget *banner = w(QStringLiteral("Error_Led"));
    QSet<QRgb> colours;
    for (int i = 0; i < 3; ++i) {
        polls(1);
        colours.insert(banner->palette().color(QPalette::Window).rgb());
    }
    EXPECT_EQ(colours, (QSet<QRgb>{qRgb(0xFF, 0, 0), qRgb(0xFF, 0x3C, 0x3C)}));

    // From here on, after every frame the banner shows exactly when that
    // frame reported a fault: the first healthy frame hides it.
    WindowLinkView &view = window->linkView();
    auto reportsFault = [](const QByteArray &a) {
        return a.size() > 48 && (uint8_t(a[34]) != 0xFF || uint8_t(a[35]) != 0xFF || uint8_t(a[48]) != 0xFF);
    };
    int seen = view.liveFramesApplied();
    int healthyFrames = 0;
    int mismatches = 0;
    auto watch = [&] {
        if (view.liveFramesApplied() != seen) {
            seen = view.liveFramesApplied();
            const bool fault = reportsFault(view.lastLiveAnswer());
            mismatches += bannerShown() != fault;
            healthyFrames += !fault;
        }
        return healthyFrames >= 3;
    };
    sim->command(QStringLiteral("faults clear"));
    // Three poll cycles, about a second, with a tenfold margin.
    ASSERT_TRUE(waitFor(watch, 10000));
    EXPECT_EQ(mismatches, 0);
    EXPECT_FALSE(bannerShown());
    EXPECT_TRUE(memo().isEmpty()) << qPrintable(memo());
}

TEST_F(E2eLive, ResetButtonClearsTheControllersLog)
{
    connectWarm();
    sim->command(QStringLiteral("fault supply on"));
    ASSERT_TRUE(waitFor([&] { return bannerShown(); }, 3000));
    sim->command(QStringLiteral("faults clear"));

    w<QPushButton>(QStringLiteral("Button2"))->click();
    EXPECT_TRUE(memo().isEmpty());
    EXPECT_TRUE(w<QPlainTextEdit>(QStringLiteral("Register_errors_memo"))->toPlainText().isEmpty());
    ASSERT_TRUE(waitFor([&] { return countOut(ClearFaultsCode) == 1; }, 3000));
    const QList<LoggedFrame> sent = SimFrameLog::select(frames(), true, ClearFaultsCode);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent.first().status, QStringLiteral("ok"));
    polls(2);
    EXPECT_EQ(countIn(ClearFaultsCode), 1);
}

TEST_F(E2eLive, ReconnectDropsTheLambdaViewsAndKeepsTheOthers)
{
    connectWarm();
    TMiniTrend *scope = w<TMiniTrend>(QStringLiteral("Oscyloskop"));

    w<QRadioButton>(QStringLiteral("RPM_LAMBDA2"))->click();
    polls(1);
    EXPECT_NEAR(scope->ValueCh1(), value("RPM_zegar"), 1e-6);
    EXPECT_NEAR(scope->ValueCh2(), value("lambda_2"), 1e-6);

    window->rozlacz1->trigger();
    ASSERT_TRUE(waitDisconnected(3000));
    // The rest frame handed zeros once.
    EXPECT_EQ(scope->ValueCh1(), 0.0f);
    EXPECT_EQ(scope->ValueCh2(), 0.0f);
    EXPECT_TRUE(checked("RPM_LAMBDA2"));

    window->polacz->trigger();
    ASSERT_TRUE(waitConnected());
    polls(3);
    for (const char *b : {"OSC_PETROL_LPG", "OSC_MAP_P1", "TEMP_LPG_RED", "RPM_LAMBDA1", "RPM_LAMBDA2"})
        EXPECT_FALSE(checked(b)) << b;
    ASSERT_GT(value("RPM_zegar"), 0.0f);
    EXPECT_EQ(scope->ValueCh1(), 0.0f);
    EXPECT_EQ(scope->ValueCh2(), 0.0f);

    w<QRadioButton>(QStringLiteral("OSC_MAP_P1"))->click();
    window->rozlacz1->trigger();
    ASSERT_TRUE(waitDisconnected(3000));
    window->polacz->trigger();
    ASSERT_TRUE(waitConnected());
    polls(2);
    EXPECT_TRUE(checked("OSC_MAP_P1"));
    EXPECT_NEAR(scope->ValueCh1(), value("Slala_P_MAP"), 1e-4);
    EXPECT_GT(scope->ValueCh1(), 0.0f);
    EXPECT_NEAR(scope->ValueCh2(), value("Skala_P1_MAP"), 1e-6);
}

TEST_F(E2eLive, DisconnectLeavesTheRestLookAndTheLastFaultList)
{
    connectWarm();
    sim->command(QStringLiteral("fault voltage on"));
    ASSERT_TRUE(waitFor([&] { return bannerShown(); }, 3000));
    const QString faults = memo();
    ASSERT_EQ(faults, QStringLiteral("1") + message(0));

    window->rozlacz1->trigger();
    ASSERT_TRUE(waitDisconnected(3000));
    EXPECT_EQ(memo(), faults);
    EXPECT_FALSE(bannerShown());
    EXPECT_FALSE(w(QStringLiteral("Zaplon_panel"))->isEnabled());
    for (const char *zero : {"RPM_Edit", "RPM_zegar", "lambda_1", "lambda_2", "Slala_P_MAP", "Skala_P1_MAP",
                             "TempWoda", "TempGaz", "Skala_PB_time", "Skala_LPG_time", "Skala_PB_time1"})
        EXPECT_EQ(value(zero), 0.0f) << zero;
    EXPECT_NEAR(value("BATERY_vpp"), 0.70f, 1e-6);
    auto *dial = w<TRMeter>(QStringLiteral("RPM_zegar"));
    EXPECT_EQ(dial->SectorSettings().Offset(), 300);
    EXPECT_EQ(dial->ArrowSettings().Shape(), 2);
    // The rest frame lit the reserve LEDs; the disconnect then put them out.
    for (const char *led : {"rezerwa_led_gora", "Rezerwa_led_panel", "Gaz_led_1g", "Gaz_led_4p"}) {
        EXPECT_FALSE(w<TLedIndicator>(QString::fromLatin1(led))->Checked()) << led;
        EXPECT_FALSE(w<TLedIndicator>(QString::fromLatin1(led))->Flashing()) << led;
    }
}

} // namespace
