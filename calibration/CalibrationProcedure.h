#pragma once

#include "calibration/CalibrationSamples.h"
#include "calibration/CalibrationView.h"
#include "calibration/MapShape.h"

#include "link/LinkInterfaces.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>

// The automatic calibration ("Adaptacja"): about four and a half minutes of
// fuel switching and sampling, three measurement reports, the multiplier and
// a new correction map written to the controller, then a read-all.
//
// One step per tick of the injected timer (`Adaptacja_Timer`); each step sets
// the interval to the next one. Measured values arrive through
// StoreCalibrationSample from every live frame decoded while a run is on.
// Everything the run shows, asks or sends goes through the CalibrationView.
//
// The step number lives in the caller's `CalibrationStep` (other parts of the
// window read it): -1 idle, then 0..8, 99, 9..14.
class CalibrationProcedure
{
public:
    static constexpr int Idle = -1;
    static constexpr int ReportStep = 99; // between 8 and 9
    static constexpr int Retries = 5;
    static constexpr int FirstInterval = 1000;
    static constexpr int ProgressMaximum = 100;
    static constexpr int ProgressSteps = 14;

    // Message rows of the language table.
    static constexpr int EngineOffRow = 13;
    static constexpr int MapQuestionRow = 14;
    static constexpr int P1QuestionRow = 15;
    static constexpr int TooColdRow = 16;
    static constexpr int RunningRow = 17;
    static constexpr int MultiplierRow = 18;
    static constexpr int FinishedRow = 19;
    static constexpr int CancelledRow = 20;
    static inline const QString InterruptedKey = QStringLiteral("calibration.interrupted");

    // Accepted averages of the checks, both ends inclusive.
    static constexpr int MapLow = 20, MapHigh = 60;
    static constexpr int P1Low = 50, P1High = 160;

    // Whether the stop routine queues the stop command: a sender (the STOP
    // button, a No at a check) does; the finish of a run does not.
    enum class StopSender { Button, None };

    CalibrationProcedure(CalibrationView &view, LinkTimer &timer, int &calibrationStep);

    // --- events
    void Button_startClick();
    void Button_stopClick(StopSender sender);
    void Adaptacja_TimerTimer();
    // Every complete live frame while a run is on; `position` is its byte 36.
    void StoreCalibrationSample(int position, const QByteArray &frame);
    void UpdateCalibrationStatistics() { m_samples.updateStatistics(); }
    // The link ended (by the user, a time-out or a lost port). A run stops at
    // once without the stop command, which could not be sent.
    void linkLost();

    // --- state
    int step() const { return m_step; }
    bool running() const { return m_step != Idle; }
    const CalibrationSamples &samples() const { return m_samples; }
    uint8_t calibrationMask() const { return m_mask; }
    // The map computed by the last run's step 12 (all 0 before).
    const std::array<int, MapShape::Points> &computedMap() const { return m_map; }

    // The multiplier in hundredths as the caption shows it: up to 15
    // significant digits, no trailing zeros, the locale's decimal separator.
    static QString multiplierText(int hundredths, const QLocale &locale = QLocale());
    // Bar position after s of the 14 steps.
    static int progressPosition(int s);

private:
    void setProgress(int s);
    void queue(const CommandBodies::Group &bodies);
    void queue(const QByteArray &body) { queue(CommandBodies::Group{body, {}, {}}); }
    // The MAP or P1 check: statistics, the timer held while the question is
    // open. False when the step must end here (No, or the run was stopped
    // while the question was open).
    bool averageAccepted(CalibrationSamples::Table table, int low, int high, int questionRow);
    void resultAndMap();
    void finish();
    uint8_t average(CalibrationSamples::Table t) const { return m_samples.average(t); }

    CalibrationView &m_view;
    LinkTimer &m_timer;
    int &m_step;
    CalibrationSamples m_samples;
    uint8_t m_mask = 0;
    std::array<int, MapShape::Points> m_map{};
};
