#pragma once

#include "app/live/FaultsTab.h"
#include "app/common/NamedComponents.h"
#include "app/live/ScopeTab.h"

#include "live/InjectionTimeTables.h"
#include "live/LiveDisplayAction.h"
#include "live/LiveFrameApplier.h"

#include <QByteArray>
#include <QObject>

#include <functional>

class LanguageTable;
class QWidget;

// `ApplyLiveFrame` on the real window: decodes one answer and applies the
// resulting plan to the components by their names, then hands the frame on
// to the scope, the current-fault list, the time curves and, while a
// calibration runs, the calibration. Also the live view's own user actions:
// choosing the cylinder of the top panel's petrol bar, the scope's views,
// the fault banner and the fault log reset.
//
// It needs only the window's root widget; everything else is handed in, so
// the window decides how commands reach the link.
class LiveDisplay : public QObject
{
public:
    using CalibrationStepSource = std::function<int()>;
    // `UpdateTimeCurves` with the frame's curve selector.
    using TimeCurvesHook = std::function<void(int selector)>;
    // `StoreCalibrationSample` with the stream position and the whole frame.
    using CalibrationSampleHook = std::function<void(int position, const QByteArray &frame)>;

    static constexpr int Cylinders = 8;

    LiveDisplay(QWidget *root, const LanguageTable *texts, FaultsTab::QueueCommand queue,
                CalibrationStepSource calibrationStep, QObject *parent = nullptr);

    // `ApplyLiveFrame`: the answer as the session assembled it (0xAA first).
    void applyLiveFrame(const QByteArray &answer);

    // `RadioButtonxClick` for `Cyl_<cylinder>_show`.
    void RadioButtonxClick(int cylinder);

    // The time curves and the calibration fill these in; until then the
    // frame reaches their places in the sequence and nothing more happens.
    void setTimeCurvesHook(TimeCurvesHook hook) { m_timeCurves = std::move(hook); }
    void setCalibrationSampleHook(CalibrationSampleHook hook) { m_calibrationSample = std::move(hook); }

    const InjectionTimeTables &timeTables() const { return m_tables; }
    const LiveFrameApplier &applier() const { return m_applier; }
    ScopeTab &scope() { return m_scope; }
    FaultsTab &faults() { return m_faults; }

    // Which `Cyl_k_show` is checked; -1 if none.
    int shownCylinder();

private:
    void apply(const LiveDisplayAction &action, const LiveValues &values, const QByteArray &answer);

    NamedComponents m_components;
    InjectionTimeTables m_tables;
    LiveFrameApplier m_applier{m_tables};
    ScopeTab m_scope;
    FaultsTab m_faults;
    CalibrationStepSource m_calibrationStep;
    TimeCurvesHook m_timeCurves;
    CalibrationSampleHook m_calibrationSample;
};
