#include "sim/SimConsole.h"

#include "sim/EngineFault.h"
#include "sim/Simulator.h"

#include <QStringList>
#include <optional>

namespace {

QString error(const QString &what)
{
    return QStringLiteral("error: ") + what;
}

// "on"/"off", with a missing word meaning on.
std::optional<bool> onOff(const QStringList &w, int i)
{
    if (i >= w.size())
        return true;
    if (w[i] == QLatin1String("on"))
        return true;
    if (w[i] == QLatin1String("off"))
        return false;
    return std::nullopt;
}

std::optional<double> number(const QStringList &w, int i, double lo, double hi)
{
    if (i >= w.size())
        return std::nullopt;
    bool ok = false;
    const double v = w[i].toDouble(&ok);
    if (!ok || v < lo || v > hi)
        return std::nullopt;
    return v;
}

} // namespace

QString SimConsole::help()
{
    return QString::fromLatin1(
        "engine start|stop         start or stop the engine (start also switches the ignition on)\n"
        "ignition on|off           ignition key\n"
        "rpm N                     hold the engine at N rpm (0 or \"idle\": its own idle)\n"
        "idle                      back to idle: own speed, no load\n"
        "load P                    engine load 0..100 % (raises MAP and injection times)\n"
        "temp R [G]                reducer (and gas) temperature now, degrees C\n"
        "warm                      both temperatures at working level\n"
        "tank P                    tank level 0..100 %\n"
        "ratio X                   the car's true gas/petrol ratio at idle (0.5..2.5)\n"
        "ratio-curve MS:R,...      the ratio per petrol time, straight between (e.g. 2:1.18,6:1.10)\n"
        "fuel petrol|gas           the car's fuel switch\n"
        "drive road MINUTES        drive the road cycle (idle, town, coast, road) for MINUTES of engine time\n"
        "drive stop                stop driving: idle\n"
        "drive report              per step of the last drive: MAP, fuel and the ECU's trim at its end\n"
        "tables [clear]            what the controller has learned (or forget it)\n"
        "fault NAME on|off         NAME: ") + EngineFault::names() + QLatin1String("\n"
        "fault injector N on|off   gas injector of cylinder N (1..8)\n"
        "faults clear              every fault flag healthy again\n"
        "line silent [on|off]      never answer\n"
        "line firmware X.Y.Z|off   report another firmware in settings answers\n"
        "line wrong-echo [on|off]  answer queued commands with a wrong code\n"
        "line drop N               leave out every Nth answer (0: none)\n"
        "line chunks K [MS]        answers in pieces of K bytes, MS ms apart (0: off)\n"
        "line noise N              N random bytes before every answer (0: none)\n"
        "line pace on|off          7200-baud pacing of answers\n"
        "line unplug | line plug   close the pseudo-terminal / open a new one\n"
        "line clear                no line faults\n"
        "wait MS                   hold the following commands back for MS ms\n"
        "status                    one line about engine, commands and faults\n"
        "quit                      end the simulator\n");
}

QString SimConsole::execute(const QString &text)
{
    const QStringList w = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w.isEmpty())
        return {};
    const QString &cmd = w[0];
    EngineModel &e = m_sim.engine();

    if (cmd == QLatin1String("help"))
        return help();
    if (cmd == QLatin1String("status"))
        return m_sim.status();
    if (cmd == QLatin1String("quit") || cmd == QLatin1String("exit")) {
        m_sim.requestQuit();
        return QStringLiteral("bye");
    }
    if (cmd == QLatin1String("engine")) {
        if (w.value(1) == QLatin1String("start")) {
            e.startEngine();
            return QStringLiteral("engine started");
        }
        if (w.value(1) == QLatin1String("stop")) {
            e.stopEngine();
            return QStringLiteral("engine stopped");
        }
        return error(QStringLiteral("engine start|stop"));
    }
    if (cmd == QLatin1String("ignition")) {
        const auto on = w.size() == 2 ? onOff(w, 1) : std::nullopt;
        if (!on)
            return error(QStringLiteral("ignition on|off"));
        e.setIgnition(*on);
        return *on ? QStringLiteral("ignition on") : QStringLiteral("ignition off, engine stopped");
    }
    if (cmd == QLatin1String("rpm")) {
        if (w.value(1) == QLatin1String("idle")) {
            e.setTargetRpm(0);
            return QStringLiteral("rpm: own idle");
        }
        const auto v = number(w, 1, 0, 9000);
        if (!v)
            return error(QStringLiteral("rpm N (0..9000)"));
        e.setTargetRpm(int(*v));
        return QStringLiteral("rpm target %1").arg(int(*v));
    }
    if (cmd == QLatin1String("idle")) {
        e.setTargetRpm(0);
        e.setLoad(0);
        return QStringLiteral("idling");
    }
    if (cmd == QLatin1String("load")) {
        const auto v = number(w, 1, 0, 100);
        if (!v)
            return error(QStringLiteral("load P (0..100)"));
        e.setLoad(*v);
        return QStringLiteral("load %1 %").arg(*v);
    }
    if (cmd == QLatin1String("temp")) {
        const auto r = number(w, 1, -40, 127);
        const auto g = w.size() > 2 ? number(w, 2, -40, 127) : r;
        if (!r || !g)
            return error(QStringLiteral("temp R [G] (-40..127)"));
        e.setTemperatures(*r, *g);
        return QStringLiteral("reducer %1 C, gas %2 C").arg(*r).arg(*g);
    }
    if (cmd == QLatin1String("warm")) {
        e.setWarm();
        return QStringLiteral("warm");
    }
    if (cmd == QLatin1String("tank")) {
        const auto v = number(w, 1, 0, 100);
        if (!v)
            return error(QStringLiteral("tank P (0..100)"));
        e.setTankLevel(*v);
        return QStringLiteral("tank %1 %").arg(*v);
    }
    if (cmd == QLatin1String("ratio")) {
        const auto v = number(w, 1, 0.5, 2.5);
        if (!v)
            return error(QStringLiteral("ratio X (0.5..2.5)"));
        e.setTrueRatio(*v);
        return QStringLiteral("gas/petrol ratio %1").arg(*v);
    }
    if (cmd == QLatin1String("ratio-curve")) {
        const auto curve = w.size() == 2 ? RatioCurve::parse(w[1]) : std::nullopt;
        if (!curve)
            return error(QStringLiteral("ratio-curve MS:RATIO,... (times rising, ratios 0.5..2.5)"));
        e.setRatioCurve(*curve);
        return QStringLiteral("gas/petrol ratio curve %1").arg(curve->text());
    }
    if (cmd == QLatin1String("fuel")) {
        const QString f = w.value(1);
        if (w.size() != 2 || (f != QLatin1String("petrol") && f != QLatin1String("gas")))
            return error(QStringLiteral("fuel petrol|gas"));
        m_sim.requestFuel(f == QLatin1String("gas"));
        return QStringLiteral("fuel switch: %1").arg(f);
    }
    if (cmd == QLatin1String("drive"))
        return drive(w);
    if (cmd == QLatin1String("tables")) {
        if (w.value(1) == QLatin1String("clear")) {
            e.clearTables();
            return QStringLiteral("tables cleared");
        }
        if (w.size() != 1)
            return error(QStringLiteral("tables [clear]"));
        auto side = [&](bool gas) {
            const LearnedTables &t = e.tables();
            return t.filled(gas) ? QStringLiteral("%1 positions (MAP %2..%3 kPa)").arg(t.filled(gas)).arg(t.first(gas)).arg(t.last(gas))
                                 : QStringLiteral("empty");
        };
        return QStringLiteral("tables: petrol %1, gas %2").arg(side(false), side(true));
    }
    if (cmd == QLatin1String("fault"))
        return fault(w);
    if (cmd == QLatin1String("faults")) {
        if (w.value(1) != QLatin1String("clear"))
            return error(QStringLiteral("faults clear"));
        e.clearFaults();
        return QStringLiteral("no faults");
    }
    if (cmd == QLatin1String("line"))
        return line(w);
    if (cmd == QLatin1String("wait"))
        return error(QStringLiteral("wait MS wants a positive number"));
    return error(QStringLiteral("unknown command \"%1\" (try help)").arg(cmd));
}

QString SimConsole::drive(const QStringList &w)
{
    const QString what = w.value(1);
    if (what == QLatin1String("stop") && w.size() == 2) {
        m_sim.stopDrive();
        return QStringLiteral("drive stopped, idling");
    }
    if (what == QLatin1String("report") && w.size() == 2) {
        QStringList parts;
        for (const Simulator::StepReport &r : m_sim.driveReport())
            parts << QStringLiteral("%1:%2:%3%4").arg(r.mapKpa, 0, 'f', 0)
                         .arg(r.onGas ? QStringLiteral("gas") : QStringLiteral("petrol"))
                         .arg(r.ecuTrim >= 1 ? QStringLiteral("+") : QString())
                         .arg((r.ecuTrim - 1) * 100, 0, 'f', 1);
        return QStringLiteral("drive report (MAP kPa:fuel:ECU trim %): ") + parts.join(QLatin1Char(' '));
    }
    const auto cycle = DriveCycle::byName(what);
    const auto minutes = number(w, 2, 0.01, 1e6);
    if (!cycle || !minutes || w.size() != 3)
        return error(QStringLiteral("drive road MINUTES | drive stop | drive report"));
    m_sim.startDrive(*cycle, *minutes);
    return QStringLiteral("driving the %1 cycle (%2 s a lap) for %3 min").arg(what).arg(cycle->lengthS()).arg(*minutes);
}

QString SimConsole::fault(const QStringList &w)
{
    const auto id = EngineFault::byName(w.value(1));
    if (!id)
        return error(QStringLiteral("fault NAME on|off, NAME one of: ") + EngineFault::names());
    int cylinder = 0;
    int next = 2;
    if (*id == EngineFault::Injector) {
        const auto c = number(w, 2, 1, 8);
        if (!c)
            return error(QStringLiteral("fault injector N on|off (N = 1..8)"));
        cylinder = int(*c);
        next = 3;
    }
    const auto on = w.size() <= next + 1 ? onOff(w, next) : std::nullopt;
    if (!on)
        return error(QStringLiteral("fault %1 on|off").arg(w[1]));
    m_sim.engine().setFault(*id, *on, cylinder);
    m_sim.fileNewFaults();
    return QStringLiteral("fault %1%2 %3").arg(w[1], cylinder ? QStringLiteral(" %1").arg(cylinder) : QString(),
                                               *on ? QStringLiteral("on") : QStringLiteral("off"));
}

QString SimConsole::line(const QStringList &w)
{
    LineFaults::Config &c = m_sim.faults().config();
    const QString what = w.value(1);
    auto flag = [&](bool &target) -> QString {
        const auto on = w.size() <= 3 ? onOff(w, 2) : std::nullopt;
        if (!on)
            return error(QStringLiteral("line %1 on|off").arg(what));
        target = *on;
        return QStringLiteral("line %1 %2").arg(what, *on ? QStringLiteral("on") : QStringLiteral("off"));
    };
    if (what == QLatin1String("silent"))
        return flag(c.silent);
    if (what == QLatin1String("wrong-echo"))
        return flag(c.wrongEcho);
    if (what == QLatin1String("pace")) {
        bool paced = m_sim.pacer().paced();
        const QString r = flag(paced);
        m_sim.pacer().setPaced(paced);
        return r;
    }
    if (what == QLatin1String("firmware")) {
        if (w.value(2) == QLatin1String("off")) {
            c.firmware.reset();
            return QStringLiteral("line firmware: true version");
        }
        const auto v = w.size() == 2 ? std::optional<std::array<uint8_t, 3>>({3, 7, 6})
                                     : SimOptions::parseVersion(w.value(2));
        if (!v)
            return error(QStringLiteral("line firmware X.Y.Z|off"));
        c.firmware = v;
        return QStringLiteral("line firmware %1.%2.%3").arg((*v)[0]).arg((*v)[1]).arg((*v)[2]);
    }
    if (what == QLatin1String("drop")) {
        const auto n = number(w, 2, 0, 1000000);
        if (!n)
            return error(QStringLiteral("line drop N"));
        c.dropEvery = int(*n);
        return c.dropEvery ? QStringLiteral("line drops every answer number %1").arg(c.dropEvery)
                           : QStringLiteral("line drops nothing");
    }
    if (what == QLatin1String("chunks")) {
        const auto k = number(w, 2, 0, 100000);
        const auto ms = w.size() > 3 ? number(w, 3, 0, 60000) : std::optional<double>(20);
        if (!k || !ms)
            return error(QStringLiteral("line chunks K [MS]"));
        c.chunkBytes = int(*k);
        c.chunkPauseMs = int(*ms);
        return c.chunkBytes ? QStringLiteral("line chunks of %1 bytes, %2 ms apart").arg(c.chunkBytes).arg(c.chunkPauseMs)
                            : QStringLiteral("line chunks off");
    }
    if (what == QLatin1String("noise")) {
        const auto n = number(w, 2, 0, 4096);
        if (!n)
            return error(QStringLiteral("line noise N"));
        c.noiseBytes = int(*n);
        return QStringLiteral("line noise %1").arg(c.noiseBytes);
    }
    if (what == QLatin1String("unplug")) {
        m_sim.requestLine(Simulator::LineRequest::Unplug);
        return QStringLiteral("unplugging");
    }
    if (what == QLatin1String("plug")) {
        m_sim.requestLine(Simulator::LineRequest::Plug);
        return QStringLiteral("plugging in");
    }
    if (what == QLatin1String("clear")) {
        m_sim.faults().clear();
        return QStringLiteral("line faults off");
    }
    return error(QStringLiteral("line silent|firmware|wrong-echo|drop|chunks|noise|pace|unplug|plug|clear"));
}
