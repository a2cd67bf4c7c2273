// Whole calibrations on the simulated car: the real procedure, the simulator
// and an invented clock on which the poll tick (240 ms) and the step timer
// run at their true intervals, so four and a half minutes of engine time go
// by in well under a second. What the window would do between them (queue,
// sample, keep the settings answer) is done here in a few lines.
#include "SimDrive.h"
#include "calibration/CalibrationProcedure.h"
#include "calibration/MapShape.h"
#include "sim/Simulator.h"

#include "link/CommandBodies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <string>

namespace {

constexpr qint64 Ms = 1000;
constexpr qint64 S = 1000000;
constexpr int SettingsAnswerSize = 602;
constexpr int LiveAnswerSize = 57;

// A step timer on the invented clock; like a QTimer it restarts its wait
// when started or given a new interval, and repeats until stopped.
class ClockTimer : public LinkTimer
{
public:
    explicit ClockTimer(const qint64 &now) : m_now(now) {}
    void start() override
    {
        active = true;
        due = m_now + qint64(intervalMs) * Ms;
    }
    void stop() override { active = false; }
    void setInterval(int ms) override
    {
        intervalMs = ms;
        if (active)
            due = m_now + qint64(ms) * Ms;
    }
    int interval() const override { return intervalMs; }
    bool isActive() const override { return active; }

    bool active = false;
    int intervalMs = CalibrationProcedure::FirstInterval;
    qint64 due = 0;

private:
    const qint64 &m_now;
};

// The window around the procedure, reduced to what a run touches: the last
// live frame and settings answer, a command queue, the texts.
class CarRun : public CalibrationView
{
public:
    explicit CarRun(double trueRatio) : sim(options()), timer(t), proc(*this, timer, step)
    {
        sim.engine().setTrueRatio(trueRatio);
        exchange(CommandBodies::startup());
        pollFor(30 * S); // on gas after the switch-over time, the ECU's trim settled
    }

    // --- CalibrationView
    bool faultIndicatorVisible() const override { return false; }
    double engineSpeed() const override { return uint8_t(frame[21]) * 100.0; }
    double reducerTemperature() const override { return int8_t(frame[32]); }
    uint8_t storedGasMask() const override { return uint8_t(settings[20]); }
    // No LED is clicked in this run: the lit ones are the block's.
    uint8_t litGasMask() const override { return storedGasMask(); }
    int correctionMapPoint(int k) const override { return uint8_t(settings[65 + k]); }
    QString messageText(int row) const override { return QStringLiteral("row %1").arg(row); }
    QString programText(const QString &key) const override { return key; }
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &text) override
    {
        messages << text;
        return true;
    }
    QString infoText() const override { return info; }
    void setInfoText(const QString &text) override { info = text; }
    void startProgress() override {}
    void setProgressPosition(int) override {}
    void stopProgress() override {}
    void setRunLock(bool) override {}
    void queueCommands(int, const CommandBodies::Group &g) override
    {
        for (const QByteArray &b : {g.first, g.second, g.third})
            if (!b.isEmpty())
                queue.push_back(b);
    }
    void requestPetrolAsStart(int s) override
    {
        const uint8_t leds = storedGasMask();
        queueCommands(5, s == 0 ? CommandBodies::calibrationStart(leds)
                                : CommandBodies::Group{CommandBodies::requestPetrol(leds), {}, {}});
    }
    void showWindowReady() override {}
    void setSlowPolling(bool slow) override { pollMs = slow ? 1264 : 240; }

    // --- the run
    // One command (the queued one, else a poll) and what its answer feeds.
    void exchange(const QByteArray &body)
    {
        const QByteArray answer = SimTest::ask(sim, body, t);
        if (answer.size() == SettingsAnswerSize) {
            settings = answer;
        } else if (answer.size() == LiveAnswerSize) {
            frame = answer;
            proc.StoreCalibrationSample(uint8_t(answer[CalibrationSamples::PositionOffset]), answer);
        }
    }
    void tickUntil(const std::function<bool()> &done, qint64 limit)
    {
        qint64 nextPoll = t + qint64(pollMs) * Ms;
        for (const qint64 end = t + limit; !done() && t < end;) {
            if (timer.active && timer.due <= nextPoll) {
                t = std::max(t, timer.due);
                sim.tick(t);
                timer.due = t + qint64(timer.intervalMs) * Ms;
                proc.Adaptacja_TimerTimer();
                continue;
            }
            t = std::max(t, nextPoll);
            sim.tick(t);
            QByteArray body = CommandBodies::poll();
            if (!queue.empty()) {
                body = queue.front();
                queue.pop_front();
            }
            exchange(body);
            nextPoll = t + qint64(pollMs) * Ms;
        }
    }
    void pollFor(qint64 us)
    {
        tickUntil([] { return false; }, us);
    }
    // START, then ticks until the procedure is idle again (at most 6 minutes).
    void calibrate()
    {
        proc.Button_startClick();
        ASSERT_EQ(step, 0) << messages.join(QStringLiteral(" | ")).toStdString();
        const qint64 started = t;
        tickUntil([this] { return step == CalibrationProcedure::Idle && queue.empty(); }, 360 * S);
        ASSERT_EQ(step, CalibrationProcedure::Idle);
        duration = t - started;
        pollFor(2 * S);
    }
    std::array<int, MapShape::Points> mapInController()
    {
        std::array<int, MapShape::Points> m{};
        for (int k = 0; k < MapShape::Points; ++k)
            m[size_t(k)] = sim.block().at(SettingsBlock::CorrectionMap + k);
        return m;
    }
    int anchor() const { return proc.samples().average(CalibrationSamples::InjectionTime); }

    static SimOptions options()
    {
        SimOptions o;
        o.warm = true;
        return o;
    }

    qint64 t = 1 * S;
    Simulator sim;
    ClockTimer timer;
    int step = CalibrationProcedure::Idle;
    CalibrationProcedure proc;
    QByteArray settings = QByteArray(SettingsAnswerSize, '\0');
    QByteArray frame = QByteArray(LiveAnswerSize, '\0');
    std::deque<QByteArray> queue;
    int pollMs = 240;
    QString info;
    QStringList messages;
    qint64 duration = 0;
};

struct RatioCase
{
    std::string name;
    double trueRatio;
};

void PrintTo(const RatioCase &c, std::ostream *os) { *os << c.name; }

class CalibrationOnCar : public ::testing::TestWithParam<RatioCase>
{
};

// The car needs its ratio; a flat map of 1.00 is wrong by that much. One
// run moves the map to the ratio (plus the first run's allowance of 0.02),
// the ECU trim on gas nearly vanishes, and a second run finds the same map.
TEST_P(CalibrationOnCar, RunsFindTheCarsRatioAndASecondRunAgrees)
{
    CarRun car(GetParam().trueRatio);
    ASSERT_TRUE(car.sim.engine().onGas());
    const double trimBefore = car.sim.engine().ecuTrim();
    const int ratio = int(std::lround(car.sim.engine().trueRatioAt(EngineModel::petrolMsAt(35)) * 100));
    EXPECT_NEAR(trimBefore, std::min(ratio / 100.0, 1 + EngineModel::TrimLimit), 0.01)
        << "the flat map's error shows as the ECU's trim, as far as it reaches";

    car.calibrate();
    EXPECT_TRUE(car.messages.isEmpty()) << car.messages.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(car.info, QStringLiteral("row 19"));
    EXPECT_NEAR(car.duration, 272 * S, 2 * S) << "the nominal run time with no questions";
    const std::array<int, MapShape::Points> first = car.mapInController();
    EXPECT_EQ(first, car.proc.computedMap()) << "the map written is the one computed";
    EXPECT_NEAR(car.anchor(), 30, 1) << "cylinder 1 injects about 3 ms at idle, untrimmed by now";
    EXPECT_NEAR(first[size_t(car.anchor() - 1)], ratio + 2, 1);
    // The car's need falls a little with longer injection times, as the map's
    // fixed shape does: the new map fits it over the whole range.
    for (int k = 1; k <= MapShape::Points; ++k) {
        const double need = car.sim.engine().trueRatioAt((k - 1) / 10.0 + 1) * 100;
        const int point = first[size_t(k - 1)];
        EXPECT_LE(std::abs(point - need), 8) << "point " << k;
        if (std::abs(need - 100) > 8) {
            EXPECT_LT(std::abs(point - need), std::abs(100 - need)) << "point " << k << " moved the car's way";
        }
    }
    ASSERT_TRUE(car.sim.engine().onGas());
    EXPECT_FALSE(car.sim.engine().calibrating()) << "the map write ended calibration mode";
    car.pollFor(20 * S);
    const double trimAfter = car.sim.engine().ecuTrim();
    EXPECT_LT(std::abs(trimAfter - 1), 0.03) << "on the new map the ECU hardly corrects";
    EXPECT_LT(std::abs(trimAfter - 1), std::abs(trimBefore - 1) / 4);

    car.calibrate();
    const std::array<int, MapShape::Points> second = car.mapInController();
    for (int k = 1; k <= MapShape::Points; ++k) {
        EXPECT_LE(std::abs(second[size_t(k - 1)] - first[size_t(k - 1)]), 3) << "point " << k;
        EXPECT_EQ(second[size_t(k - 1)] - first[size_t(k - 1)], second[0] - first[0])
            << "the shape stays, only the level moves";
    }
    EXPECT_NEAR(second[size_t(car.anchor() - 1)], ratio, 1) << "no allowance on a calibrated map";
    car.pollFor(20 * S);
    EXPECT_LT(std::abs(car.sim.engine().ecuTrim() - 1), 0.03);
}

INSTANTIATE_TEST_SUITE_P(Car, CalibrationOnCar,
                         ::testing::Values(RatioCase{"NeedsMoreGas", 1.18}, RatioCase{"NeedsLessGas", 0.90},
                                           RatioCase{"BeyondTheEcuTrim", 1.35}),
                         [](const auto &info) { return info.param.name; });

} // namespace
