#pragma once

#include "live/LiveValues.h"

#include <QVector>

#include <cstdint>

// What the engine ran on over time, and where faults came and went.
//
// The fuel comes from each answer (ignition bit, fuel bit). "Switching" is
// the time from a fuel request sent to the controller (command 03 02 for
// petrol, 03 03 for gas) that asks for the other fuel until the answers show
// a different fuel, the request is taken back, or the ignition goes off.
//
// Faults are the active-low flags of each answer, gathered in one mask
// (FaultBit); a change is kept whenever the mask changes, and a mark is a
// change where a fault appeared that the previous answer did not report.
class FuelBand
{
public:
    enum class State : uint8_t { Off, Petrol, Gas, Switching };

    struct Segment
    {
        qint64 fromMs = 0; // lasts until the next segment's fromMs (the last: the last answer)
        State state = State::Off;
        bool operator==(const Segment &) const = default;
    };

    struct FaultChange
    {
        qint64 ms = 0;
        uint32_t active = 0;   // FaultBit mask reported from here on
        uint32_t appeared = 0; // faults not reported by the previous answer
        bool operator==(const FaultChange &) const = default;
    };

    // The fault mask: byte 34 bits 2..7 as bits 0..5, byte 35 bit k (the
    // injector of cylinder k+1) as bit 8+k, byte 48 bits 0..1 as bits 16..17.
    static constexpr int InjectorShift = 8;
    static constexpr int MoreShift = 16;
    static uint32_t faultMask(uint8_t flags34, uint8_t injectorFlags35, uint8_t flags48);

    void answer(qint64 ms, const LiveValues &values);
    // A fuel request was written to the line: gas or petrol.
    void fuelRequested(qint64 ms, bool gas);
    void dropBefore(qint64 ms);
    void clear();

    const QVector<Segment> &segments() const { return m_segments; }
    const QVector<FaultChange> &faultChanges() const { return m_faults; }
    qint64 lastMs() const { return m_lastMs; }

    // The band at `ms` (Off before the first answer).
    State stateAt(qint64 ms) const;
    // The faults reported at `ms`.
    uint32_t faultsAt(qint64 ms) const;

private:
    void enter(qint64 ms, State state);

    QVector<Segment> m_segments;
    QVector<FaultChange> m_faults;
    qint64 m_lastMs = 0;
    bool m_known = false; // an answer with ignition and fuel has been seen
    bool m_onGas = false;
    bool m_ignition = false;
    bool m_pending = false; // a request for the other fuel is waiting
    uint32_t m_active = 0;
};
