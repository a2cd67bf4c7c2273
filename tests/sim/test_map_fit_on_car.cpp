// The map fit against the simulated car: the car drives the road cycle on
// petrol and on gas, the controller learns its two tables as it goes, the fit
// turns them into a map, the map goes to the controller as the program sends
// it, and on the next drive on gas the ECU needs (almost) no trim.
#include "SimDrive.h"
#include "calibration/MapFit.h"
#include "sim/DriveCycle.h"
#include "sim/SimConsole.h"
#include "sim/Simulator.h"

#include "link/CommandBodies.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr qint64 S = 1000000;

class FitOnCar : public ::testing::Test
{
protected:
    FitOnCar() : sim(options()), console(sim) {}
    static SimOptions options()
    {
        SimOptions o;
        o.warm = true;
        o.ratioCurve = RatioCurve::parse(QStringLiteral("2:1.18,6:1.10,10:1.24,16:1.05"));
        return o;
    }

    void say(const QString &line)
    {
        const QString answer = console.execute(line);
        ASSERT_FALSE(answer.startsWith(QLatin1String("error"))) << qPrintable(line) << ": " << qPrintable(answer);
    }
    void runFor(qint64 us)
    {
        for (const qint64 end = t + us; t < end;) {
            t += 100000;
            sim.tick(t);
        }
    }
    // One lap of the road cycle on one fuel; returns the trim per step.
    QList<Simulator::StepReport> driveLap(bool gas)
    {
        say(gas ? QStringLiteral("fuel gas") : QStringLiteral("fuel petrol"));
        runFor(15 * S); // switched over, the trim settled at idle
        say(QStringLiteral("drive road %1").arg(DriveCycle::road().lengthS() / 60));
        runFor(qint64(DriveCycle::road().lengthS() * S) + S);
        EXPECT_FALSE(sim.driving());
        return sim.driveReport();
    }
    MapFit::Table table(bool gas)
    {
        MapFit::Table out{};
        for (int p = 0; p < MapFit::TableSize; ++p)
            out[size_t(p)] = sim.engine().tables().entry(gas, p);
        return out;
    }
    CorrectionMap map()
    {
        CorrectionMap m;
        m.loadFromSettingsBlock(sim.block().bytes());
        return m;
    }

    Simulator sim;
    SimConsole console;
    qint64 t = 1 * S;
};

double worstTrim(const QList<Simulator::StepReport> &report, bool gas)
{
    double worst = 0;
    for (const Simulator::StepReport &r : report)
        if (r.onGas == gas && r.phase != QLatin1String("idle"))
            worst = std::max(worst, std::abs(r.ecuTrim - 1));
    return worst;
}

TEST_F(FitOnCar, OneFitTakesTheTrimAwayAcrossTheDrivenRange)
{
    EXPECT_EQ(sim.engine().tables().filled(false), 0) << "the tables start empty";
    EXPECT_EQ(sim.engine().tables().filled(true), 0);

    const QList<Simulator::StepReport> onPetrol = driveLap(false);
    EXPECT_LT(worstTrim(onPetrol, false), 0.005) << "on petrol the ECU needs no trim";
    const QList<Simulator::StepReport> before = driveLap(true);
    ASSERT_EQ(before.size(), int(DriveCycle::road().steps().size()));
    EXPECT_GT(worstTrim(before, true), 0.06) << "the factory map is off by more than 6 % somewhere";

    // Both tables cover MAP 25..95 kPa.
    for (bool gas : {false, true}) {
        for (int p = 25; p <= 95; ++p)
            EXPECT_GT(sim.engine().tables().entry(gas, p), 0) << (gas ? "gas" : "petrol") << " at " << p << " kPa";
    }

    const MapFit::Result fit = MapFit::propose(table(false), table(true), map());
    ASSERT_TRUE(fit.ok()) << int(fit.refusal) << " " << fit.usablePositions;
    EXPECT_FALSE(fit.capHit);
    SimTest::ask(sim, fit.proposal.writeCommands().first, t);
    SimTest::ask(sim, fit.proposal.writeCommands().second, t);
    ASSERT_EQ(map().values(), fit.proposal.values()) << "the controller holds the proposal";

    const QList<Simulator::StepReport> after = driveLap(true);
    for (int i = 0; i < after.size(); ++i) {
        const Simulator::StepReport &r = after[i];
        if (r.phase == QLatin1String("idle"))
            continue;
        EXPECT_NEAR(r.ecuTrim, 1.0, 0.03) << r.phase.toStdString() << " " << r.mapKpa << " kPa, before "
                                           << (before[i].ecuTrim - 1) * 100 << " %";
    }
    // The gas curve lies on the petrol curve.
    for (int p = 25; p <= 95; ++p)
        EXPECT_NEAR(sim.engine().tables().value(true, p), sim.engine().tables().value(false, p), 0.2) << p << " kPa";
    // For the record: the ECU's trim per step, before and after the fit.
    QString lines;
    for (int i = 0; i < after.size(); ++i)
        lines += QStringLiteral("%1 %2 kPa: %3 % -> %4 %\n")
                     .arg(after[i].phase, -5)
                     .arg(after[i].mapKpa, 2, 'f', 0)
                     .arg((before[i].ecuTrim - 1) * 100, 5, 'f', 1)
                     .arg((after[i].ecuTrim - 1) * 100, 5, 'f', 1);
    std::printf("%s", qPrintable(lines));
}

} // namespace
