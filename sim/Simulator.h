#pragma once

#include "sim/CommandHandler.h"
#include "sim/CommandReader.h"
#include "sim/DriveCycle.h"
#include "sim/EngineModel.h"
#include "sim/FrameLog.h"
#include "sim/LineFaults.h"
#include "sim/OutputPacer.h"
#include "sim/SettingsBlock.h"
#include "sim/SimOptions.h"

#include <QString>
#include <optional>

// The whole controller without its line: bytes in, bytes out, with time
// passed in by the caller (monotonic microseconds). The program's loop owns
// the pseudo-terminal and the clock; tests drive this class directly.
class Simulator
{
public:
    explicit Simulator(const SimOptions &options);

    // Messages for the user collected at start-up (state file problems...).
    QStringList takeNotes();

    void lineInput(const QByteArray &bytes, qint64 nowUs);
    void tick(qint64 nowUs);
    QByteArray pendingOutput(qint64 nowUs) const { return m_pacer.pending(nowUs); }
    void wrote(int count, qint64 nowUs);
    // The latest time at which tick() should run again.
    qint64 nextWakeUs(qint64 nowUs) const;

    // The far end went away (or the line was unplugged): what was still
    // going out is lost, a half-read command too.
    void lineLost();

    // Requests from the console that the loop carries out.
    enum class LineRequest { None, Unplug, Plug };
    void requestLine(LineRequest r) { m_lineRequest = r; }
    LineRequest takeLineRequest();
    void requestQuit() { m_quit = true; }
    bool quitRequested() const { return m_quit; }

    SettingsBlock &block() { return m_block; }
    EngineModel &engine() { return m_engine; }
    LineFaults &faults() { return m_faults; }
    OutputPacer &pacer() { return m_pacer; }
    const CommandHandler &handler() const { return m_handler; }
    const CommandReader &reader() const { return m_reader; }

    struct Counters
    {
        int commands = 0;
        int rejected = 0; // bad checksum, unknown code, incomplete
        int answers = 0;  // handed to the line (before faults)
    };
    const Counters &counters() const { return m_counters; }
    QString status() const;

    // Drives `cycle` for `minutes` of engine time (repeating it as needed),
    // then idles. Replaces a drive under way.
    void startDrive(const DriveCycle &cycle, double minutes);
    void stopDrive();
    bool driving() const { return m_drive.has_value(); }
    // Per step of the last drive, at the end of the step: what the ECU's trim
    // had settled to there. A repeated step keeps its latest lap.
    struct StepReport
    {
        int step = 0;
        QString phase;
        double mapKpa = 0;   // the step's target
        int rpm = 0;
        bool onGas = false;
        double ecuTrim = 1;  // factor on the petrol time
        double petrolMs = 0; // the petrol time the controller sees
    };
    const QList<StepReport> &driveReport() const { return m_driveReport; }
    // Puts the car's fuel switch to gas or petrol, as the program's switch does.
    void requestFuel(bool gas);
    // Writes the block to the state file now (also done after every change).
    void saveState();
    // Puts faults the engine raised into the registered-fault log.
    void fileNewFaults();

private:
    void advanceTo(qint64 nowUs);
    void advanceEngine(qint64 stepUs);
    void reportStep(int step);

    struct Drive
    {
        DriveCycle cycle;
        double elapsedS = 0;
        double totalS = 0;
        int step = -1;
    };
    void process();

    SimOptions m_options;
    SettingsBlock m_block;
    EngineModel m_engine;
    CommandHandler m_handler;
    CommandReader m_reader;
    LineFaults m_faults;
    OutputPacer m_pacer;
    FrameLog m_log;
    Counters m_counters;
    QStringList m_notes;
    qint64 m_lastUs = -1;
    double m_engineDueUs = 0; // engine time not yet walked
    LineRequest m_lineRequest = LineRequest::None;
    std::optional<Drive> m_drive;
    QList<StepReport> m_driveReport;
    bool m_quit = false;
};
