// The chart window on the offscreen platform: gestures and keys move the view
// and the cursor, a click asks the replay to go there, the read-out names
// every shown channel, the pane choice is kept, an image is saved; every
// control is named for tests and screen readers.
#include "StepDrive.h"

#include "app/chart/ChartCanvas.h"
#include "app/chart/ChartWindow.h"
#include "app/chart/LiveChart.h"
#include "chart/ChartChannel.h"
#include "i18n/LanguageTable.h"
#include "live/LiveFrameDecoder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

ChartTexts textsIn(const LanguageTable &table)
{
    ChartTexts t;
    t.text = [&table](QStringView key) { return table.programText(key); };
    t.message = [&table](int row) { return table.text(row, LanguageTable::Current); };
    t.decimal = QLatin1Char('.');
    return t;
}

class ChartWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        english.applyLanguageColumn(LanguageTable::English);
        window = makeWindow();
        window->showRecording(stepDrive(), QStringLiteral("drive.zrec"));
        window->resize(1200, 700);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        canvas = window->canvas();
    }

    std::unique_ptr<ChartWindow> makeWindow()
    {
        ChartWindow::Hooks hooks;
        hooks.seek = [this](qint64 ms) { seeks.append(ms); };
        hooks.loadLayout = [this] { return stored; };
        hooks.saveLayout = [this](const QString &text) { stored = text; };
        hooks.chooseImageFile = [this](const QString &) { return imagePath; };
        hooks.shownCylinder = [] { return 2; };
        return std::make_unique<ChartWindow>(textsIn(english), hooks);
    }

    // Widget position of a time (seconds) in the plot.
    QPoint at(double seconds, int pane = 0) const
    {
        const ChartPainter::Geometry g = canvas->geometry();
        const int x = g.plot.left() + int(std::lround(canvas->axis().xOf(seconds * 1000)));
        return QPoint(x, g.panes[pane].center().y());
    }

    LanguageTable english = LanguageTable::builtIn();
    QString stored;
    QString imagePath;
    QVector<qint64> seeks;
    std::unique_ptr<ChartWindow> window;
    ChartCanvas *canvas = nullptr;
};

TEST_F(ChartWindowTest, OpensOnTheWholeDriveWithTheDefaultPanes)
{
    EXPECT_TRUE(canvas->axis().showingAll());
    EXPECT_DOUBLE_EQ(canvas->axis().from(), 0);
    EXPECT_DOUBLE_EQ(canvas->axis().to(), 30000);
    EXPECT_EQ(window->chartLayout(), ChartLayout::defaults(2));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Chart: drive.zrec"));
}

TEST_F(ChartWindowTest, ClickSeeksTheReplayToTheTimeUnderThePointer)
{
    // Zoomed in so the click is further than the snap from any answer.
    canvas->axis().setView(10000, 20000);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, at(15.1));
    ASSERT_EQ(seeks.size(), 1);
    const double msPerPixel = canvas->axis().span() / canvas->axis().width();
    EXPECT_NEAR(double(seeks[0]), 15100, 2 * msPerPixel);
    const int rpm = ChartChannel::indexOf(u"rpm");
    EXPECT_EQ(window->data().series().valueAt(rpm, seeks[0]), 3000.f);
    EXPECT_EQ(canvas->cursorTime(), std::optional<qint64>(seeks[0]));
}

TEST_F(ChartWindowTest, WheelZoomsAroundThePointerAndDoubleClickShowsAll)
{
    const QPoint p = at(12);
    const double before = canvas->axis().timeAt(p.x() - canvas->geometry().plot.left());
    QWheelEvent wheel(p, canvas->mapToGlobal(p), QPoint(), QPoint(0, 360), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    EXPECT_NEAR(canvas->axis().span(), 30000 * 0.8 * 0.8 * 0.8, 1);
    EXPECT_NEAR(canvas->axis().timeAt(p.x() - canvas->geometry().plot.left()), before, 1e-6);

    QTest::mouseDClick(canvas, Qt::LeftButton, {}, p);
    EXPECT_TRUE(canvas->axis().showingAll());
}

TEST_F(ChartWindowTest, DragPansWithoutSeeking)
{
    canvas->axis().setView(10000, 20000);
    const QPoint from = at(15);
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(canvas, from + QPoint(60, 0));
    QTest::mouseMove(canvas, from + QPoint(120, 0));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, from + QPoint(120, 0));
    EXPECT_TRUE(seeks.isEmpty());
    EXPECT_NEAR(canvas->axis().from(), 10000 - 120 * 10000 / canvas->axis().width(), 1);
    EXPECT_NEAR(canvas->axis().span(), 10000, 1e-6);
}

TEST_F(ChartWindowTest, KeyboardZoomsMovesTheCursorAndSeeks)
{
    canvas->setFocus();
    QTest::mouseMove(canvas, at(15));
    const qint64 cursor = *canvas->cursorTime();
    QTest::keyClick(canvas, Qt::Key_Plus);
    EXPECT_NEAR(canvas->axis().span(), 30000 * 0.8, 1);
    QTest::keyClick(canvas, Qt::Key_Right);
    EXPECT_GT(*canvas->cursorTime(), cursor);
    QTest::keyClick(canvas, Qt::Key_Return);
    ASSERT_EQ(seeks.size(), 1);
    EXPECT_EQ(seeks[0], *canvas->cursorTime());
    QTest::keyClick(canvas, Qt::Key_Home);
    EXPECT_TRUE(canvas->axis().showingAll());
}

TEST_F(ChartWindowTest, ReadoutNamesEveryShownChannelAtTheCursor)
{
    QTest::mouseMove(canvas, at(17));
    const QString text = window->findChild<QLabel *>(QStringLiteral("chartReadout"))->text();
    const QStringList lines = text.split(QLatin1Char('\n'));
    // The time, seven channels of the default panes, the band.
    ASSERT_EQ(lines.size(), 9) << text.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Time 00:1"))) << lines[0].toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("Engine speed: 3000 rpm"));
    EXPECT_EQ(lines[2], QStringLiteral("MAP: 40.0 kPa"));
    EXPECT_EQ(lines[3], QStringLiteral("P1: 1.0 bar"));
    EXPECT_EQ(lines[4], QStringLiteral("Petrol time cyl. 2: 3.2 ms"));
    EXPECT_TRUE(lines[8].contains(QStringLiteral("Gas"))) << lines[8].toStdString();
    EXPECT_TRUE(lines[8].contains(QStringLiteral("pressure too low"))) << lines[8].toStdString();
    EXPECT_EQ(canvas->accessibleDescription(), lines.join(QStringLiteral("; ")));
}

TEST_F(ChartWindowTest, ReadoutSaysFromWhenTheControllerWasSetOtherwise)
{
    Recording drive = stepDrive();
    QByteArray block(602, '\0'); // the drive's own block, with one setting changed
    block[100] = 9;
    const auto at20 = std::find_if(drive.entries.begin(), drive.entries.end(),
                                   [](const RecordEntry &e) { return e.ms >= 20000; });
    drive.entries.insert(at20, {20000, RecordKind::Settings, block});
    window->showRecording(drive, QStringLiteral("drive.zrec"));
    auto readout = [this] {
        return window->findChild<QLabel *>(QStringLiteral("chartReadout"))->text().split(QLatin1Char('\n'));
    };
    QTest::mouseMove(canvas, at(17));
    EXPECT_EQ(readout().size(), 9) << "no change before 20 s";
    QTest::mouseMove(canvas, at(25));
    ASSERT_EQ(readout().size(), 10);
    EXPECT_TRUE(readout().last().startsWith(QStringLiteral("Other controller settings from 00:20")))
        << readout().last().toStdString();
}

TEST_F(ChartWindowTest, ReadoutSaysWhereTheLinkWasLost)
{
    Recording drive = stepDrive();
    drive.entries.erase(std::remove_if(drive.entries.begin(), drive.entries.end(),
                                       [](const RecordEntry &e) {
                                           return e.kind == RecordKind::Answer && e.ms > 20000 && e.ms < 24000;
                                       }),
                        drive.entries.end());
    window->showRecording(drive, QStringLiteral("drive.zrec"));
    ASSERT_EQ(window->data().linkGaps().size(), 1);
    auto lastLine = [this] {
        return window->findChild<QLabel *>(QStringLiteral("chartReadout"))->text().split(QLatin1Char('\n')).last();
    };
    QTest::mouseMove(canvas, at(22));
    EXPECT_EQ(lastLine(), QStringLiteral("No answers from the controller (link lost)"));
    QTest::mouseMove(canvas, at(26));
    EXPECT_NE(lastLine(), QStringLiteral("No answers from the controller (link lost)"));
}

TEST_F(ChartWindowTest, ReplayPlayingMovesTheCursorAndKeepsItInView)
{
    canvas->axis().setView(0, 5000);
    window->followReplay(12000);
    EXPECT_EQ(canvas->cursorTime(), std::optional<qint64>(12000));
    EXPECT_LE(canvas->axis().from(), 12000);
    EXPECT_GE(canvas->axis().to(), 12000);
}

TEST_F(ChartWindowTest, ChannelChoiceIsKeptAndComesBack)
{
    auto *panes = window->findChild<QComboBox *>(QStringLiteral("chartPaneChoice"));
    auto *list = window->findChild<QListWidget *>(QStringLiteral("chartChannels"));
    ASSERT_TRUE(panes && list);
    ASSERT_EQ(panes->count(), 4);
    ASSERT_EQ(list->count(), ChartChannel::all().size());
    panes->setCurrentIndex(0);
    const int temp = ChartChannel::indexOf(u"temp_reducer_c");
    list->item(temp)->setCheckState(Qt::Checked);
    panes->setCurrentIndex(1);
    EXPECT_EQ(list->item(ChartChannel::indexOf(u"map_kpa"))->checkState(), Qt::Checked);
    list->item(ChartChannel::indexOf(u"p1_bar"))->setCheckState(Qt::Unchecked);
    EXPECT_EQ(stored, QStringLiteral("rpm,temp_reducer_c;map_kpa;petrol_ms_2,gas_ms;lambda1_v,lambda2_v"));

    const std::unique_ptr<ChartWindow> again = makeWindow();
    EXPECT_EQ(again->chartLayout().toText(), stored);
}

TEST_F(ChartWindowTest, PanesCanBeAddedAndRemoved)
{
    window->addPane();
    window->setChannelShown(QStringLiteral("battery_v"), true);
    EXPECT_EQ(window->chartLayout().panes.size(), 5);
    EXPECT_TRUE(stored.endsWith(QStringLiteral(";battery_v")));
    window->choosePane(0);
    window->removePane();
    EXPECT_TRUE(stored.startsWith(QStringLiteral("map_kpa,p1_bar;")));
}

TEST_F(ChartWindowTest, SaveImageWritesThePictureShown)
{
    QTemporaryDir dir;
    imagePath = dir.filePath(QStringLiteral("drive"));
    window->findChild<QAbstractButton *>(QStringLiteral("chartSaveImage"))->click();
    QImage image(imagePath + QStringLiteral(".png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), canvas->size() * canvas->devicePixelRatioF());
}

TEST_F(ChartWindowTest, EveryControlIsNamedAndTheCanvasSpeaks)
{
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->parentWidget() && w->parentWidget()->inherits("QAbstractScrollArea"))
            continue; // a list's own viewport and scroll bars
        if (w->inherits("QScrollBar") || w->inherits("QComboBoxPrivateContainer") || w->inherits("QComboBoxListView"))
            continue;
        if (w->window() != window.get())
            continue;
        EXPECT_FALSE(w->objectName().isEmpty()) << w->metaObject()->className();
    }
    EXPECT_EQ(canvas->accessibleName(), QStringLiteral("Drive chart"));
    EXPECT_EQ(canvas->focusPolicy(), Qt::StrongFocus);
}

TEST_F(ChartWindowTest, FollowsALanguageSwitch)
{
    auto *whole = window->findChild<QAbstractButton *>(QStringLiteral("chartWhole"));
    EXPECT_EQ(whole->text(), QStringLiteral("Whole drive"));
    LanguageTable polish = LanguageTable::builtIn();
    polish.applyLanguageColumn(LanguageTable::Polish);
    window->setTexts(textsIn(polish));
    EXPECT_EQ(whole->text(), QStringLiteral("Całość"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Wykres: drive.zrec"));
}

// The live view: the answers the window decoded, on its clock, the newest
// ten minutes in view.
TEST(LiveChartTest, FollowsTheSessionOnItsOwnClock)
{
    LanguageTable english = LanguageTable::builtIn();
    english.applyLanguageColumn(LanguageTable::English);
    qint64 now = 5000;
    LiveChart live([&now] { return now; });
    ChartWindow window(textsIn(english), {});
    window.showLive(&live.data());
    live.setWindow(&window);
    window.show();
    live.linkStarted();
    for (int i = 0; i < 4 * 60 * 12; ++i) { // twelve minutes at four answers a second
        now += 250;
        live.answer(LiveFrameDecoder::decode(ChartSample::answer(0, ChartSample::running(800 + i % 10 * 100)).bytes));
    }
    ChartCanvas *canvas = window.canvas();
    // Answers are drawn together, once a redraw interval has passed.
    auto *redraw = window.findChild<QTimer *>(QStringLiteral("chartLiveRedraw"));
    ASSERT_TRUE(redraw);
    EXPECT_TRUE(redraw->isActive());
    EXPECT_DOUBLE_EQ(canvas->axis().to(), double(ChartData::LiveKeepMs)) << "nothing redrawn before the interval";
    ASSERT_TRUE(QTest::qWaitFor([&] { return canvas->axis().to() == double(live.data().lastMs()); },
                                10 * ChartWindow::LiveRedrawMs));
    EXPECT_FALSE(redraw->isActive());
    EXPECT_TRUE(canvas->followsLatest());
    EXPECT_EQ(live.data().lastMs(), 12 * 60 * 1000);
    EXPECT_DOUBLE_EQ(canvas->axis().to(), double(live.data().lastMs()));
    EXPECT_DOUBLE_EQ(canvas->axis().span(), double(ChartData::LiveKeepMs));
    EXPECT_LE(live.data().series().firstMs(), live.data().lastMs() - ChartData::LiveKeepMs);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Live chart (last 10 min)"));
}

} // namespace
