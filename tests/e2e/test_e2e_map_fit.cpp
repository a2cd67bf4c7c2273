// "Fit to curves" end to end: zenu-sim with a car whose gas/petrol ratio
// changes with load drives its road cycle on petrol and then on gas, the
// program receives the two learned tables over the line, the fit is computed
// from them and written, and on the next drive on gas the ECU's trim is gone
// and the gas curve lies on the petrol curve.
//
// With ZENU_MAPFIT_SHOTS=<dir> (and the program on a real display, e.g.
// QT_QPA_PLATFORM=xcb under Xvfb) the screen is taken with ImageMagick's
// `import` at the three moments worth looking at.
#include "E2eFixture.h"

#include "app/calibration/MapChart.h"
#include "app/calibration/MapFitPanel.h"
#include "app/calibration/MapPage.h"
#include "app/live/LiveDisplay.h"

#include "calibration/TimeCurves.h"
#include "live/InjectionTimeTables.h"

#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QXYSeries>

#include <cstdio>

namespace {

constexpr int MapWriteCode = 0x0B;
constexpr int MapFollowUpCode = 0x20;
// One full round of the table stream: 86 answers (position +3 each).
constexpr int StreamRound = 90;

struct StepTrim
{
    int mapKpa;
    bool gas;
    double trimPct;
};

QList<StepTrim> parseReport(const QString &report)
{
    QList<StepTrim> out;
    const QString body = report.section(QStringLiteral("): "), 1);
    for (const QString &token : body.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList f = token.split(QLatin1Char(':'));
        if (f.size() == 3)
            out.append({f[0].toInt(), f[1] == QLatin1String("gas"), f[2].toDouble()});
    }
    return out;
}

class E2eMapFit : public E2eFixture
{
protected:
    void drive(const QString &fuel)
    {
        sim->command(QStringLiteral("fuel ") + fuel);
        sim->command(QStringLiteral("drive road 5.3"));
        // 318 s of engine time at 100 times the clock: about 3.2 s.
        ASSERT_TRUE(waitFor([&] {
            const QString s = sim->ask(QStringLiteral("status"), QStringLiteral("engine "));
            return !s.isEmpty() && !s.contains(QLatin1String("driving"));
        }, 30000));
    }
    QList<StepTrim> report()
    {
        return parseReport(sim->ask(QStringLiteral("drive report"), QStringLiteral("drive report")));
    }
    const InjectionTimeTables &tables() { return window->liveDisplay().timeTables(); }
    // A full round of the stream (the program's tables now hold what the
    // controller learned), then the next rebuild of the curves from them.
    void streamRound()
    {
        polls(StreamRound);
        ASSERT_TRUE(waitFor([&] { return TimeCurves::rebuildsAt(tables().lastStreamPosition()); }, 60000));
        polls(1);
    }
    QPushButton *button(const char *name) { return window->component<QPushButton>(QString::fromLatin1(name)); }

    void shot(const char *name)
    {
        const QByteArray dir = qgetenv("ZENU_MAPFIT_SHOTS");
        if (dir.isEmpty())
            return;
        window->showMaximized();
        window->component<QTabWidget>(QStringLiteral("tab_control"))
            ->setCurrentWidget(window->component(QStringLiteral("TabSheet4")));
        QTest::qWait(1500);
        QProcess::execute(QStringLiteral("import"),
                          {QStringLiteral("-window"), QStringLiteral("root"),
                           QString::fromLocal8Bit(dir) + QLatin1Char('/') + QString::fromLatin1(name)});
    }
};

TEST_F(E2eMapFit, OneFitPutsTheGasCurveOnThePetrolCurve)
{
    startBoth({QStringLiteral("--warm"), QStringLiteral("--speed"), QStringLiteral("100"),
               QStringLiteral("--ratio-curve"), QStringLiteral("2:1.18,6:1.10,10:1.24,16:1.05")});
    window->component<QAction>(kCom)->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    if (!qEnvironmentVariableIsEmpty("ZENU_MAPFIT_SHOTS"))
        window->show();

    drive(QStringLiteral("petrol"));
    drive(QStringLiteral("gas"));
    const QList<StepTrim> before = report();
    ASSERT_GE(before.size(), 71);
    double worstBefore = 0;
    for (const StepTrim &s : before) {
        EXPECT_TRUE(s.gas) << s.mapKpa;
        worstBefore = std::max(worstBefore, std::abs(s.trimPct));
    }
    EXPECT_GT(worstBefore, 6.0) << "the factory map is off by more than 6 % somewhere";
    streamRound(); // the program has both tables as learned, and the curves from them
    shot("1-curves-apart.png");

    button("MapFitButton")->click();
    const MapFitFlow &flow = window->mapFit().flow();
    ASSERT_TRUE(flow.hasProposal()) << flow.lastResult().usablePositions;
    const MapFit::Result fit = flow.lastResult();
    EXPECT_GE(fit.usablePositions, 60);
    EXPECT_LE(fit.fromMs, 2.4);
    EXPECT_GE(fit.toMs, 7.2);
    EXPECT_FALSE(window->component<QLabel>(QStringLiteral("MapFitSummary"))->text().isEmpty());
    shot("2-proposal.png");

    const int writesBefore = countIn(MapWriteCode);
    button("MapFitWriteButton")->click();
    ASSERT_TRUE(waitFor([&] { return countIn(MapFollowUpCode) >= 1 && session().queue().current().isEmpty(); }, 10000))
        << linkReport();
    const QList<LoggedFrame> writes = SimFrameLog::select(frames(), true, MapWriteCode);
    ASSERT_EQ(writes.size(), writesBefore + 1);
    EXPECT_EQ(writes.last().plain.mid(1, 1 + CorrectionMap::Points), fit.proposal.writeCommands().first);
    EXPECT_EQ(window->mapPage().correctionMap().values(), fit.proposal.values());

    drive(QStringLiteral("gas"));
    const QList<StepTrim> after = report();
    ASSERT_EQ(after.size(), before.size());
    std::string table;
    for (int i = 0; i < after.size(); ++i) {
        EXPECT_TRUE(after[i].gas);
        EXPECT_LE(std::abs(after[i].trimPct), 3.0) << after[i].mapKpa << " kPa";
        table += std::to_string(after[i].mapKpa) + " kPa: " + std::to_string(before[i].trimPct) + " % -> "
            + std::to_string(after[i].trimPct) + " %\n";
    }
    std::printf("ECU trim on gas per load step, before -> after the fit:\n%s", table.c_str());

    streamRound();
    for (int p = 25; p <= 95; ++p) {
        const int petrol = tables().PetrolTimeTable()[size_t(p)], gas = tables().GasTimeTable()[size_t(p)];
        ASSERT_GT(petrol, 0) << p;
        EXPECT_LE(std::abs(gas - petrol), 2) << p << " kPa: gas " << gas / 10.0 << " ms, petrol " << petrol / 10.0;
    }
    // And as drawn: at every MAP the gas curve reaches, the petrol curve is
    // within 0.2 ms of it.
    const MapChart::Parts &chart = window->mapPage().chart();
    const QList<QPointF> gasCurve = chart.series[MapChart::GasCurve]->points();
    const QList<QPointF> petrolCurve = chart.series[MapChart::PetrolCurve]->points();
    ASSERT_GE(gasCurve.size(), 10);
    ASSERT_GE(petrolCurve.size(), 10);
    auto petrolTimeAt = [&](double kpa) -> std::optional<double> {
        for (int i = 1; i < petrolCurve.size(); ++i) {
            const QPointF a = petrolCurve[i - 1], b = petrolCurve[i];
            if ((a.y() <= kpa && kpa <= b.y()) && b.y() > a.y())
                return a.x() + (b.x() - a.x()) * (kpa - a.y()) / (b.y() - a.y());
        }
        return std::nullopt;
    };
    int compared = 0;
    for (const QPointF &g : gasCurve) {
        if (const auto t = petrolTimeAt(g.y())) {
            EXPECT_NEAR(g.x(), *t, 0.2) << g.y() << " kPa";
            ++compared;
        }
    }
    EXPECT_GE(compared, 10);
    if (::testing::Test::HasFailure()) {
        std::string curves = "gas curve:";
        for (const QPointF &g : gasCurve)
            curves += " " + std::to_string(g.x()) + "@" + std::to_string(g.y());
        curves += "\npetrol curve:";
        for (const QPointF &g : petrolCurve)
            curves += " " + std::to_string(g.x()) + "@" + std::to_string(g.y());
        std::printf("%s\n", curves.c_str());
        std::string t = "tables:";
        for (int p = 20; p <= 100; ++p)
            t += " " + std::to_string(p) + ":" + std::to_string(tables().PetrolTimeTable()[size_t(p)]) + "/"
                + std::to_string(tables().GasTimeTable()[size_t(p)]);
        std::printf("%s\n", t.c_str());
    }
    shot("3-after-driving-again.png");
}

} // namespace
