// The "Mapa" page as the fitter uses it: presses on the plot mark an area,
// the arrows move the map and send it, the zoom, the curve buttons, the
// working point and the learned curves. Every case runs with the plot at its
// designed 652 pixels and at one and a half times that; the suite runs once
// more on a screen scaled by two (QT_SCALE_FACTOR=2).
#include "app/calibration/CalibrationMapTabs.h"
#include "app/calibration/MapChart.h"
#include "app/calibration/MapPage.h"
#include "app/common/StatusNotice.h"
#include "app/window/TZENU.h"

#include "calibration/MapPixels.h"
#include "live/InjectionTimeTables.h"

#include "widgets/TSpinButton.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QValueAxis>
#include <QXYSeries>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <ostream>
#include <string>

namespace {

const QColor Yellow(0xFF, 0xFF, 0x00); // clYellow

struct Sent
{
    int retries;
    CommandBodies::Group commands;
};

QByteArray settingsBlock()
{
    QByteArray block(602, '\0');
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        block[65 + k] = char(60 + k / 2);
    return block;
}

class MapPageTest : public ::testing::TestWithParam<double>
{
protected:
    void SetUp() override
    {
        tab.reset(CalibrationMapTabs::map(nullptr));
        const double f = GetParam();
        auto *view = tab->findChild<QChartView *>(QStringLiteral("Chart1"));
        ASSERT_NE(view, nullptr);
        // The axes keep their room at any size: give the view what makes the
        // plot exactly 652 (or 978) pixels wide, so pixels on the designed
        // scale land on whole pixels.
        view->setFixedSize(790, int(232 * f));
        tab->resize(int(790 * f) + 200, int(232 * f) + 120);
        tab->show();
        QApplication::processEvents();
        const int plotWidth = int(view->chart()->plotArea().width());
        view->setFixedSize(790 + int(652 * f) - plotWidth, int(232 * f));
        QApplication::processEvents();

        MapPage::Link link;
        link.connected = [this] { return online; };
        link.commandPending = [this] { return pending; };
        link.queue = [this](int retries, const CommandBodies::Group &g) { sent.push_back({retries, g}); };
        link.notice = [this](const QString &key) { notices << key; };
        page = std::make_unique<MapPage>(tab.get(), std::move(link));
        page->loadCorrectionMap(settingsBlock());
        paintBox = page->chart().paintBox;
        spin = tab->findChild<TSpinButton *>(QStringLiteral("SpinButton1"));
        panel = tab->findChild<QWidget *>(QStringLiteral("Panel4"));
        zoom = tab->findChild<QLabel *>(QStringLiteral("zoom"));
    }

    // A press and release at a pixel of the 652-pixel scale.
    void click(double nominalX, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {})
    {
        const QPoint at(int(std::lround(nominalX * paintBox->width() / MapPixels::NominalWidth)), 40);
        QTest::mousePress(paintBox, button, mods, at);
        QTest::mouseRelease(paintBox, button, mods, at);
    }

    QXYSeries *series(MapChart::SeriesIndex i) const { return page->chart().series[size_t(i)]; }

    // Points of the map drawn yellow; they must be the map's own points.
    int yellowPoints() const
    {
        const QList<QPointF> area = page->chart().mapArea->points();
        const QList<QPointF> map = series(MapChart::Map)->points();
        for (const QPointF &p : area)
            EXPECT_TRUE(map.contains(p)) << p.x();
        return int(area.size());
    }

    bool panelYellow() const { return panel->palette().color(QPalette::Window) == Yellow; }

    std::unique_ptr<QWidget> tab;
    std::unique_ptr<MapPage> page;
    QWidget *paintBox = nullptr;
    TSpinButton *spin = nullptr;
    QWidget *panel = nullptr;
    QLabel *zoom = nullptr;
    bool online = true;
    bool pending = false;
    std::vector<Sent> sent;
    QStringList notices;
};

TEST_P(MapPageTest, MouseAreaLiesOverThePlotAtTheScreensScale)
{
    EXPECT_EQ(paintBox->geometry(), page->chart().chart->plotArea().toRect());
    EXPECT_EQ(paintBox->width(), int(652 * GetParam()));
    bool scaled = false;
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&scaled);
    if (scaled) {
        EXPECT_DOUBLE_EQ(paintBox->devicePixelRatioF(), scale);
    }
}

TEST_P(MapPageTest, AreaFromPixel100To300MarksPoints40To115)
{
    click(100);
    click(300);
    EXPECT_EQ(page->selection().firstPoint(), 40);
    EXPECT_EQ(page->selection().lastPoint(), 115);
    EXPECT_EQ(yellowPoints(), 115 - 40 + 1);
    EXPECT_DOUBLE_EQ(page->chart().mapArea->points().value(0).x(), 4.9); // point 40
    EXPECT_TRUE(panelYellow());
    EXPECT_EQ(panel->height(), MapPage::PanelMarkingHeight);
    EXPECT_TRUE(spin->isEnabled());
    // Marker lines at the time under the pointer, from 0 to 3.0.
    const QList<QPointF> start = series(MapChart::AreaStart)->points();
    ASSERT_EQ(start.size(), 2);
    EXPECT_NEAR(start[0].x(), 24.6 * 100 / 652 + 1, 1e-9);
    EXPECT_EQ(start[0].y(), 0.0);
    EXPECT_EQ(start[1].y(), 3.0);
    EXPECT_NEAR(series(MapChart::AreaEnd)->points().value(0).x(), 24.6 * 300 / 652 + 1, 1e-9);
}

TEST_P(MapPageTest, OnlyTheStartSetLeavesTheCurveBlueAndTheArrowsOff)
{
    click(10);
    click(20); // below 26: moves nothing
    EXPECT_DOUBLE_EQ(page->selection().selFrom(), 10);
    EXPECT_DOUBLE_EQ(page->selection().selTo(), 0);
    EXPECT_EQ(yellowPoints(), 0);
    EXPECT_FALSE(panelYellow());
    EXPECT_FALSE(spin->isEnabled());
}

TEST_P(MapPageTest, RightButtonWithCtrlMarksAndAloneClears)
{
    click(100);
    click(300, Qt::RightButton, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(page->selection().selTo(), 300);

    click(200, Qt::RightButton);
    EXPECT_FALSE(page->selection().hasArea());
    EXPECT_DOUBLE_EQ(page->selection().selFrom(), 0);
    EXPECT_EQ(yellowPoints(), 0);
    EXPECT_TRUE(series(MapChart::AreaStart)->points().isEmpty());
    EXPECT_TRUE(series(MapChart::AreaEnd)->points().isEmpty());
    EXPECT_FALSE(panelYellow());
    EXPECT_EQ(panel->height(), MapPage::PanelRestingHeight);
}

TEST_P(MapPageTest, ClearButtonDropsTheAreaAndLeavesTheArrowsAlone)
{
    click(100);
    ASSERT_FALSE(spin->isEnabled());
    QTest::mouseClick(tab->findChild<QPushButton *>(QStringLiteral("Button3")), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(page->selection().selFrom(), 0);
    EXPECT_EQ(panel->height(), MapPage::PanelRestingHeight);
    EXPECT_FALSE(spin->isEnabled()); // until the next release on the plot
}

TEST_P(MapPageTest, ZoomedPressIsKeptOnTheUnzoomedScale)
{
    QTest::mouseClick(zoom, Qt::LeftButton);
    click(300);
    EXPECT_DOUBLE_EQ(page->selection().selFrom(), 143);
    EXPECT_NEAR(series(MapChart::AreaStart)->points().value(0).x(), 11.85 * 300 / 652 + 1, 1e-9);
}

TEST_P(MapPageTest, ZoomTwiceRestoresRangeAndCaption)
{
    QValueAxis *time = page->chart().time;
    QTest::mouseClick(zoom, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(time->max(), 12.75);
    EXPECT_EQ(zoom->text(), QStringLiteral(">> [ms] <<"));
    QTest::mouseClick(zoom, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(time->min(), 1.0);
    EXPECT_DOUBLE_EQ(time->max(), 25.5);
    EXPECT_EQ(zoom->text(), QStringLiteral("<< [ms] >>"));

    const auto moveOver = [](QWidget *w) {
        const QPointF at(5, 5);
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    };
    moveOver(zoom);
    EXPECT_TRUE(zoom->font().bold());
    moveOver(paintBox);
    EXPECT_FALSE(zoom->font().bold());
}

TEST_P(MapPageTest, WorkingPointLinesUpAndToTheRightEdge)
{
    page->DrawWorkingPoint(3.2, 35);
    const QList<QPointF> expected{{3.2, 35}, {3.2, 500}, {3.2, 35}, {100, 35}};
    EXPECT_EQ(series(MapChart::WorkingPoint)->points(), expected);
}

TEST_P(MapPageTest, UpWithoutAreaSendsTheWholeMapOneHigher)
{
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 5));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].retries, 7);
    QByteArray expected(1, char(0x0B));
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        expected.append(char(60 + k / 2 + 1));
    EXPECT_EQ(sent[0].commands.first, expected);
    EXPECT_EQ(sent[0].commands.second, CommandBodies::mapEditorFollowUp());
    EXPECT_EQ(yellowPoints(), 0);
    EXPECT_DOUBLE_EQ(series(MapChart::Map)->at(0).y(), 0.61); // shown as sent
}

TEST_P(MapPageTest, DownOnAreaSendsWhatTheChartShows)
{
    click(100);
    click(300);
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, spin->height() - 5));
    ASSERT_EQ(sent.size(), 1u);
    const QByteArray body = sent[0].commands.first;
    const QList<QPointF> shown = series(MapChart::Map)->points();
    ASSERT_EQ(shown.size(), CorrectionMap::Points);
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        EXPECT_EQ(std::lround(shown[k - 1].y() * 100), uint8_t(body.at(k))) << "point " << k;
    EXPECT_EQ(uint8_t(body.at(78)), 60 + 78 / 2 - 1);
}

TEST_P(MapPageTest, EditWithoutControllerChangesNothingAndSaysWhy)
{
    online = false;
    const QList<QPointF> before = series(MapChart::Map)->points();
    page->SpinButton1UpClick();
    page->BitBtn1Click();
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(series(MapChart::Map)->points(), before);
    EXPECT_EQ(page->correctionMap().value(1), 60);
    EXPECT_EQ(notices, (QStringList{QStringLiteral("map.not_changed_offline"), QStringLiteral("map.curve_not_sent_offline")}));
}

TEST_P(MapPageTest, ArrowWhileACommandIsPendingIsIgnored)
{
    pending = true;
    page->SpinButton1UpClick();
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(page->correctionMap().value(1), 60);
}

TEST_P(MapPageTest, CurveButtonsAskForGasAndPetrol)
{
    QTest::mouseClick(tab->findChild<QPushButton *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    QTest::mouseClick(tab->findChild<QPushButton *>(QStringLiteral("BitBtn2")), Qt::LeftButton);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].retries, 5);
    EXPECT_EQ(sent[0].commands.first, QByteArray("\x2A\x02", 2));
    EXPECT_TRUE(sent[0].commands.second.isEmpty());
    EXPECT_EQ(sent[1].retries, 5);
    EXPECT_EQ(sent[1].commands.first, QByteArray("\x2A\x01", 2));
}

INSTANTIATE_TEST_SUITE_P(Map, MapPageTest, ::testing::Values(1.0, 1.5), [](const auto &info) {
    return info.param == 1.0 ? std::string("DesignedWidth") : std::string("OneAndAHalfWidth");
});

// ---------------------------------------------------------------------------
// The learned curves follow the stream's position.

struct PositionCase
{
    std::string name;
    int position;
    bool rebuilds;

    friend void PrintTo(const PositionCase &c, std::ostream *os) { *os << c.name; }
};

class TimeCurvesWindow : public ::testing::TestWithParam<PositionCase>
{
};

TEST_P(TimeCurvesWindow, RebuildsOnlyInPositions128To134)
{
    std::unique_ptr<QWidget> tab(CalibrationMapTabs::map(nullptr));
    MapPage page(tab.get(), {});
    InjectionTimeTables tables;
    for (int p = 20; p <= 100; p += 3) {
        LiveValues v;
        v.streamPosition = p;
        for (int j = 0; j < LiveValues::TableBytes; ++j) {
            v.petrolTableBytes[size_t(j)] = uint8_t(std::lround((0.5 + (p + j) * 0.072) * 10));
            v.gasTableBytes[size_t(j)] = uint8_t(std::lround((0.5 + (p + 2 + j) * 0.09) * 10));
        }
        tables.store(v);
    }
    LiveValues last;
    last.streamPosition = GetParam().position;
    tables.store(last);

    page.UpdateTimeCurves(3, tables, 3.2, 35);
    const MapChart::Parts &chart = page.chart();
    EXPECT_EQ(chart.series[MapChart::WorkingPoint]->count(), 4);
    EXPECT_EQ(chart.series[MapChart::GasCurve]->count() > 0, GetParam().rebuilds);
    EXPECT_EQ(chart.series[MapChart::PetrolCurve]->count() > 0, GetParam().rebuilds);
    EXPECT_EQ(chart.series[MapChart::GasPoints]->count(), 0); // selector 3: no raw points

    // A later frame outside the window keeps what the curves show.
    LiveValues later;
    later.streamPosition = 140;
    tables.store(later);
    page.UpdateTimeCurves(1, tables, 3.3, 36);
    EXPECT_EQ(chart.series[MapChart::GasCurve]->count() > 0, GetParam().rebuilds);
}

INSTANTIATE_TEST_SUITE_P(Map, TimeCurvesWindow,
                         ::testing::Values(PositionCase{"Position127", 127, false},
                                           PositionCase{"Position128", 128, true},
                                           PositionCase{"Position134", 134, true},
                                           PositionCase{"Position135", 135, false}),
                         [](const auto &info) { return info.param.name; });

} // namespace

namespace {

// In the window the chart takes the room the page gets, and the mouse area
// follows the plot.
TEST(MapPageInWindow, ChartGrowsWithTheWindow)
{
    TZENU window([] { return QStringList(); });
    window.resize(1270, 790);
    window.show();
    QApplication::processEvents(); // laid out while another page is shown
    window.tab_control->setCurrentWidget(window.component(QStringLiteral("TabSheet4")));
    QApplication::processEvents();
    const MapChart::Parts &chart = window.mapPage().chart();
    const int designed = chart.paintBox->width();
    // Far beyond the designed 652 pixels; the column beside the chart holds
    // the arrows and, below them, the map fit's buttons.
    EXPECT_GE(designed, 950);
    EXPECT_EQ(chart.paintBox->geometry(), chart.chart->plotArea().toRect());

    window.resize(1905, 790);
    QApplication::processEvents();
    EXPECT_GE(chart.paintBox->width(), designed + 500);
    EXPECT_EQ(chart.paintBox->geometry(), chart.chart->plotArea().toRect());
}

} // namespace

namespace {

TEST(MapPageInWindow, ArrowWithoutControllerSaysSoInTheStatusBar)
{
    TZENU window([] { return QStringList(); });
    window.show();
    QApplication::processEvents();
    window.mapPage().loadCorrectionMap(settingsBlock());
    window.mapPage().SpinButton1UpClick();
    EXPECT_EQ(window.mapPage().correctionMap().value(1), 60);
    const QString expected = window.languageTable()->programText(u"map.not_changed_offline");
    EXPECT_NE(expected, QStringLiteral("map.not_changed_offline"));
    EXPECT_EQ(StatusNotice::current(&window), expected);
}

} // namespace
