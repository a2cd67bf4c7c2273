// The chart against zenu-sim: a drive recorded while the simulator holds the
// engine at 3000 rpm and lets it idle again; the live chart follows the
// session as it happens, and the chart of the recording shows the steps at
// the times they were made.
#include "E2eFixture.h"

#include "app/chart/ChartCanvas.h"
#include "app/chart/ChartRoom.h"
#include "app/chart/ChartWindow.h"
#include "app/recording/RecordingControl.h"
#include "app/recording/RecordingRoom.h"
#include "app/recording/SessionRecorder.h"
#include "chart/ChartChannel.h"

#include <QAction>

class E2eChart : public E2eFixture
{
protected:
    void SetUp() override
    {
        E2eFixture::SetUp();
        ASSERT_TRUE(recordings.isValid());
    }

    RecordingRoom &room() { return window->recording(); }
    ChartRoom &chart() { return window->chart(); }

    QTemporaryDir recordings;
};

TEST_F(E2eChart, RecordedStepsShowAtTheirTimesAndTheLiveChartFollows)
{
    startBoth({QStringLiteral("--warm")}, false);
    window->component<QAction>(kCom)->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    chart().openLive();
    ASSERT_TRUE(chart().liveWindow());
    polls(3);

    room().control().setFolder(recordings.filePath(QStringLiteral("ZENU recordings")));
    room().control().recordClicked();
    ASSERT_TRUE(room().recorder().recording()) << room().recorder().lastError().toStdString();
    const QString path = room().recorder().path();

    polls(16);
    const qint64 upAt = room().recorder().elapsedMs();
    sim->command(QStringLiteral("rpm 3000"));
    polls(24);
    const qint64 downAt = room().recorder().elapsedMs();
    sim->command(QStringLiteral("idle"));
    polls(24);
    room().control().recordClicked();
    ASSERT_FALSE(room().recorder().recording());

    // The live ring took every answer of the session, on the same steps.
    const int rpm = ChartChannel::indexOf(u"rpm");
    const ChartSeries &live = chart().live().data().series();
    EXPECT_GE(live.size(), 60);
    float liveTop = 0;
    for (float v : live.values(rpm))
        liveTop = std::max(liveTop, v);
    EXPECT_GE(liveTop, 2500.f);
    EXPECT_TRUE(chart().liveWindow()->canvas()->followsLatest());
    // Ten minutes in view, filling from the left until the session is longer;
    // the answers of the last redraw interval are drawn at its end.
    const TimeAxis &axis = chart().liveWindow()->canvas()->axis();
    ASSERT_TRUE(waitFor([&] { return axis.to() >= double(live.lastMs()); }, 10 * ChartWindow::LiveRedrawMs));
    EXPECT_DOUBLE_EQ(axis.span(), double(ChartData::LiveKeepMs));
    EXPECT_LE(axis.from(), double(live.firstMs()));
    EXPECT_GE(axis.to(), double(live.lastMs()));

    window->rozlacz1->trigger();
    ASSERT_TRUE(waitDisconnected(5000)) << linkReport();

    ASSERT_TRUE(chart().openFile(path)) << linkReport();
    ChartWindow *recorded = chart().recordingWindow();
    ASSERT_TRUE(recorded);
    const ChartSeries &series = recorded->data().series();
    ASSERT_GE(series.size(), 60);
    // Before the step: idle. A few seconds after it: the held speed. After
    // the idle command: back down. The line's pace puts an answer at most
    // a poll and a bit after each moment.
    EXPECT_LT(series.valueAt(rpm, upAt - 300), 1300.f);
    EXPECT_GE(series.valueAt(rpm, upAt + 3000), 2900.f);
    EXPECT_GE(series.valueAt(rpm, downAt - 300), 2900.f);
    EXPECT_LT(series.valueAt(rpm, downAt + 3000), 1300.f);
    // Nothing before the step reached 2000 rpm: the step is where it was made.
    for (int i = 0; i < series.size() && series.times()[i] < upAt; ++i)
        EXPECT_LT(series.values(rpm)[i], 2000.f) << series.times()[i];
}
