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
#include "record/RecordingWriter.h"

#include <QPushButton>
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
    button->click();

    ChartWindow *chartWindow = chart().recordingWindow();
    ASSERT_TRUE(chartWindow);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chartWindow));
    EXPECT_TRUE(chartWindow->windowTitle().contains(QStringLiteral("drive.zrec")));
    ChartCanvas *canvas = chartWindow->canvas();
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

} // namespace
