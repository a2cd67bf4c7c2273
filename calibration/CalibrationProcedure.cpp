#include "calibration/CalibrationProcedure.h"

#include <algorithm>

using CommandBodies::Group;
using Table = CalibrationSamples::Table;

namespace {

// The steps in the order they run, with where each one puts the bar (in
// fourteenths) and how long it waits for the next tick.
struct StepPlan
{
    int step;
    int progress;
    int interval;
    int next;
};

constexpr StepPlan Plan[] = {
    {0, 1, 8000, 1},    {1, 2, 30000, 2},   {2, 3, 20000, 3},   {3, 4, 20000, 4},
    {4, 5, 20000, 5},   {5, 6, 20000, 6},   {6, 7, 20000, 7},   {7, 8, 20000, 8},
    {8, 9, 20000, 99},  {99, 9, 20000, 9},  {9, 10, 15000, 10}, {10, 11, 15000, 11},
    {11, 12, 20000, 12}, {12, 13, 15000, 13}, {13, 14, 8000, 14},
};

const StepPlan *planOf(int step)
{
    for (const StepPlan &p : Plan) {
        if (p.step == step)
            return &p;
    }
    return nullptr;
}

// Points whose value is exactly 1.00 on a map nobody has calibrated yet.
constexpr int UntouchedMapPoints[] = {2, 30, 100, 200};
constexpr int UntouchedValue = 100;
// A fresh map reads a little lean; the first calibration allows for it.
constexpr int UntouchedAllowance = 2;

constexpr uint8_t FirstReportMark = 0x80;
constexpr uint8_t SingleCylinderMask = 0x01;
constexpr uint8_t AlternateCylinders = 0x55;

} // namespace

CalibrationProcedure::CalibrationProcedure(CalibrationView &view, LinkTimer &timer, int &calibrationStep)
    : m_view(view), m_timer(timer), m_step(calibrationStep)
{
}

int CalibrationProcedure::progressPosition(int s)
{
    return int(CommandBodies::roundHalfEven(double(ProgressMaximum) * s / ProgressSteps));
}

QString CalibrationProcedure::multiplierText(int hundredths, const QLocale &locale)
{
    QString text = QString::number(hundredths / 100.0, 'g', 15);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

void CalibrationProcedure::setProgress(int s)
{
    m_view.setProgressPosition(progressPosition(s));
}

void CalibrationProcedure::queue(const Group &bodies)
{
    m_view.queueCommands(Retries, bodies);
}

// --- start and stop ---------------------------------------------------------

void CalibrationProcedure::Button_startClick()
{
    // START is locked during a run; a second start would reset a run midway.
    if (running())
        return;
    if (m_view.faultIndicatorVisible())
        return;
    if (m_view.engineSpeed() < 1.0) {
        m_view.showMessage(m_view.messageText(EngineOffRow));
        return;
    }
    if (m_view.reducerTemperature() < 60.0) {
        m_view.showMessage(m_view.messageText(TooColdRow));
        return;
    }
    m_view.startProgress();
    m_view.setRunLock(true);
    m_step = 0;
    // With the interval it has: after a stop, the one of the stopped step.
    m_timer.start();
    m_samples.clear();
    m_view.setInfoText(m_view.messageText(RunningRow));
    // The cylinders on gas at START are the ones to bring back to gas; byte 20 of the last block
    // misses an LED clicked since.
    m_mask = m_view.litGasMask();
}

void CalibrationProcedure::Button_stopClick(StopSender sender)
{
    if (sender == StopSender::Button)
        queue(CommandBodies::calibrationStop());
    m_view.setRunLock(false);
    m_timer.stop();
    m_view.stopProgress();
    // From step 10 on the result is (about to be) in the controller; the
    // caption keeps whatever the run last said.
    if (m_step < 10 || m_step == Idle)
        m_view.setInfoText(m_view.messageText(CancelledRow));
    m_step = Idle;
}

void CalibrationProcedure::linkLost()
{
    if (!running())
        return;
    // Step 13 slowed the poll tick for the read-all that will never come.
    if (m_step == 14)
        m_view.setSlowPolling(false);
    Button_stopClick(StopSender::None);
    m_view.setInfoText(m_view.programText(InterruptedKey));
}

// --- samples --------------------------------------------------------------

void CalibrationProcedure::StoreCalibrationSample(int position, const QByteArray &frame)
{
    if (!running())
        return;
    m_samples.store(position, frame);
}

// --- steps ------------------------------------------------------------------

bool CalibrationProcedure::averageAccepted(Table table, int low, int high, int questionRow)
{
    UpdateCalibrationStatistics();
    m_timer.stop();
    const int avg = average(table);
    if (avg < low || avg > high) {
        const int asked = m_step;
        const bool go_on = m_view.askYesNo(m_view.messageText(questionRow));
        // Polling went on while the question was open; the link may be gone.
        if (m_step != asked)
            return false;
        if (!go_on) {
            Button_stopClick(StopSender::Button);
            return false;
        }
    }
    m_timer.start();
    return true;
}

void CalibrationProcedure::Adaptacja_TimerTimer()
{
    const StepPlan *plan = planOf(m_step);
    if (!plan) {
        if (m_step == 14)
            finish();
        return;
    }
    setProgress(plan->progress);
    const uint8_t M = m_mask;
    switch (m_step) {
    case 0:
    case 2:
        m_view.requestPetrolAsStart(m_step);
        break;
    case 1:
        if (!averageAccepted(Table::Manifold, MapLow, MapHigh, MapQuestionRow))
            return;
        m_view.requestPetrolAsStart(m_step);
        break;
    case 3:
        UpdateCalibrationStatistics();
        queue(Group{CommandBodies::calibrationReport(average(Table::InjectionTime),
                                                     m_samples.minimum(Table::InjectionTime), FirstReportMark),
                    CommandBodies::requestGas(SingleCylinderMask),
                    {}});
        break;
    case 4:
        queue(CommandBodies::requestGas(M & AlternateCylinders));
        break;
    case 5:
        if (!averageAccepted(Table::GasPressure, P1Low, P1High, P1QuestionRow))
            return;
        queue(CommandBodies::requestGas(M));
        break;
    case 6:
    case 7:
    case 9:
    case 10:
        queue(CommandBodies::requestPetrol(M));
        break;
    case 8:
        UpdateCalibrationStatistics();
        queue(CommandBodies::calibrationReport(average(Table::InjectionTime),
                                               m_samples.minimum(Table::InjectionTime),
                                               average(Table::Multiplier)));
        break;
    case ReportStep:
        queue(CommandBodies::requestGas(M));
        break;
    case 11:
        UpdateCalibrationStatistics();
        queue(Group{CommandBodies::calibrationReport(average(Table::InjectionTime),
                                                     m_samples.minimum(Table::InjectionTime),
                                                     average(Table::Multiplier)),
                    CommandBodies::requestGas(M),
                    {}});
        break;
    case 12:
        resultAndMap();
        break;
    case 13:
        m_timer.setInterval(plan->interval);
        m_view.showWindowReady();
        m_view.setSlowPolling(true);
        queue(CommandBodies::calibrationEnd());
        m_step = plan->next;
        return;
    }
    m_timer.setInterval(plan->interval);
    m_step = plan->next;
}

void CalibrationProcedure::resultAndMap()
{
    UpdateCalibrationStatistics();
    const QByteArray reference =
        CommandBodies::calibrationReference(average(Table::GasPressure), average(Table::InjectionTime),
                                            average(Table::Multiplier), average(Table::GasTemperature));

    const bool untouched = std::all_of(std::begin(UntouchedMapPoints), std::end(UntouchedMapPoints),
                                       [this](int k) { return m_view.correctionMapPoint(k) == UntouchedValue; });
    if (untouched)
        m_samples.setAverage(Table::Multiplier,
                             uint8_t(std::min(255, average(Table::Multiplier) + UntouchedAllowance)));

    const int multiplier = average(Table::Multiplier);
    m_view.setInfoText(m_view.infoText() + QStringLiteral("\r\n") + m_view.messageText(MultiplierRow)
                       + multiplierText(multiplier));

    // An injection time outside the shape's range anchors the map at its end;
    // the controller's 0x20 block still gets the time as measured, since only
    // the map needs a point number.
    const int injection = average(Table::InjectionTime);
    const int anchor = std::clamp<int>(injection, MapShape::FirstAnchor, MapShape::LastAnchor);
    m_map = MapShape::calibratedMap(anchor, multiplier);
    queue(Group{CommandBodies::calibrationBlock(uint8_t(injection)), reference,
                CommandBodies::correctionMapWrite(m_map)});
}

void CalibrationProcedure::finish()
{
    m_view.setSlowPolling(false);
    m_step = Idle;
    m_view.setProgressPosition(0);
    m_timer.setInterval(FirstInterval);
    m_timer.stop();
    Button_stopClick(StopSender::None);
    m_view.setInfoText(m_view.messageText(FinishedRow));
}
