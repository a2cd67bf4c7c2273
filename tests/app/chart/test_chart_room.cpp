// The chart on the real window (offscreen): "Plik" offers it in every
// language, the replay bar opens the chart of the recording being replayed, a
// click on that chart moves the replay (the gauges show that moment), and the
// cursor follows the replay; a foreign file is refused with a message.
#include "StepDrive.h"
#include "tests/app/WindowFixture.h"

#include "app/chart/ChartCanvas.h"
#include "app/chart/ChartRoom.h"
#include "app/chart/ChartWindow.h"
#include "app/recording/RecordingRoom.h"
#include "app/recording/ReplayPanel.h"
#include "app/window/WindowLinkView.h"
#include "chart/ChartChannel.h"
#include "live/LiveFrameDecoder.h"
#include "record/RecordingWriter.h"

#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

class ChartRoomTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        start({});
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        path = m_config.filePath(QStringLiteral("drive.zrec"));
        RecordingWriter writer;
        ASSERT_TRUE(writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc()));
        for (const RecordEntry &e : stepDrive().entries)
            writer.append(e.kind, e.ms, e.bytes);
        writer.close();
    }

    ReplayPanel &replay() { return window->recording().replay(); }
    ChartRoom &chart() { return window->chart(); }

    QString path;
};

TEST_F(ChartRoomTest, FileMenuOffersTheChartInEveryLanguage)
{
    QAction *open = item(QStringLiteral("Chart_open"));
    ASSERT_TRUE(open);
    EXPECT_TRUE(window->Pliki1->actions().contains(open));
    const std::pair<const char *, const char *> languages[] = {{"PolskiPL", "Wykres nagrania…"},
                                                                {"AngielskiGB", "Recording chart…"},
                                                                {"NiemieckiDE", "Aufzeichnungsdiagramm…"},
                                                                {"Ceski", "Graf záznamu…"}};
    for (const auto &[key, caption] : languages) {
        window->applyLanguage(QString::fromLatin1(key));
        EXPECT_EQ(open->text(), QString::fromUtf8(caption)) << key;
    }
}

TEST_F(ChartRoomTest, ReplayBarOpensTheChartAndAClickMovesTheReplay)
{
    auto *button = window->component<QPushButton>(QStringLiteral("Replay_chart"));
    ASSERT_TRUE(button);
    EXPECT_FALSE(button->isEnabled());
    ASSERT_TRUE(replay().open(path));
    replay().clock()->pause();
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(button->isVisibleTo(window.get()));
    replay().clock()->seek(5000);
    button->click();

    ChartWindow *chartWindow = chart().recordingWindow();
    ASSERT_TRUE(chartWindow);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chartWindow));
    EXPECT_TRUE(chartWindow->windowTitle().contains(QStringLiteral("drive.zrec")));
    ChartCanvas *canvas = chartWindow->canvas();
    // Opened on a paused replay, the cursor stands where the gauges are.
    EXPECT_EQ(canvas->cursorTime(), std::optional<qint64>(5000));
    canvas->axis().setView(10000, 20000);
    const ChartPainter::Geometry g = canvas->geometry();
    const int x = g.plot.left() + int(std::lround(canvas->axis().xOf(15100)));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(x, g.panes[0].center().y()));
    EXPECT_NEAR(double(replay().clock()->position()), 15100, 2 * 10000 / canvas->axis().width());
    // The gauges show that moment: 3000 rpm.
    EXPECT_EQ(window->linkView().lastLiveValues().rpm, std::optional<double>(3000));

    // The replay moves: the cursor goes with it, into view.
    replay().clock()->seek(25000);
    EXPECT_EQ(canvas->cursorTime(), std::optional<qint64>(25000));
    EXPECT_GE(canvas->axis().to(), 25000);
}

TEST_F(ChartRoomTest, ChartOfAnotherFileDoesNotMoveTheReplay)
{
    const QString other = m_config.filePath(QStringLiteral("other.zrec"));
    ASSERT_TRUE(QFile::copy(path, other));
    ASSERT_TRUE(replay().open(path));
    replay().clock()->pause();
    replay().clock()->seek(1000);
    ASSERT_TRUE(chart().openFile(other));
    ChartCanvas *canvas = chart().recordingWindow()->canvas();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chart().recordingWindow()));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->geometry().panes[0].center());
    EXPECT_EQ(replay().clock()->position(), 1000);
}

TEST_F(ChartRoomTest, ForeignFileIsRefusedWithAMessage)
{
    const QString foreign = m_config.filePath(QStringLiteral("notes.zrec"));
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a recording");
    file.close();
    chart().setFileChooser([&foreign] { return foreign; });
    item(QStringLiteral("Chart_open"))->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("notes.zrec")));
    EXPECT_FALSE(chart().recordingWindow());
}

// The offscreen screen is 800 x 600, smaller than the window's own size (as
// a 1366 x 768 laptop at 150 % is): the main window and the chart window
// start within it, and every control of the replay bar, its chart button
// first, is on the screen where the window shows it, not scrolled away.
TEST_F(ChartRoomTest, WindowsAndTheReplayBarFitASmallScreen)
{
    const QRect screen = window->screen()->availableGeometry();
    ASSERT_LT(screen.width(), 1270) << "the test needs a screen smaller than the window";
    // A long name, as the recorder gives with date and time, in the longest language.
    window->applyLanguage(QStringLiteral("NiemieckiDE"));
    const QString longName = m_config.filePath(QStringLiteral("ZENU-2026-12-10_19-52-03-Probefahrt-Passat-B5-1.8T.zrec"));
    ASSERT_TRUE(QFile::copy(path, longName));
    ASSERT_TRUE(replay().open(longName));
    replay().clock()->pause();
    QCoreApplication::processEvents();
    EXPECT_TRUE(screen.contains(window->frameGeometry())) << "main window " << window->frameGeometry().width() << "x"
                                                           << window->frameGeometry().height();

    auto *scroll = window->findChild<QScrollArea *>(QStringLiteral("CentralScroll"));
    ASSERT_TRUE(scroll);
    // Where the replay bar is, scrolled into view as a user would (it sits
    // below the top panel); horizontally the window stays at its left edge.
    scroll->ensureWidgetVisible(replay().bar(), 0, 0);
    scroll->horizontalScrollBar()->setValue(0);
    const QRect shown(scroll->viewport()->mapToGlobal(QPoint(0, 0)), scroll->viewport()->size());
    for (const char *name : {"Replay_file", "Replay_play", "Replay_speed", "Replay_chart", "Replay_end", "Replay_time"}) {
        auto *control = window->findChild<QWidget *>(QString::fromLatin1(name));
        ASSERT_TRUE(control) << name;
        const QRect at(control->mapToGlobal(QPoint(0, 0)), control->size());
        EXPECT_TRUE(shown.contains(at) && screen.contains(at)) << name << " at " << at.x() << "," << at.y();
    }

    window->component<QPushButton>(QStringLiteral("Replay_chart"))->click();
    ChartWindow *chartWindow = chart().recordingWindow();
    ASSERT_TRUE(chartWindow);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chartWindow));
    EXPECT_TRUE(screen.contains(chartWindow->frameGeometry()))
        << "chart window " << chartWindow->frameGeometry().width() << "x" << chartWindow->frameGeometry().height();
    // Its read-out and channel list keep a usable size beside the plot.
    for (const char *name : {"chartReadout", "chartChannels"}) {
        auto *part = chartWindow->findChild<QWidget *>(QString::fromLatin1(name));
        ASSERT_TRUE(part) << name;
        EXPECT_GE(part->height(), 60) << name;
        EXPECT_TRUE(screen.contains(QRect(part->mapToGlobal(QPoint(0, 0)), part->size()))) << name;
    }
}

// "Wykres na żywo": nothing to show before the first connect; while
// connected it follows the session; after a disconnect it still opens the
// session that ended, until the next connect starts afresh.
TEST_F(ChartRoomTest, LiveChartIsOfferedWhileConnectedAndForTheSessionThatEnded)
{
    bool connected = false;
    ChartRoom room({*window, [&connected] { return connected; }, {}, {}, {}, {}});
    QAction *live = room.liveItem();
    EXPECT_FALSE(live->isEnabled()) << "before any connect";

    connected = true;
    room.linkChanged(true);
    EXPECT_TRUE(live->isEnabled()) << "connected, no answer yet";
    connected = false;
    room.linkChanged(false);
    EXPECT_FALSE(live->isEnabled()) << "a session without answers leaves nothing to show";

    connected = true;
    room.linkChanged(true);
    for (int i = 0; i < 8; ++i)
        room.answerApplied(LiveFrameDecoder::decode(ChartSample::answer(0, ChartSample::running(800 + 100 * i)).bytes));
    connected = false;
    room.linkChanged(false);
    // Answers after the disconnect (a replay) are not the session's.
    room.answerApplied(LiveFrameDecoder::decode(ChartSample::answer(0, ChartSample::running(3000)).bytes));
    ASSERT_TRUE(live->isEnabled()) << "after a disconnect: the session that ended";
    live->trigger();
    ASSERT_TRUE(room.liveWindow());
    EXPECT_EQ(room.liveWindow()->data().series().size(), 8);

    connected = true;
    room.linkChanged(true);
    EXPECT_TRUE(room.liveWindow()->data().series().isEmpty()) << "a new connect starts a new session";
}

} // namespace
