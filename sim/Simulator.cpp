#include "sim/Simulator.h"

#include "sim/StateFile.h"

#include <algorithm>

namespace {
constexpr qint64 EngineStepUs = 100000;
}

Simulator::Simulator(const SimOptions &options)
    : m_options(options)
    , m_block(SettingsBlock::factory())
    , m_engine(options.seed)
    , m_handler(m_block, m_engine)
    , m_faults(options.seed + 1)
{
    if (!options.statePath.isEmpty()) {
        if (const auto stored = StateFile::load(options.statePath)) {
            if (!m_block.assign(*stored))
                m_notes << QStringLiteral("state file %1 holds no settings block; starting from factory settings")
                               .arg(options.statePath);
        }
    }
    if (options.firmware)
        m_block.setFirmware((*options.firmware)[0], (*options.firmware)[1], (*options.firmware)[2]);
    if (options.warm)
        m_engine.setWarm();
    if (options.ratio)
        m_engine.setTrueRatio(*options.ratio);
    if (options.ratioCurve)
        m_engine.setRatioCurve(*options.ratioCurve);
    m_pacer.setPaced(options.pace);
    if (options.onePiece)
        m_faults.config().pieceBytes = 0;
    if (!options.logPath.isEmpty() && !m_log.open(options.logPath))
        m_notes << QStringLiteral("cannot write the log %1").arg(options.logPath);
    saveState();
}

QStringList Simulator::takeNotes()
{
    QStringList out;
    out.swap(m_notes);
    return out;
}

void Simulator::advanceTo(qint64 nowUs)
{
    if (m_lastUs < 0)
        m_lastUs = nowUs;
    // Engine time runs `speed` times the clock; the line keeps its own pace.
    m_engineDueUs += double(nowUs - m_lastUs) * m_options.speed;
    m_lastUs = nowUs;
    // Long gaps (a stopped process, a slow machine, a fast engine) are walked
    // in steps so the engine's first-order lags stay stable.
    while (m_engineDueUs >= 1) {
        const qint64 step = std::min<qint64>(EngineStepUs, qint64(m_engineDueUs));
        advanceEngine(step);
        m_engineDueUs -= double(step);
    }
    fileNewFaults();
}

void Simulator::advanceEngine(qint64 stepUs)
{
    if (!m_drive) {
        m_engine.advance(stepUs, m_block);
        return;
    }
    Drive &d = *m_drive;
    const int step = d.cycle.stepAt(d.elapsedS);
    if (step != d.step && d.step >= 0)
        reportStep(d.step);
    d.step = step;
    const DriveCycle::Step &s = d.cycle.steps()[size_t(step)];
    const bool turbo = m_block.bit(SettingsBlock::Flags34, 3);
    m_engine.setTargetRpm(s.rpm);
    m_engine.setLoad(EngineModel::loadFor(s.mapKpa, s.rpm, turbo));
    m_engine.advance(stepUs, m_block);
    d.elapsedS += double(stepUs) / 1e6;
    if (d.elapsedS >= d.totalS)
        stopDrive();
}

void Simulator::reportStep(int step)
{
    const DriveCycle::Step &s = m_drive->cycle.steps()[size_t(step)];
    StepReport r;
    r.step = step;
    r.phase = QString::fromLatin1(s.phase);
    r.mapKpa = s.mapKpa;
    r.rpm = s.rpm;
    r.onGas = m_engine.onGas();
    r.ecuTrim = m_engine.ecuTrim();
    r.petrolMs = EngineModel::petrolMsAt(m_engine.mapKpa()) * m_engine.ecuTrim();
    auto it = std::find_if(m_driveReport.begin(), m_driveReport.end(), [&](const StepReport &e) { return e.step == step; });
    if (it != m_driveReport.end())
        *it = r;
    else
        m_driveReport.append(r);
}

void Simulator::startDrive(const DriveCycle &cycle, double minutes)
{
    m_drive = Drive{cycle, 0, minutes * 60, -1};
    m_driveReport.clear();
}

void Simulator::stopDrive()
{
    if (!m_drive)
        return;
    if (m_drive->step >= 0)
        reportStep(m_drive->step);
    m_drive.reset();
    m_engine.setTargetRpm(0);
    m_engine.setLoad(0);
}

void Simulator::requestFuel(bool gas)
{
    m_block.set(SettingsBlock::FuelRequest, gas ? 3 : 2);
    m_engine.fuelRequested(gas);
    saveState();
}

void Simulator::fileNewFaults()
{
    const QList<uint8_t> codes = m_engine.takeNewFaultCodes();
    if (codes.isEmpty())
        return;
    for (uint8_t c : codes)
        m_block.registerFault(c);
    saveState();
}

void Simulator::lineInput(const QByteArray &bytes, qint64 nowUs)
{
    advanceTo(nowUs);
    m_reader.feed(bytes, nowUs);
    process();
}

void Simulator::tick(qint64 nowUs)
{
    advanceTo(nowUs);
    m_reader.poll(nowUs);
    process();
}

void Simulator::process()
{
    for (const ReceivedCommand &c : m_reader.take()) {
        m_log.received(c);
        if (c.status != ReceivedCommand::Status::Ok) {
            ++m_counters.rejected;
            continue;
        }
        ++m_counters.commands;
        const QByteArray body = c.body();
        const CommandHandler::Result r = m_handler.handle(body);
        if (r.blockChanged)
            saveState();
        if (r.answer.isEmpty())
            continue;
        ++m_counters.answers;
        const bool startup = c.code() == 0x66 && body.size() > 1 && uint8_t(body[1]) == 0x01;
        const bool queued = c.code() != 0x55 && !startup;
        if (auto t = m_faults.shape(r.answer, r.settingsAnswer, queued))
            m_pacer.enqueue(std::move(*t), m_lastUs);
    }
}

void Simulator::wrote(int count, qint64 nowUs)
{
    m_pacer.wrote(count, nowUs);
    for (const Transmission &t : m_pacer.takeFinished())
        m_log.sent(t);
}

qint64 Simulator::nextWakeUs(qint64 nowUs) const
{
    qint64 next = nowUs + EngineStepUs;
    if (const auto d = m_reader.deadline())
        next = std::min(next, *d);
    if (const auto p = m_pacer.nextUs(nowUs))
        next = std::min(next, *p);
    return std::max(next, nowUs);
}

void Simulator::lineLost()
{
    m_pacer.clear();
    m_reader.reset();
}

Simulator::LineRequest Simulator::takeLineRequest()
{
    const LineRequest r = m_lineRequest;
    m_lineRequest = LineRequest::None;
    return r;
}

void Simulator::saveState()
{
    if (m_options.statePath.isEmpty())
        return;
    if (!StateFile::save(m_options.statePath, m_block.bytes()))
        m_notes << QStringLiteral("cannot write the state file %1").arg(m_options.statePath);
}

QString Simulator::status() const
{
    const EngineModel &e = m_engine;
    return QStringLiteral("engine %1, ignition %2, %3 rpm, load %4 %, MAP %5 kPa, P1 %6 bar, reducer %7 C, gas %8 C, "
                          "fuel %9%10, gas ratio %15, ECU trim %16 %%17; commands %11, rejected %12, answers %13; "
                          "line faults: %14")
        .arg(e.running() ? QStringLiteral("running") : QStringLiteral("stopped"))
        .arg(e.ignition() ? QStringLiteral("on") : QStringLiteral("off"))
        .arg(qRound(e.rpm()))
        .arg(e.load(), 0, 'f', 0)
        .arg(e.mapKpa(), 0, 'f', 0)
        .arg(e.p1Bar(), 0, 'f', 2)
        .arg(e.reducerC(), 0, 'f', 1)
        .arg(e.gasC(), 0, 'f', 1)
        .arg(e.onGas() ? QStringLiteral("gas") : QStringLiteral("petrol"))
        .arg(e.calibrating() ? QStringLiteral(" (calibrating)") : QString())
        .arg(m_counters.commands)
        .arg(m_counters.rejected)
        .arg(m_counters.answers)
        .arg(m_faults.describe())
        .arg(e.ratioCurve().empty() ? QString::number(e.trueRatio(), 'f', 2)
                                    : QStringLiteral("curve ") + e.ratioCurve().text())
        .arg((e.ecuTrim() - 1) * 100, 0, 'f', 1)
        .arg(m_drive ? QStringLiteral(", driving %1 of %2 s").arg(m_drive->elapsedS, 0, 'f', 0).arg(m_drive->totalS, 0, 'f', 0)
                     : QString());
}
