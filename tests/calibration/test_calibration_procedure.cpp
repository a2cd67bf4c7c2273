// The calibration run against an in-memory window and a hand-driven timer:
// each tick is one call, so a whole four-and-a-half-minute run takes no time.
#include "calibration/CalibrationProcedure.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <map>
#include <ostream>
#include <vector>

// Readable failures: texts as text, bodies as hex.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray &b, std::ostream *os) { *os << b.toHex(' ').toStdString(); }
namespace CommandBodies {
inline void PrintTo(const Group &g, std::ostream *os)
{
    *os << "{" << g.first.toHex(' ').toStdString() << " | " << g.second.toHex(' ').toStdString() << " | "
        << g.third.toHex(' ').toStdString() << "}";
}
} // namespace CommandBodies

using CommandBodies::Group;
using Table = CalibrationSamples::Table;
using StopSender = CalibrationProcedure::StopSender;

namespace {

class FakeTimer : public LinkTimer
{
public:
    void start() override { active = true; ++starts; }
    void stop() override { active = false; }
    void setInterval(int ms) override { intervalMs = ms; }
    int interval() const override { return intervalMs; }
    bool isActive() const override { return active; }

    int intervalMs = 1000;
    bool active = false;
    int starts = 0;
};

QString row(int r) { return QStringLiteral("row%1").arg(r); }

class FakeView : public CalibrationView
{
public:
    bool faultIndicatorVisible() const override { return errorLed; }
    double engineSpeed() const override { return rpm; }
    double reducerTemperature() const override { return temperature; }
    uint8_t storedGasMask() const override { return storedMask; }
    uint8_t litGasMask() const override { return cylinderLeds; }
    int correctionMapPoint(int k) const override
    {
        const auto it = mapPoints.find(k);
        return it == mapPoints.end() ? 90 : it->second;
    }
    QString messageText(int r) const override { return row(r); }
    QString programText(const QString &key) const override { return QStringLiteral("text:") + key; }
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &text) override
    {
        questions << text;
        if (whileAsking)
            whileAsking();
        return answerYes;
    }
    QString infoText() const override { return info; }
    void setInfoText(const QString &text) override { info = text; }
    void startProgress() override { progressEnabled = true; progress = 0; }
    void setProgressPosition(int p) override { progress = p; }
    void stopProgress() override { progressEnabled = false; progress = 0; }
    void setRunLock(bool l) override { locked = l; }
    void queueCommands(int retries, const Group &g) override
    {
        EXPECT_EQ(retries, 5);
        queued.push_back(g);
    }
    void requestPetrolAsStart(int step) override
    {
        // What the fuel switch builds for the START button's request.
        queued.push_back(step == 0 ? CommandBodies::calibrationStart(cylinderLeds)
                                   : Group{CommandBodies::requestPetrol(cylinderLeds), {}, {}});
    }
    void showWindowReady() override { ++windowReady; }
    void setSlowPolling(bool slow) override { slowPolling = slow; slowPollingChanges.push_back(slow); }

    bool errorLed = false;
    double rpm = 850;
    double temperature = 75;
    uint8_t storedMask = 0x0F;
    uint8_t cylinderLeds = 0x0F;
    std::map<int, int> mapPoints;
    bool answerYes = true;
    std::function<void()> whileAsking;

    QStringList messages;
    QStringList questions;
    QString info;
    bool progressEnabled = false;
    int progress = -1;
    bool locked = false;
    std::vector<Group> queued;
    int windowReady = 0;
    bool slowPolling = false;
    std::vector<bool> slowPollingChanges;
};

// A live frame with the five sampled bytes set.
struct Sample
{
    uint8_t p1 = 100, map = 35, injection = 28, multiplier = 118, temperature = 40;
};

QByteArray frame(const Sample &s, int position)
{
    QByteArray f(56, '\0');
    f[0] = char(0xAA);
    f[24] = char(s.p1);
    f[26] = char(s.map);
    f[6] = char(s.injection);
    f[28] = char(s.multiplier);
    f[33] = char(s.temperature);
    f[36] = char(position);
    return f;
}

Group one(const QByteArray &b) { return Group{b, {}, {}}; }

class Calibration : public ::testing::Test
{
protected:
    void start()
    {
        proc.Button_startClick();
        ASSERT_EQ(step, 0);
    }
    // Runs ticks until the step about to run is `target`.
    void runTo(int target)
    {
        for (int guard = 0; step != target && guard < 20; ++guard) {
            if (feedSamples)
                feed(sample);
            proc.Adaptacja_TimerTimer();
        }
        ASSERT_EQ(step, target);
    }
    void feed(const Sample &s, int position = 0) { proc.StoreCalibrationSample(position, frame(s, position)); }

    FakeView view;
    FakeTimer timer;
    int step = -1;
    CalibrationProcedure proc{view, timer, step};
    Sample sample;
    bool feedSamples = true;
};

// --- start ------------------------------------------------------------------

struct StartCase
{
    const char *name;
    bool errorLed;
    double rpm;
    double temperature;
    int messageRow; // -1: no message
    bool starts;
};

// Listings and failures name the case, not its bytes.
void PrintTo(const StartCase &c, std::ostream *os)
{
    *os << c.name;
}

class StartConditions : public ::testing::TestWithParam<StartCase>
{
};

TEST_P(StartConditions, RefusesOrStarts)
{
    const StartCase c = GetParam();
    FakeView view;
    FakeTimer timer;
    int step = -1;
    CalibrationProcedure proc(view, timer, step);
    view.errorLed = c.errorLed;
    // The gauges hold single-precision values.
    view.rpm = float(c.rpm);
    view.temperature = float(c.temperature);
    view.info = QStringLiteral(" ");

    proc.Button_startClick();

    if (c.messageRow >= 0)
        EXPECT_EQ(view.messages, QStringList{row(c.messageRow)});
    else
        EXPECT_TRUE(view.messages.isEmpty());
    EXPECT_EQ(step, c.starts ? 0 : -1);
    EXPECT_EQ(timer.active, c.starts);
    EXPECT_EQ(view.locked, c.starts);
    EXPECT_EQ(view.progressEnabled, c.starts);
    EXPECT_EQ(view.info, c.starts ? row(17) : QStringLiteral(" "));
    EXPECT_TRUE(view.queued.empty());
}

INSTANTIATE_TEST_SUITE_P(Calibration, StartConditions,
                         ::testing::Values(StartCase{"EngineAt0_9Refused", false, 0.9, 80, 13, false},
                                           StartCase{"EngineAt1_0Passes", false, 1.0, 80, -1, true},
                                           StartCase{"At59_9DegreesRefused", false, 900, 59.9, 16, false},
                                           StartCase{"At60_0DegreesPasses", false, 900, 60.0, -1, true},
                                           StartCase{"FaultIndicatorDoesNothing", true, 0.0, 20, -1, false},
                                           StartCase{"FaultIndicatorWithWarmEngine", true, 900, 80, -1, false}),
                         [](const auto &info) { return std::string(info.param.name); });

// The cylinders to bring back to gas are the ones lit at START: an LED clicked since the last block
// changed the controller's set (on gas) or the next request's (on petrol), not the block's byte 20.
TEST_F(Calibration, StartTakesTheLitCylindersAndClearsTheSamples)
{
    view.storedMask = 0x0F;
    view.cylinderLeds = 0x3F;
    start();
    EXPECT_EQ(proc.calibrationMask(), 0x3F);
    feed(Sample{1, 2, 3, 4, 5}, 7);
    proc.Button_stopClick(StopSender::Button);
    view.cylinderLeds = 0xA5;
    proc.Button_startClick();
    EXPECT_EQ(proc.calibrationMask(), 0xA5);
    for (int t = 0; t < CalibrationSamples::Tables; ++t)
        EXPECT_EQ(proc.samples().sample(Table(t), 7), 0) << "table " << t;
}

// --- samples and statistics ----------------------------------------------------

TEST(CalibrationSamplesTest, StoresTheFiveBytesAtTheFramePosition)
{
    CalibrationSamples s;
    ASSERT_TRUE(s.store(200, frame(Sample{11, 22, 33, 44, 55}, 200)));
    EXPECT_EQ(s.sample(Table::GasPressure, 200), 11);
    EXPECT_EQ(s.sample(Table::Manifold, 200), 22);
    EXPECT_EQ(s.sample(Table::InjectionTime, 200), 33);
    EXPECT_EQ(s.sample(Table::Multiplier, 200), 44);
    EXPECT_EQ(s.sample(Table::GasTemperature, 200), 55);
    // The newest frame at a position replaces the older one.
    s.store(200, frame(Sample{12, 22, 33, 44, 55}, 200));
    EXPECT_EQ(s.sample(Table::GasPressure, 200), 12);
    // Too short to carry the bytes, or no position: nothing stored.
    EXPECT_FALSE(s.store(3, QByteArray(20, '\x07')));
    EXPECT_FALSE(s.store(256, frame(Sample{}, 0)));
    EXPECT_EQ(s.sample(Table::GasPressure, 3), 0);
}

struct AverageCase
{
    const char *name;
    std::vector<uint8_t> samples;
    int average;
};

// Listings and failures name the case, not its bytes.
void PrintTo(const AverageCase &c, std::ostream *os)
{
    *os << c.name;
}

class StatisticsAverage : public ::testing::TestWithParam<AverageCase>
{
};

TEST_P(StatisticsAverage, NonZeroSamplesTiesToEven)
{
    CalibrationSamples s;
    // Spread over the table with zeros between: zeros never count.
    int position = 3;
    for (uint8_t v : GetParam().samples) {
        s.setSample(Table::InjectionTime, position, v);
        position += 5;
    }
    s.updateStatistics();
    EXPECT_EQ(s.average(Table::InjectionTime), GetParam().average);
}

INSTANTIATE_TEST_SUITE_P(Calibration, StatisticsAverage,
                         ::testing::Values(AverageCase{"OneAndTwoGiveTwo", {1, 2}, 2},
                                           AverageCase{"TwoAndThreeGiveTwo", {2, 3}, 2},
                                           AverageCase{"TwoThreeFourGiveThree", {2, 3, 4}, 3},
                                           AverageCase{"ThreeAndFourGiveFour", {3, 4}, 4},
                                           AverageCase{"AllPositionsAt255", std::vector<uint8_t>(51, 255), 255}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CalibrationSamplesTest, MinimumAndMaximumKeepTheirOldValuesWhenNothingQualifies)
{
    CalibrationSamples s;
    s.setSample(Table::Manifold, 0, 40);
    s.setSample(Table::Manifold, 9, 30);
    s.setSample(Table::Manifold, 10, 0);
    s.updateStatistics();
    EXPECT_EQ(s.minimum(Table::Manifold), 30); // the zero never counts
    EXPECT_EQ(s.maximum(Table::Manifold), 40);

    // Every non-zero sample at 255: no minimum below 255, the old one stays.
    s.setSample(Table::Manifold, 0, 255);
    s.setSample(Table::Manifold, 9, 255);
    s.updateStatistics();
    EXPECT_EQ(s.minimum(Table::Manifold), 30);
    EXPECT_EQ(s.maximum(Table::Manifold), 255);
    EXPECT_EQ(s.average(Table::Manifold), 255);

    // All zero: average, minimum and maximum all keep their values.
    s.setSample(Table::Manifold, 0, 0);
    s.setSample(Table::Manifold, 9, 0);
    s.updateStatistics();
    EXPECT_EQ(s.average(Table::Manifold), 255);
    EXPECT_EQ(s.minimum(Table::Manifold), 30);
    EXPECT_EQ(s.maximum(Table::Manifold), 255);

    // A table that never had a sample stays at 0 throughout.
    EXPECT_EQ(s.average(Table::GasTemperature), 0);
    EXPECT_EQ(s.minimum(Table::GasTemperature), 0);
    EXPECT_EQ(s.maximum(Table::GasTemperature), 0);
}

// --- the MAP and P1 checks -----------------------------------------------------------

struct CheckCase
{
    const char *name;
    int checkStep;
    Table table;
    uint8_t average;
    bool asks;
};

class AverageCheck : public Calibration, public ::testing::WithParamInterface<CheckCase>
{
};

TEST_P(AverageCheck, InRangePassesSilentlyOutOfRangeAsks)
{
    const CheckCase c = GetParam();
    if (c.table == Table::Manifold)
        sample.map = c.average;
    else
        sample.p1 = c.average;
    start();
    runTo(c.checkStep);
    const size_t queuedBefore = view.queued.size();
    view.answerYes = true;
    bool timerHeldWhileAsking = false;
    view.whileAsking = [&] { timerHeldWhileAsking = !timer.active; };

    proc.Adaptacja_TimerTimer();

    EXPECT_EQ(view.questions.size(), c.asks ? 1 : 0);
    if (c.asks) {
        EXPECT_EQ(view.questions.front(), row(c.table == Table::Manifold ? 14 : 15));
        EXPECT_TRUE(timerHeldWhileAsking);
    }
    // Passing, or Yes: the step's work goes on and the timer runs again.
    EXPECT_EQ(step, c.checkStep + 1);
    EXPECT_TRUE(timer.active);
    EXPECT_EQ(view.queued.size(), queuedBefore + 1);
}

INSTANTIATE_TEST_SUITE_P(Calibration, AverageCheck,
                         ::testing::Values(CheckCase{"Map20Passes", 1, Table::Manifold, 20, false},
                                           CheckCase{"Map60Passes", 1, Table::Manifold, 60, false},
                                           CheckCase{"Map19Asks", 1, Table::Manifold, 19, true},
                                           CheckCase{"Map61Asks", 1, Table::Manifold, 61, true},
                                           CheckCase{"P1_50Passes", 5, Table::GasPressure, 50, false},
                                           CheckCase{"P1_160Passes", 5, Table::GasPressure, 160, false},
                                           CheckCase{"P1_49Asks", 5, Table::GasPressure, 49, true},
                                           CheckCase{"P1_161Asks", 5, Table::GasPressure, 161, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Calibration, NoAtTheMapCheckStopsWithTheStopCommand)
{
    sample.map = 12;
    start();
    runTo(1);
    view.queued.clear();
    view.answerYes = false;
    proc.Adaptacja_TimerTimer();
    ASSERT_EQ(view.queued.size(), 1u);
    EXPECT_EQ(view.queued[0], one(CommandBodies::calibrationStop()));
    EXPECT_EQ(step, -1);
    EXPECT_FALSE(timer.active);
    EXPECT_FALSE(view.locked);
    EXPECT_EQ(view.info, row(20));
    // Stopped after No: the next start waits the 8 s step 0 had set.
    EXPECT_EQ(timer.intervalMs, 8000);
}

TEST_F(Calibration, NoSampleAtAllMakesBothChecksAsk)
{
    feedSamples = false;
    start();
    proc.Adaptacja_TimerTimer(); // step 0
    proc.Adaptacja_TimerTimer(); // step 1: T1 never sampled, average 0
    EXPECT_EQ(view.questions, QStringList{row(14)});
    runTo(5);
    proc.Adaptacja_TimerTimer();
    EXPECT_EQ(view.questions, (QStringList{row(14), row(15)}));
}

// --- reports, result and map ---------------------------------------------------------

TEST_F(Calibration, FirstReportCarriesAverageAndSpreadOfTheInjectionTime)
{
    start();
    runTo(3);
    // Averages 35 with minimum 30.
    proc.StoreCalibrationSample(1, frame(Sample{100, 35, 30, 118, 40}, 1));
    proc.StoreCalibrationSample(2, frame(Sample{100, 35, 40, 118, 40}, 2));
    proc.StoreCalibrationSample(0, frame(Sample{100, 35, 35, 118, 40}, 0));
    view.queued.clear();
    proc.Adaptacja_TimerTimer();
    ASSERT_EQ(view.queued.size(), 1u);
    EXPECT_EQ(view.queued[0].first, QByteArray::fromHex("19230680"));
    EXPECT_EQ(view.queued[0].second, QByteArray::fromHex("030301"));
    EXPECT_TRUE(view.queued[0].third.isEmpty());
}

struct ResultCase
{
    const char *name;
    bool untouchedMap; // points 2, 30, 100, 200 all at 100
    uint8_t injection; // T2 average
    uint8_t multiplier; // T3 average as measured
    QString caption;    // the multiplier as shown (Polish separator)
    uint8_t blockPoint; // in the 0x20 block: the T2 average as measured
    std::map<int, int> points; // some points of the map sent
};

class ResultAndMap : public Calibration, public ::testing::WithParamInterface<ResultCase>
{
};

TEST_P(ResultAndMap, CaptionBodiesAndMap)
{
    const ResultCase c = GetParam();
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    if (c.untouchedMap)
        view.mapPoints = {{2, 100}, {30, 100}, {100, 100}, {200, 100}};
    sample.injection = c.injection;
    sample.multiplier = c.multiplier;
    sample.p1 = 120;
    sample.temperature = 41;
    start();
    runTo(12);
    view.queued.clear();
    proc.Adaptacja_TimerTimer();
    QLocale::setDefault(QLocale::c());

    EXPECT_EQ(view.info, row(17) + QStringLiteral("\r\n") + row(18) + c.caption);
    ASSERT_EQ(view.queued.size(), 1u);
    const Group &g = view.queued[0];
    EXPECT_EQ(g.first, CommandBodies::calibrationBlock(c.blockPoint));
    // The reference carries the averages as measured, before any allowance.
    EXPECT_EQ(g.second, CommandBodies::calibrationReference(120, c.injection, c.multiplier, 41));
    ASSERT_EQ(g.third.size(), 247);
    EXPECT_EQ(uint8_t(g.third[0]), 0x0B);
    for (const auto &[k, value] : c.points) {
        EXPECT_EQ(uint8_t(g.third[k]), value) << "point " << k;
        EXPECT_EQ(proc.computedMap()[size_t(k - 1)], value) << "point " << k;
    }
    EXPECT_EQ(timer.intervalMs, 15000);
    EXPECT_EQ(step, 13);
}

INSTANTIATE_TEST_SUITE_P(
    Calibration, ResultAndMap,
    ::testing::Values(
        ResultCase{"UntouchedMapRaises118To120", true, 28, 118, QStringLiteral("1,2"), 28,
                   {{1, 120}, {25, 120}, {26, 121}, {27, 121}, {28, 120}, {29, 121}, {38, 123}, {246, 94}}},
        ResultCase{"Injection40Multiplier110", false, 40, 110, QStringLiteral("1,1"), 40,
                   {{1, 109}, {39, 110}, {40, 110}, {49, 109}, {246, 83}}},
        ResultCase{"MultiplierWithTwoDecimals", false, 28, 123, QStringLiteral("1,23"), 28, {{28, 123}}},
        // An injection time outside the shape's range anchors the map at its
        // end; the 0x20 block still reports the time as measured.
        ResultCase{"ShortInjectionHeldAt10", false, 4, 100, QStringLiteral("1"), 4, {{10, 100}, {1, 100}}},
        ResultCase{"LongInjectionHeldAt246", false, 250, 100, QStringLiteral("1"), 250, {{246, 100}, {1, 126}}},
        // Points that would leave one byte are held at its ends.
        ResultCase{"LowMapHeldAtZero", false, 28, 10, QStringLiteral("0,1"), 28, {{1, 10}, {243, 0}, {246, 0}}},
        ResultCase{"HighMapHeldAt255", false, 246, 250, QStringLiteral("2,5"), 246, {{1, 255}, {246, 250}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CalibrationText, MultiplierCaption)
{
    const QLocale pl(QLocale::Polish, QLocale::Poland);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(CalibrationProcedure::multiplierText(120, pl), QStringLiteral("1,2"));
    EXPECT_EQ(CalibrationProcedure::multiplierText(118, en), QStringLiteral("1.18"));
    EXPECT_EQ(CalibrationProcedure::multiplierText(100, pl), QStringLiteral("1"));
    EXPECT_EQ(CalibrationProcedure::multiplierText(5, pl), QStringLiteral("0,05"));
    EXPECT_EQ(CalibrationProcedure::multiplierText(0, pl), QStringLiteral("0"));
    EXPECT_EQ(CalibrationProcedure::multiplierText(255, en), QStringLiteral("2.55"));
}

TEST(CalibrationShape, OffsetsAtTheEndsOfTheirRuns)
{
    const std::pair<int, int> points[] = {{1, 0},    {25, 0},    {26, 1},    {28, 0},    {29, 1},   {36, 2},
                                          {37, 3},   {38, 3},    {39, 1},    {48, 1},    {50, 0},   {51, -1},
                                          {61, -2},  {62, -4},   {95, -11},  {96, -12},  {118, -14}, {119, -15},
                                          {242, -25}, {243, -26}, {246, -26}};
    for (const auto &[k, offset] : points)
        EXPECT_EQ(MapShape::offset(k), offset) << "point " << k;
}

// --- stopping ---------------------------------------------------------------------

struct StopCase
{
    const char *name;
    int atStep;
    bool captionCancelled;
};

class StopCaption : public Calibration, public ::testing::WithParamInterface<StopCase>
{
};

TEST_P(StopCaption, StopButtonAtAStep)
{
    start();
    runTo(GetParam().atStep);
    view.info = QStringLiteral("before");
    view.queued.clear();
    proc.Button_stopClick(StopSender::Button);
    EXPECT_EQ(view.queued, std::vector<Group>{one(CommandBodies::calibrationStop())});
    EXPECT_EQ(view.info, GetParam().captionCancelled ? row(20) : QStringLiteral("before"));
    EXPECT_EQ(step, -1);
    EXPECT_FALSE(timer.active);
    EXPECT_FALSE(view.locked);
    EXPECT_FALSE(view.progressEnabled);
    EXPECT_EQ(view.progress, 0);
    // Nothing more happens at the next tick.
    proc.Adaptacja_TimerTimer();
    EXPECT_EQ(view.queued.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Calibration, StopCaption,
                         ::testing::Values(StopCase{"Step0", 0, true}, StopCase{"Step9", 9, true},
                                           StopCase{"Step10", 10, false}, StopCase{"Step99", 99, false},
                                           StopCase{"Step13", 13, false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Calibration, StopWhileIdleSendsStopAndSaysCancelled)
{
    proc.Button_stopClick(StopSender::Button);
    EXPECT_EQ(view.queued, std::vector<Group>{one(CommandBodies::calibrationStop())});
    EXPECT_EQ(view.info, row(20));
    EXPECT_EQ(step, -1);
}

TEST_F(Calibration, RestartWaitsTheIntervalOfTheStoppedStep)
{
    start();
    runTo(2); // step 1 set 30 s
    proc.Button_stopClick(StopSender::Button);
    EXPECT_EQ(timer.intervalMs, 30000);
    proc.Button_startClick();
    EXPECT_EQ(step, 0);
    EXPECT_TRUE(timer.active);
    EXPECT_EQ(timer.intervalMs, 30000);
}

// --- the link going away ------------------------------------------------------------

TEST_F(Calibration, LinkLostMidRunStopsWithoutTheStopCommand)
{
    start();
    runTo(5);
    view.queued.clear();
    proc.linkLost();
    EXPECT_TRUE(view.queued.empty());
    EXPECT_EQ(step, -1);
    EXPECT_FALSE(timer.active);
    EXPECT_FALSE(view.locked);
    EXPECT_FALSE(view.progressEnabled);
    EXPECT_EQ(view.info, QStringLiteral("text:calibration.interrupted"));
    // A late tick or frame changes nothing.
    proc.Adaptacja_TimerTimer();
    feed(Sample{1, 1, 1, 1, 1}, 9);
    EXPECT_TRUE(view.queued.empty());
    EXPECT_EQ(proc.samples().sample(Table::GasPressure, 9), 0);
}

TEST_F(Calibration, LinkLostWhileTheQuestionIsOpenEndsTheStep)
{
    sample.map = 80;
    start();
    runTo(1);
    view.queued.clear();
    view.answerYes = true;
    view.whileAsking = [&] { proc.linkLost(); };
    proc.Adaptacja_TimerTimer();
    EXPECT_TRUE(view.queued.empty());
    EXPECT_EQ(step, -1);
    EXPECT_FALSE(timer.active);
    EXPECT_EQ(view.info, QStringLiteral("text:calibration.interrupted"));
}

TEST_F(Calibration, LinkLostAwaitingTheReadAllRestoresThePollTick)
{
    start();
    runTo(14);
    EXPECT_TRUE(view.slowPolling);
    proc.linkLost();
    EXPECT_FALSE(view.slowPolling);
    EXPECT_EQ(view.info, QStringLiteral("text:calibration.interrupted"));
}

TEST_F(Calibration, LinkLostWhileIdleChangesNothing)
{
    view.info = QStringLiteral(" ");
    proc.linkLost();
    EXPECT_EQ(view.info, QStringLiteral(" "));
    EXPECT_TRUE(view.slowPollingChanges.empty());
}

// --- a whole run -----------------------------------------------------------------

TEST_F(Calibration, FullRunStepByStep)
{
    view.storedMask = 0x0F;
    view.cylinderLeds = 0x07; // differs from the block: cylinder 4 was put out since it was read
    view.mapPoints = {{2, 100}, {30, 100}, {100, 100}, {200, 100}};
    // Two positions per tick with the injection time walking 30 / 40.
    auto feedTick = [&](int tick) {
        proc.StoreCalibrationSample(2 * tick, frame(Sample{100, 35, 30, 118, 40}, 2 * tick));
        proc.StoreCalibrationSample(2 * tick + 1, frame(Sample{100, 35, 40, 118, 40}, 2 * tick + 1));
    };

    struct Expected
    {
        int step;
        int progress;
        int interval;
        std::vector<Group> queued;
    };
    const QByteArray report = QByteArray::fromHex("19230676"); // 35, 35-30+1, T3 118
    const std::vector<Expected> plan = {
        {0, 7, 8000, {CommandBodies::calibrationStart(0x07)}},
        {1, 14, 30000, {one(QByteArray::fromHex("030207"))}},
        {2, 21, 20000, {one(QByteArray::fromHex("030207"))}},
        {3, 29, 20000, {Group{QByteArray::fromHex("19230680"), QByteArray::fromHex("030301"), {}}}},
        {4, 36, 20000, {one(QByteArray::fromHex("030305"))}},
        {5, 43, 20000, {one(QByteArray::fromHex("030307"))}},
        {6, 50, 20000, {one(QByteArray::fromHex("030207"))}},
        {7, 57, 20000, {one(QByteArray::fromHex("030207"))}},
        {8, 64, 20000, {one(report)}},
        {99, 64, 20000, {one(QByteArray::fromHex("030307"))}},
        {9, 71, 15000, {one(QByteArray::fromHex("030207"))}},
        {10, 79, 15000, {one(QByteArray::fromHex("030207"))}},
        {11, 86, 20000, {Group{report, QByteArray::fromHex("030307"), {}}}},
        {12, 93, 15000, {Group{CommandBodies::calibrationBlock(35), QByteArray::fromHex("02642376283C"),
                               CommandBodies::correctionMapWrite(MapShape::calibratedMap(35, 120))}}},
        {13, 100, 8000, {Group{CommandBodies::zeroMap(), QByteArray::fromHex("6600"), {}}}},
    };

    timer.intervalMs = 1000;
    start();
    int total = timer.intervalMs;
    for (size_t i = 0; i < plan.size(); ++i) {
        const Expected &e = plan[i];
        SCOPED_TRACE(::testing::Message() << "step " << e.step);
        ASSERT_EQ(step, e.step);
        feedTick(int(i));
        view.queued.clear();
        proc.Adaptacja_TimerTimer();
        EXPECT_EQ(view.progress, e.progress);
        EXPECT_EQ(timer.intervalMs, e.interval);
        EXPECT_TRUE(timer.active);
        EXPECT_EQ(view.queued, e.queued);
        EXPECT_TRUE(view.locked);
        total += timer.intervalMs;
    }
    // Start to the finishing tick, nominally.
    EXPECT_EQ(total, 272000);
    EXPECT_EQ(view.windowReady, 1);
    EXPECT_TRUE(view.slowPolling);
    EXPECT_EQ(view.info, row(17) + QStringLiteral("\r\n") + row(18) + CalibrationProcedure::multiplierText(120));

    view.queued.clear();
    proc.Adaptacja_TimerTimer(); // step 14: finish
    EXPECT_TRUE(view.queued.empty());
    EXPECT_EQ(step, -1);
    EXPECT_FALSE(timer.active);
    EXPECT_EQ(timer.intervalMs, 1000);
    EXPECT_FALSE(view.slowPolling);
    EXPECT_EQ(view.slowPollingChanges, (std::vector<bool>{true, false}));
    EXPECT_FALSE(view.locked);
    EXPECT_FALSE(view.progressEnabled);
    EXPECT_EQ(view.progress, 0);
    EXPECT_EQ(view.info, row(19));
    EXPECT_EQ(proc.computedMap()[34], 120); // the anchor point holds the multiplier
}

} // namespace
