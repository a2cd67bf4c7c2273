#pragma once

#include "live/InjectionTimeTables.h"
#include "live/LiveDisplayAction.h"
#include "live/LiveValues.h"

#include <QChar>
#include <QLocale>
#include <QList>

#include <array>

// `ApplyLiveFrame` without the window: turns one decoded answer into the
// ordered list of what every live display gets, and the calls handed on to the
// scope, the fault list, the time curves and the calibration, at their fixed
// places. It keeps what lasts from frame to frame (the lambda ranges) and
// stores the frame's bytes into the time tables it was given.
//
// Displays whose fields the answer did not carry are left out of the list, so
// they keep what they show. Call apply() exactly once per frame: the lambda
// ranges and the time tables move on with every call.
class LiveFrameApplier
{
public:
    struct Inputs
    {
        // Which cylinder (0..7) the radio buttons `Cyl_0_show`.. choose for
        // `Skala_PB_time`.
        int shownCylinder = 0;
        // `CalibrationStep` is not -1.
        bool calibrationRunning = false;
        QChar decimalSeparator = QLocale().decimalPoint().at(0);
    };

    static constexpr double LambdaWideAbove = 1.21;
    static constexpr float LambdaNarrowEnd = 1.0f;
    static constexpr float LambdaWideEnd = 5.0f;
    static constexpr int SectorsShown = 0;
    static constexpr int SectorsHidden = 300;
    static constexpr int PointerIgnitionOn = 6;
    static constexpr int PointerIgnitionOff = 2;

    explicit LiveFrameApplier(InjectionTimeTables &tables) : m_tables(tables) {}

    QList<LiveDisplayAction> apply(const LiveValues &values, const Inputs &inputs);

    // Whether `lambda_1` (probe 0) or `lambda_2` (probe 1) has gone to 0..5 V.
    // Once switched it stays switched for the rest of the run.
    bool lambdaWide(int probe) const { return m_lambdaWide.at(size_t(probe)); }

private:
    InjectionTimeTables &m_tables;
    std::array<bool, 2> m_lambdaWide{};
};
