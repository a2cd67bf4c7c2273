#include "widgets/T270Meter.h"
#include "widgets/TBar.h"
#include "widgets/TFlashTimer.h"
#include "widgets/THMeter.h"
#include "widgets/TRMeter.h"
#include "widgets/TThermometer.h"
#include "widgets/TVBar.h"
#include "widgets/TValueInd.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QPalette>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Every test formats with "." and ",".
struct CLocale : ::testing::Environment {
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
};
const auto *const cLocale = ::testing::AddGlobalTestEnvironment(new CLocale);

// Records every event a display widget fires, in order.
struct Events {
    QStringList log;
    explicit Events(TAnalogGControl &w)
    {
        QObject::connect(&w, &TAnalogGControl::OnValueChange, [this] { log << QStringLiteral("value"); });
        QObject::connect(&w, &TAnalogGControl::OnLimit, [this](bool up, bool lo) {
            log << QStringLiteral("limit %1%2").arg(up ? "U" : "-", lo ? "L" : "-");
        });
        QObject::connect(&w, &TAnalogGControl::OnOverflow, [this](TRangeState s) {
            log << (s == TRangeState::Over ? QStringLiteral("over") : s == TRangeState::Under ? QStringLiteral("under") : QStringLiteral("inside"));
        });
        QObject::connect(&w, &TAnalogGControl::OnSectorChange, [this](int k, bool in) {
            log << QStringLiteral("sector %1 %2").arg(k).arg(in ? "in" : "out");
        });
        QObject::connect(&w, &TAnalogGControl::OnMinMaxChange, [this] { log << QStringLiteral("minmax"); });
    }
    int count(const QString &what) const { return int(log.count(what)); }
    void clear() { log.clear(); }
};

// A flash timer that only beats when told to.
struct HandTimer {
    TFlashTimer timer;
    HandTimer() { timer.SetAutoTick(false); }
    void Beat(int n)
    {
        for (int i = 0; i < n; ++i)
            timer.Tick();
    }
};

// The engine-speed dial as the window configures it.
void configureRpmDial(T270Meter &m)
{
    m.SignalSettings().SetValueTo(10);
    m.SignalSettings().SetValueFrom(0.000001f);
    m.SignalSettings().SetValueFormat("##0.##0");
    m.SignalSettings().SetValueUnit("x1000");
    m.SectorSettings().SetSector(1, QColor(0x00, 0x80, 0x00), 100, 600);
    m.SectorSettings().SetSector(2, QColor(0xFF, 0xFF, 0x00), 600, 750);
    m.SectorSettings().SetSector(3, QColor(0xFF, 0x00, 0x00), 750, 1000);
    m.SetLimitUpper(0.5f);
    m.SetLimitLower(0.2f);
}

} // namespace

TEST(DisplayWidget, LoadedStateAndDefaults)
{
    TValueInd w;
    EXPECT_EQ(w.Value(), 50.0f);
    EXPECT_EQ(w.Digit(), 500);
    EXPECT_EQ(w.LimitUpper(), 90.0f);
    EXPECT_EQ(w.LimitLower(), 10.0f);
    EXPECT_EQ(w.MinMax().Min(), 9999999.0f);
    EXPECT_EQ(w.MinMax().Max(), -9999999.0f);
    EXPECT_EQ(w.RangeState(), TRangeState::Inside);
    EXPECT_FALSE(w.UpperViolated() || w.LowerViolated());
    EXPECT_EQ(w.SectorColor(), QColor(0x00, 0x80, 0x00));
    EXPECT_EQ(w.ValueText(), "50.0");
}

TEST(DisplayWidget, ValueToPositionPerMilleAndTexts)
{
    struct Case { float from; float to; int dFrom; int dTo; const char *format; float value; int digit; int perMille; const char *text; };
    const Case cases[] = {
        {0, 100, 0, 1000, "##0.0", 12.34f, 123, 123, "12.3"},
        {0, 100, 0, 1000, "##0.0", 0.25f, 2, 2, "0.2"},
        {0, 100, 0, 1000, "##0.0", 0.75f, 8, 8, "0.8"},
        {0, 10, 0, 100, "##0.0", 0.25f, 2, 20, "0.2"},     // position 2.5 -> 2
        {0, 100, 0, 200, "##0.0", 2.5f, 5, 25, "2.5"},     // 1000/200 x 5 = 25
        {0, 100, 0, 400, "##0.0", 0.125f, 0, 0, "0.1"},    // position 0.5 -> 0
        {0, 240, 0, 1000, "##0.0", 300, 1250, 1250, "300.0"}, // not limited to the scale
        {0, 120, 0, 1000, "##0.0", -40, -333, -333, "-40.0"},
        {0, 10, 0, 1000, "##0.##0", 6, 600, 600, "6.000"},
        {0, 50, 0, 1000, "##0.0", 0.256f, 5, 5, "0.3"},
    };
    for (const Case &c : cases) {
        THMeter w;
        w.SignalSettings().SetValueTo(c.to);
        w.SignalSettings().SetValueFrom(c.from);
        w.SignalSettings().SetDigitalTo(c.dTo);
        w.SignalSettings().SetDigitalFrom(c.dFrom);
        w.SignalSettings().SetValueFormat(c.format);
        w.SetValue(c.value);
        EXPECT_EQ(w.Value(), c.value) << c.value;
        EXPECT_EQ(w.Digit(), c.digit) << c.value;
        EXPECT_EQ(w.PerMille(), c.perMille) << c.value;
        EXPECT_EQ(w.PerMilleDrawn(), std::clamp(c.perMille, 0, 1000)) << c.value;
        EXPECT_EQ(w.ValueText(), QString::fromLatin1(c.text)) << c.value;
        EXPECT_EQ(w.DigitText(), QString::number(c.digit)) << c.value;
    }
}

TEST(DisplayWidget, ThermometerBelowItsScaleHoldsTheValue)
{
    TThermometer t;
    // As the window defines it: a requested 0 is stored as 0.000001.
    t.SignalSettings().SetValueTo(120);
    t.SignalSettings().SetValueFrom(0.000001f);
    Events ev(t);
    t.SetValue(-40);
    EXPECT_EQ(t.Value(), -40.0f);
    EXPECT_EQ(t.Digit(), -333);
    EXPECT_EQ(t.RangeState(), TRangeState::Under);
    EXPECT_EQ(t.PerMilleDrawn(), 0);
    EXPECT_EQ(ev.count("under"), 1);
}

TEST(DisplayWidget, SameValueDoesNothing)
{
    TVBar w;
    int clockReads = 0;
    w.SetClock([&] { ++clockReads; return QDateTime(QDate(2024, 1, 1), QTime(8, 0)); });
    w.SetValue(20);
    Events ev(w);
    const int readsBefore = clockReads;
    w.SetValue(20);
    EXPECT_TRUE(ev.log.empty());
    EXPECT_EQ(clockReads, readsBefore);
    // The loaded value is "the value already shown" too.
    TVBar fresh;
    Events ev2(fresh);
    fresh.SetValue(50);
    EXPECT_TRUE(ev2.log.empty());
    EXPECT_EQ(fresh.MinMax().Min(), 9999999.0f);
}

TEST(DisplayWidget, SectorsOverlapAndTheHigherWins)
{
    T270Meter m;
    configureRpmDial(m);
    Events ev(m);
    // Values in thousands of rpm; each step also says which sector events fire.
    struct Step { float value; int perMille; QColor color; int sector; QStringList sectorEvents; };
    const QColor green(0x00, 0x80, 0x00), yellow(0xFF, 0xFF, 0x00), red(0xFF, 0x00, 0x00);
    const Step steps[] = {
        {2.0f, 200, green, 1, {"sector 1 in"}},
        {6.0f, 600, yellow, 2, {"sector 2 in"}},                   // 600 lies in sectors 1 and 2
        {6.01f, 601, yellow, 2, {"sector 1 out"}},
        {7.5f, 750, red, 3, {"sector 3 in"}},                       // 750 in 2 and 3
        {9.0f, 900, red, 3, {"sector 2 out"}},
        {0.5f, 50, red, 3, {"sector 3 out"}},                       // no sector: colour stays
        {12.0f, 1200, red, 3, {}},
        {1.0f, 100, green, 1, {"sector 1 in"}},
    };
    for (const Step &st : steps) {
        ev.clear();
        m.SetValue(st.value);
        EXPECT_EQ(m.PerMille(), st.perMille) << st.value;
        EXPECT_EQ(m.SectorColor(), st.color) << st.value;
        EXPECT_EQ(m.CurrentSector(), st.sector) << st.value;
        const QStringList sectorEvents = ev.log.filter(QRegularExpression("^sector"));
        EXPECT_EQ(sectorEvents.join(','), st.sectorEvents.join(',')) << st.value;
    }
}

TEST(DisplayWidget, LimitFlagsAtAndAcrossTheLimits)
{
    THMeter w;
    Events ev(w);
    struct Step { float value; bool upper; bool lower; bool fires; };
    const Step steps[] = {
        {90.0f, false, false, false}, // equal to the upper limit is fine
        {90.5f, true, false, true},
        {95.0f, true, false, false},  // still violated: no new event
        {10.0f, false, false, true},  // equal to the lower limit is fine too
        {9.99f, false, true, true},
        {-5.0f, false, true, false},
        {50.0f, false, false, true},
    };
    for (const Step &st : steps) {
        ev.clear();
        w.SetValue(st.value);
        EXPECT_EQ(w.UpperViolated(), st.upper) << st.value;
        EXPECT_EQ(w.LowerViolated(), st.lower) << st.value;
        const QString expected = QStringLiteral("limit %1%2").arg(st.upper ? "U" : "-", st.lower ? "L" : "-");
        EXPECT_EQ(ev.count(expected), st.fires ? 1 : 0) << st.value;
    }
}

TEST(DisplayWidget, LimitSettersIgnoreRulesAndRecheck)
{
    TRMeter w;
    Events ev(w);
    w.SetLimitLower(0);
    EXPECT_EQ(w.LimitLower(), 0.0001f);
    w.SetLimitUpper(90);
    EXPECT_TRUE(ev.log.empty());
    // Moving a limit under the present value violates it at once.
    w.SetLimitUpper(40);
    EXPECT_TRUE(w.UpperViolated());
    EXPECT_EQ(ev.count("limit U-"), 1);
    w.SetLimitLower(60);
    EXPECT_TRUE(w.LowerViolated());
    EXPECT_EQ(ev.count("limit UL"), 1);
}

TEST(DisplayWidget, RangeStateFiresOncePerEntry)
{
    TBar w;
    Events ev(w);
    struct Step { float value; TRangeState state; const char *event; };
    const Step steps[] = {
        {100.0f, TRangeState::Inside, nullptr}, // per-mille 1000 is still inside
        {100.1f, TRangeState::Over, "over"},
        {150.0f, TRangeState::Over, nullptr},
        {-0.1f, TRangeState::Under, "under"},
        {-20.0f, TRangeState::Under, nullptr},
        {0.0f, TRangeState::Inside, "inside"},
        {130.0f, TRangeState::Over, "over"},
    };
    for (const Step &st : steps) {
        ev.clear();
        w.SetValue(st.value);
        EXPECT_EQ(w.RangeState(), st.state) << st.value;
        const int transitions = ev.count("over") + ev.count("under") + ev.count("inside");
        EXPECT_EQ(transitions, st.event ? 1 : 0) << st.value;
        if (st.event) {
            EXPECT_EQ(ev.count(st.event), 1) << st.value;
        }
    }
}

TEST(DisplayWidget, EventOrderOfOneValue)
{
    THMeter w;
    w.SetClock([] { return QDateTime(QDate(2024, 1, 1), QTime(8, 0)); });
    Events ev(w);
    w.SetValue(120);
    const QStringList expected{"sector 2 out", "limit U-", "over", "minmax", "value"};
    EXPECT_EQ(ev.log.join(','), expected.join(','));
}

TEST(DisplayWidget, MinimumAndMaximumWithTheirMoments)
{
    TVBar w;
    QDateTime now(QDate(2024, 3, 9), QTime(14, 30, 0));
    w.SetClock([&] { return now; });
    Events ev(w);
    struct Step { float value; float min; float max; int minAt; int maxAt; bool fires; };
    const Step steps[] = {
        {30, 30, 30, 0, 0, true},
        {10, 10, 30, 1, 0, true},
        {20, 10, 30, 1, 0, false},
        {70, 10, 70, 1, 3, true},
        {-500, -500, 70, 4, 3, true},
    };
    const QDateTime start = now;
    for (int i = 0; i < int(std::size(steps)); ++i) {
        const Step &st = steps[i];
        now = start.addSecs(i);
        ev.clear();
        w.SetValue(st.value);
        EXPECT_EQ(w.MinMax().Min(), st.min) << st.value;
        EXPECT_EQ(w.MinMax().Max(), st.max) << st.value;
        EXPECT_EQ(w.MinMax().MinTime(), start.addSecs(st.minAt)) << st.value;
        EXPECT_EQ(w.MinMax().MaxTime(), start.addSecs(st.maxAt)) << st.value;
        EXPECT_EQ(ev.count("minmax"), st.fires ? 1 : 0) << st.value;
    }
}

TEST(DisplayWidget, HintLines)
{
    const QDateTime when(QDate(2024, 3, 9), QTime(14, 30, 5));
    const QLocale locale;
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    const QString time = locale.toString(when.time(), QLocale::LongFormat);
    struct Case { THintOptions options; QString hint; };
    const Case cases[] = {
        {hoAutoHint | hoValue, "Value= 12.3 kPa"},
        {hoAutoHint | hoValue | hoName1 | hoName2, "Value= 12.3 kPa\rMAP [kPa]\rSignalName2"},
        {hoAutoHint | hoMin | hoMax, "MIN= 7.0 kPa\rMAX= 12.3 kPa"},
        {hoAutoHint | hoMin | hoMinMaxDate, "MIN= 7.0 kPa " + date},
        {hoAutoHint | hoMax | hoMinMaxDate | hoMinMaxTime, "MAX= 12.3 kPa " + date + " " + time},
        {THintOptions(0xFFu), "Value= 12.3 kPa\rMIN= 7.0 kPa " + date + " " + time + "\rMAX= 12.3 kPa " + date + " "
                                  + time + "\rMAP [kPa]\rSignalName2"},
    };
    for (const Case &c : cases) {
        THMeter w;
        w.SetClock([&] { return when; });
        w.SignalSettings().SetName1("MAP [kPa]");
        w.SignalSettings().SetValueUnit("kPa");
        w.SetHintOptions(c.options);
        w.SetValue(7);
        w.SetValue(12.34f);
        EXPECT_EQ(w.Hint(), c.hint) << unsigned(c.options);
        EXPECT_EQ(w.toolTip(), QString(c.hint).replace('\r', '\n'));
    }

    // No hint before the first value, even when the scale changes.
    THMeter fresh;
    fresh.SignalSettings().SetValueUnit("bar");
    EXPECT_TRUE(fresh.Hint().isEmpty());
    EXPECT_TRUE(fresh.toolTip().isEmpty());
    // A changed unit shows in the hint of a widget that has a value.
    fresh.SetValue(1.5f);
    fresh.SignalSettings().SetValueUnit("kPa");
    EXPECT_TRUE(fresh.Hint().startsWith("Value= 1.5 kPa\r")) << fresh.Hint().toStdString();

    // Without hoAutoHint the hint is left as it was.
    THMeter w;
    w.SetHintOptions(hoValue);
    const QString before = w.Hint();
    w.SetValue(33);
    EXPECT_EQ(w.Hint(), before);
}

TEST(DisplayWidget, ChangingTheScaleRemapsTheValue)
{
    // A lambda bar: 0..1 V at start, switched to 0..5 V by a reading above 1.21 V.
    TBar lambda;
    lambda.SignalSettings().SetValueTo(1);
    lambda.SignalSettings().SetValueFrom(0);
    Events ev(lambda);
    lambda.SetValue(1.2152f);
    EXPECT_EQ(lambda.RangeState(), TRangeState::Over);
    int settings = 0;
    QObject::connect(&lambda, &TAnalogGControl::OnSettingsChange, [&] { ++settings; });
    ev.clear();
    lambda.SignalSettings().SetValueTo(5);
    EXPECT_EQ(lambda.Value(), 1.2152f);
    EXPECT_EQ(lambda.Digit(), 243);
    EXPECT_EQ(lambda.RangeState(), TRangeState::Inside);
    EXPECT_EQ(ev.count("inside"), 1);
    EXPECT_EQ(ev.count("value"), 0);
    EXPECT_EQ(settings, 1);

    TVBar bar;
    bar.SetValue(15);
    bar.SignalSettings().SetDigitalTo(100);
    EXPECT_EQ(bar.Digit(), 15);
    bar.SignalSettings().SetValueFormat("#0.00");
    EXPECT_EQ(bar.ValueText(), "15.00");
}

TEST(AlarmBlinking, MetersBlinkWhileOutOfRangeOrBeyondALimit)
{
    HandTimer hand;
    THMeter w;
    w.SetFlashTimer(&hand.timer);
    EXPECT_FALSE(w.Blinking());
    EXPECT_FALSE(hand.timer.IsRegistered(&w));
    const QColor quiet = w.AlarmColor();

    struct Step { TGOptions options; float value; bool blinks; };
    const TGOptions base = opName1 | opSector;
    const Step steps[] = {
        {base | opOverflow | opLimit, 50, false},
        {base | opOverflow | opLimit, 95, true},   // upper limit only
        {base | opOverflow, 95, false},            // limit alarm not wanted
        {base | opOverflow, 150, true},            // over
        {base | opLimit, 150, true},               // over is beyond the upper limit too
        {base, 150, false},
        {base | opOverflow, -10, true},            // under
        {base | opOverflow | opLimit, 50, false},
    };
    for (const Step &st : steps) {
        w.SetOptions(st.options);
        w.SetValue(st.value);
        EXPECT_EQ(w.Blinking(), st.blinks) << st.value << " options " << unsigned(st.options);
        EXPECT_EQ(hand.timer.IsRegistered(&w), st.blinks) << st.value;
        if (!st.blinks) {
            EXPECT_EQ(w.AlarmColor(), quiet);
        }
    }

    // While blinking, the mark follows the 2 Hz phase: 16 beats each, red and yellow.
    w.SetOptions(opOverflow);
    w.SetValue(150);
    std::vector<QColor> seen;
    for (int i = 0; i < 4; ++i) {
        hand.Beat(16);
        seen.push_back(w.AlarmColor());
    }
    const QColor red(0xFF, 0, 0), yellow(0xFF, 0xFF, 0);
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_TRUE(seen[i] == red || seen[i] == yellow);
        if (i > 0) {
            EXPECT_NE(seen[i], seen[i - 1]);
        }
    }
    EXPECT_EQ(w.AlarmPhase(), TFlashTimer::PhaseAt(hand.timer.TickCount(), ff2Hz));
}

TEST(AlarmBlinking, RoundMeterLeavesTheTimerWhenQuietOrDestroyed)
{
    HandTimer hand;
    {
        T270Meter m;
        configureRpmDial(m);
        m.SetFlashTimer(&hand.timer);
        m.SetValue(3.0f); // above the 0.5 limit
        EXPECT_TRUE(hand.timer.IsRegistered(&m));
        m.SetValue(0.3f);
        EXPECT_FALSE(hand.timer.IsRegistered(&m));
        m.SetValue(0.1f); // below 0.2
        EXPECT_TRUE(hand.timer.IsRegistered(&m));
    }
    EXPECT_EQ(hand.timer.ClientCount(), 0);
}

TEST(AlarmBlinking, VerticalBarBlinksTheMarkOnTheSideOfTheOverflow)
{
    HandTimer hand;
    TVBar bar;
    bar.SetFlashTimer(&hand.timer);
    const QColor face = bar.palette().color(QPalette::Button);
    auto blinkColour = [](const QColor &c) { return c == QColor(0xFF, 0, 0) || c == QColor(0xFF, 0xFF, 0); };

    EXPECT_EQ(bar.TopMarkColor(), face);
    EXPECT_EQ(bar.BottomMarkColor(), face);

    bar.SetValue(95); // beyond the upper limit but inside the scale: no blinking for a bar
    EXPECT_FALSE(bar.Blinking());

    bar.SetValue(120);
    EXPECT_TRUE(bar.Blinking());
    EXPECT_TRUE(blinkColour(bar.TopMarkColor()));
    EXPECT_EQ(bar.BottomMarkColor(), face);
    const QColor before = bar.TopMarkColor();
    hand.Beat(16);
    EXPECT_NE(bar.TopMarkColor(), before);

    bar.SetValue(-1);
    EXPECT_TRUE(blinkColour(bar.BottomMarkColor()));
    EXPECT_EQ(bar.TopMarkColor(), face);

    bar.SetOptions(bar.Options() & ~TGOptions(opOverflow));
    EXPECT_FALSE(bar.Blinking());
    EXPECT_FALSE(hand.timer.IsRegistered(&bar));
    EXPECT_EQ(bar.BottomMarkColor(), face);
}

TEST(AlarmBlinking, NumericDisplayBarAndThermometerNeverBlink)
{
    HandTimer hand;
    std::vector<std::unique_ptr<TAnalogGControl>> quiet;
    quiet.push_back(std::make_unique<TValueInd>());
    quiet.push_back(std::make_unique<TBar>());
    quiet.push_back(std::make_unique<TThermometer>());
    for (auto &w : quiet) {
        w->SetFlashTimer(&hand.timer);
        w->SetOptions(TGOptions(0xFFFFu));
        EXPECT_FALSE(w->Options() & (opOverflow | opLimit)) << w->metaObject()->className();
        for (float v : {150.0f, 95.0f, -20.0f, 5.0f}) {
            w->SetValue(v);
            EXPECT_FALSE(w->Blinking()) << w->metaObject()->className() << " " << v;
        }
    }
    EXPECT_EQ(hand.timer.ClientCount(), 0);
}

TEST(DisplayWidget, KindsKeepOnlyTheirOptions)
{
    struct Case { std::unique_ptr<TAnalogGControl> w; TGOptions options; };
    std::vector<Case> cases;
    cases.push_back({std::make_unique<TValueInd>(), opBevelInner | opBevelOuter | opName1 | opName2 | opUnit});
    cases.push_back({std::make_unique<TVBar>(), opBevelInner | opBevelOuter | opValue | opName1 | opName2 | opOverflow | opUnit});
    cases.push_back({std::make_unique<THMeter>(), opBevelInner | opBevelOuter | opUnit | opName1 | opName2 | opOverflow | opLimit | opSector});
    cases.push_back({std::make_unique<T270Meter>(), opBevelInner | opBevelOuter | opName1 | opName2 | opOverflow | opLimit | opSector | opUnit});
    cases.push_back({std::make_unique<TThermometer>(), opBevelInner | opBevelOuter | opValue | opName1 | opName2 | opUnit});
    for (auto &c : cases) {
        EXPECT_EQ(c.w->SupportedOptions(), c.options) << c.w->metaObject()->className();
        c.w->SetOptions(TGOptions(0xFFFFu));
        EXPECT_EQ(c.w->Options(), c.options) << c.w->metaObject()->className();
    }
}

TEST(RoundMeter, PointerShapeAndSectorOffsetRepaintAndReport)
{
    T270Meter m;
    configureRpmDial(m);
    int settings = 0;
    QObject::connect(&m, &TAnalogGControl::OnSettingsChange, [&] { ++settings; });
    m.ArrowSettings().SetShape(2);
    m.SectorSettings().SetOffset(300);
    EXPECT_EQ(m.ArrowSettings().Shape(), 2);
    EXPECT_EQ(m.SectorSettings().Offset(), 300);
    EXPECT_EQ(settings, 2);
    EXPECT_EQ(m.Sweep(), 270.0);
}

TEST(Drawing, SectorBandDisappearsWithALargeOffset)
{
    // Sector colours painted on the dial with offset 0 are gone with offset 300.
    T270Meter m;
    configureRpmDial(m);
    m.SetValue(0);
    m.resize(200, 200);
    auto countPure = [&](const QColor &c) {
        const QImage img = m.grab().toImage();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += QColor(img.pixel(x, y)) == c;
        return n;
    };
    const QColor yellow(0xFF, 0xFF, 0x00);
    EXPECT_GT(countPure(yellow), 20);
    m.SectorSettings().SetOffset(300);
    EXPECT_EQ(countPure(yellow), 0);
}

TEST(Accessibility, DisplayWidgetsReportNameAndValue)
{
    THMeter w;
    w.setObjectName("Slala_P_MAP");
    w.SignalSettings().SetValueTo(240);
    w.SignalSettings().SetValueFrom(0);
    w.SignalSettings().SetValueUnit("kPa");
    w.SetValue(101.25f);
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&w);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(QAccessible::Name), "Slala_P_MAP");
    EXPECT_EQ(a->text(QAccessible::Value), "101.2 kPa");
    auto *v = a->valueInterface();
    ASSERT_NE(v, nullptr);
    EXPECT_FLOAT_EQ(v->currentValue().toFloat(), 101.25f);
    EXPECT_FLOAT_EQ(v->maximumValue().toFloat(), 240.0f);
    v->setCurrentValue(3.0);
    EXPECT_EQ(w.Value(), 101.25f);
}
