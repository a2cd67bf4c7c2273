// The poll timer's precise release: ticks come when the period ends, not
// up to a millisecond later as a bare QTimer delivers them, once per period,
// and the QTimer underneath keeps looking like the plain periodic timer.
#include "link/SessionTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Other timers wake the event loop in the middle of every period, as the
// window's blinking lamps do; after such a wake-up Qt rounds the rest of the
// wait up to a whole millisecond.
struct BusyWindow
{
    BusyWindow()
    {
        other.setTimerType(Qt::PreciseTimer);
        other.start(7);
    }
    QTimer other;
};

struct Recorder
{
    QElapsedTimer clock;
    std::vector<qint64> releasesNs;
    std::function<void()> onRelease;
    Recorder() { clock.start(); }
    std::function<void()> handler()
    {
        return [this] {
            releasesNs.push_back(clock.nsecsElapsed());
            if (onRelease)
                onRelease();
        };
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

TEST(PollRelease, EachTickComesWhenItsPeriodEndsNeverBefore)
{
    BusyWindow busy;
    QTimer timer;
    timer.setInterval(40);
    Recorder rec;
    SessionTimer t(timer, rec.handler());

    // As the session does: the tick stops the timer, the answer starts it.
    std::vector<double> lateMs;
    qint64 startedNs = 0;
    rec.onRelease = [&] {
        lateMs.push_back((rec.releasesNs.back() - startedNs) / 1e6 - 40.0);
        t.stop();
        if (lateMs.size() < 12) {
            QTimer::singleShot(3, [&] {
                startedNs = rec.clock.nsecsElapsed();
                t.start();
            });
        }
    };
    startedNs = rec.clock.nsecsElapsed();
    t.start();
    runFor(12 * 45 + 300);

    ASSERT_EQ(lateMs.size(), 12u);
    for (double late : lateMs)
        EXPECT_GE(late, 0.0) << "a tick before its period ended";
    // A bare QTimer under the same wake-ups is about half a millisecond late
    // on the median.
    EXPECT_LT(median(lateMs), 0.3);
    EXPECT_LT(*std::max_element(lateMs.begin(), lateMs.end()), 30.0);
}

TEST(PollRelease, RunsOnAsAPeriodicTimerWithOneTickPerPeriod)
{
    BusyWindow busy;
    QTimer timer;
    timer.setInterval(40);
    Recorder rec;
    SessionTimer t(timer, rec.handler());
    t.start();
    runFor(5 * 40 + 20);
    t.stop();

    ASSERT_GE(rec.releasesNs.size(), 4u);
    ASSERT_LE(rec.releasesNs.size(), 5u);
    for (size_t i = 1; i < rec.releasesNs.size(); ++i)
        EXPECT_GE((rec.releasesNs[i] - rec.releasesNs[i - 1]) / 1e6, 39.9) << "two ticks in one period";
    // What the window shows of its timer is unchanged.
    EXPECT_EQ(timer.interval(), 40);
    EXPECT_EQ(t.interval(), 40);
}

TEST(PollRelease, StopCancelsAndANewIntervalRestartsThePeriod)
{
    QTimer timer;
    timer.setInterval(40);
    Recorder rec;
    SessionTimer t(timer, rec.handler());

    t.start();
    runFor(25);
    t.stop();
    runFor(60);
    EXPECT_TRUE(rec.releasesNs.empty());
    EXPECT_FALSE(timer.isActive());

    // A longer interval while running: the period starts again from here.
    t.start();
    runFor(20);
    const qint64 changedNs = rec.clock.nsecsElapsed();
    t.setInterval(90);
    EXPECT_EQ(timer.interval(), 90);
    runFor(120);
    t.stop();
    ASSERT_EQ(rec.releasesNs.size(), 1u);
    EXPECT_GE((rec.releasesNs[0] - changedNs) / 1e6, 90.0);
}

TEST(PollRelease, AWindowBusyPastTheEndStillGetsOneTick)
{
    QTimer timer;
    timer.setInterval(30);
    Recorder rec;
    SessionTimer t(timer, rec.handler());
    rec.onRelease = [&] { t.stop(); };
    t.start();
    // Both the early wake-up and the QTimer itself are overdue when the
    // event loop comes back.
    QThread::msleep(60);
    runFor(80);
    EXPECT_EQ(rec.releasesNs.size(), 1u);
}

} // namespace
