// The "Mapa" page against zenu-sim: an area marked on the chart and moved
// with an arrow goes to the controller as one map write carrying exactly the
// map the chart shows, the controller keeps it (a read-all brings it back),
// and once the car has driven on both fuels the learned curves of both appear
// as the simulator walks its position counter.
#include "E2eFixture.h"

#include "app/calibration/MapChart.h"
#include "app/calibration/MapPage.h"

#include "calibration/MapPixels.h"
#include "link/CommandBodies.h"
#include "widgets/TSpinButton.h"

#include <QAction>
#include <QXYSeries>

namespace {

constexpr int PollCode = 0x55;
constexpr int MapWriteCode = 0x0B;
constexpr int MapFollowUpCode = 0x20;

class E2eMap : public E2eFixture
{
protected:
    void connectWarm()
    {
        startBoth({QStringLiteral("--warm")});
        window->component<QAction>(kCom)->trigger();
        ASSERT_TRUE(waitConnected()) << linkReport();
    }

    MapPage &page() { return window->mapPage(); }

    // A press and release on the plot at a pixel of the 652-pixel scale.
    void clickPlot(double nominalX)
    {
        QWidget *box = page().chart().paintBox;
        const QPoint at(int(std::lround(nominalX * box->width() / MapPixels::NominalWidth)), 30);
        QTest::mouseClick(box, Qt::LeftButton, {}, at);
    }

    QByteArray mapOfStoredBlock() { return session().storedSettings().mid(66, CorrectionMap::Points); }
};

TEST_F(E2eMap, ArrowSendsExactlyTheShownMapAndTheControllerKeepsIt)
{
    connectWarm();
    ASSERT_EQ(page().correctionMap().value(1), 100) << "the factory map arrived with the settings block";
    const int polls = countIn(PollCode);
    ASSERT_TRUE(waitFor([&] { return countIn(PollCode) >= polls + 2; }, 5000));

    clickPlot(100);
    clickPlot(300);
    ASSERT_EQ(page().selection().firstPoint(), 40);
    auto *spin = window->component<TSpinButton>(QStringLiteral("SpinButton1"));
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 4)); // up
    const CommandBodies::Group expected = page().correctionMap().writeCommands();
    ASSERT_EQ(uint8_t(expected.first.at(78)), 101);
    // Point 59 lies exactly halfway up the one-step rise from point 40: to even.
    ASSERT_EQ(uint8_t(expected.first.at(59)), 100);
    ASSERT_EQ(uint8_t(expected.first.at(60)), 101);

    ASSERT_TRUE(waitFor([&] { return countIn(MapFollowUpCode) >= 1 && session().queue().current().isEmpty(); }, 8000))
        << linkReport();
    const QList<LoggedFrame> writes = SimFrameLog::select(frames(), true, MapWriteCode);
    ASSERT_EQ(writes.size(), 1);
    EXPECT_EQ(writes[0].status, QStringLiteral("ok"));
    EXPECT_EQ(writes[0].plain.mid(1, 1 + CorrectionMap::Points), expected.first);
    const QList<LoggedFrame> followUps = SimFrameLog::select(frames(), true, MapFollowUpCode);
    ASSERT_EQ(followUps.size(), 1);
    EXPECT_EQ(followUps[0].plain.mid(1, 21), CommandBodies::mapEditorFollowUp());

    // The controller's block now holds the edited map, and reading it back
    // shows the same curve.
    session().setCommandRetries(5);
    session().QueueCommand(CommandBodies::readAll());
    const int settingsAnswers = countOut(0x66);
    ASSERT_TRUE(waitFor([&] { return countOut(0x66) > settingsAnswers && session().queue().current().isEmpty(); }, 8000));
    ASSERT_TRUE(waitFor([&] { return mapOfStoredBlock() == expected.first.mid(1); }, 3000));
    EXPECT_EQ(page().correctionMap().writeCommands().first, expected.first);
}

// The simulator used to fill both tables from a formula at once, so the
// curves showed at warm idle; it now learns them as a controller does, the
// table of the fuel in use at the MAP the car runs at, so the car drives its
// road cycle on each fuel first (at 100 times the clock, a few seconds each).
TEST_F(E2eMap, BothLearnedCurvesAppearAfterDrivingOnEachFuel)
{
    startBoth({QStringLiteral("--warm"), QStringLiteral("--speed"), QStringLiteral("100")});
    window->component<QAction>(kCom)->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    for (const char *fuel : {"petrol", "gas"}) {
        sim->command(QStringLiteral("fuel %1").arg(QLatin1String(fuel)));
        sim->command(QStringLiteral("drive road 5.3"));
        ASSERT_TRUE(waitFor([&] {
            const QString s = sim->ask(QStringLiteral("status"), QStringLiteral("engine "));
            return !s.isEmpty() && !s.contains(QLatin1String("driving"));
        }, 30000)) << fuel;
    }
    const MapChart::Parts &chart = page().chart();
    // The counter steps by 3 through 0..255 at one frame per poll: one round
    // is 86 polls, about 21 s; the curves are rebuilt in the middle of it.
    polls(90);
    ASSERT_TRUE(waitFor([&] { return chart.series[MapChart::GasCurve]->count() > 0
                                     && chart.series[MapChart::PetrolCurve]->count() > 0; },
                        40000))
        << linkReport();
    for (auto index : {MapChart::GasCurve, MapChart::PetrolCurve}) {
        const QList<QPointF> curve = chart.series[size_t(index)]->points();
        EXPECT_GE(curve.size(), 10);
        for (const QPointF &p : curve) {
            EXPECT_GE(p.x(), 1.0);
            EXPECT_LE(p.x(), 9.0);
            EXPECT_GE(p.y(), 15);
            EXPECT_LE(p.y(), 105);
        }
    }
    // Selector 3 (both curves): no raw points.
    EXPECT_EQ(chart.series[MapChart::GasPoints]->count(), 0);
    EXPECT_EQ(chart.series[MapChart::WorkingPoint]->count(), 4);

    // The curves stay on the chart after the link ends.
    const int shown = chart.series[MapChart::PetrolCurve]->count();
    window->rozlacz1->trigger();
    ASSERT_TRUE(waitDisconnected(5000));
    EXPECT_EQ(chart.series[MapChart::PetrolCurve]->count(), shown);
}

} // namespace
