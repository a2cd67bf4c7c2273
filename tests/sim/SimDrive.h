#pragma once

#include "SimTestSupport.h"
#include "sim/Simulator.h"

#include <QList>

// Runs a Simulator on an invented clock and collects what it writes.
namespace SimTest {

struct Written
{
    QList<QByteArray> writes;
    QList<qint64> times;
    QByteArray all() const
    {
        QByteArray a;
        for (const QByteArray &w : writes)
            a += w;
        return a;
    }
};

// Lets the simulator write everything it has, moving time as it asks.
inline Written drain(Simulator &sim, qint64 &t)
{
    Written w;
    for (int guard = 0; guard < 100000; ++guard) {
        const QByteArray out = sim.pendingOutput(t);
        if (!out.isEmpty()) {
            w.writes << out;
            w.times << t;
            sim.wrote(int(out.size()), t);
            continue;
        }
        const auto next = sim.pacer().nextUs(t);
        if (!next)
            break;
        t = std::max(t + 1, *next);
        sim.tick(t);
    }
    return w;
}

// Sends one command and returns the decoded answer (empty when none).
inline QByteArray ask(Simulator &sim, const QByteArray &body, qint64 &t)
{
    sim.lineInput(lineFor(body), t);
    t += 1000;
    sim.tick(t);
    return decoded(drain(sim, t).all());
}

} // namespace SimTest
