#include "chart/FuelBand.h"

#include <algorithm>

uint32_t FuelBand::faultMask(uint8_t flags34, uint8_t injectorFlags35, uint8_t flags48)
{
    // Active-low: a 0 bit reports the fault; bits naming no fault are ignored.
    return uint32_t((~flags34 >> 2) & 0x3F) | (uint32_t(uint8_t(~injectorFlags35)) << InjectorShift)
           | (uint32_t(~flags48 & 0x03) << MoreShift);
}

void FuelBand::enter(qint64 ms, State state)
{
    if (!m_segments.isEmpty() && m_segments.last().state == state)
        return;
    if (!m_segments.isEmpty() && m_segments.last().fromMs == ms)
        m_segments.removeLast(); // nothing was shown of it
    if (!m_segments.isEmpty() && m_segments.last().state == state)
        return;
    m_segments.append({ms, state});
}

void FuelBand::answer(qint64 ms, const LiveValues &values)
{
    m_lastMs = std::max(m_lastMs, ms);
    if (values.ignitionOn && values.onGas) {
        const bool changed = m_known && *values.onGas != m_onGas;
        m_known = true;
        m_ignition = *values.ignitionOn;
        m_onGas = *values.onGas;
        if (changed || !m_ignition)
            m_pending = false;
        State state = State::Off;
        if (m_ignition)
            state = m_pending ? State::Switching : (m_onGas ? State::Gas : State::Petrol);
        enter(ms, state);
    }
    if (values.faultFlags && values.injectorFlags && values.moreFaultFlags) {
        const uint32_t active = faultMask(*values.faultFlags, *values.injectorFlags, *values.moreFaultFlags);
        if (active != m_active) {
            m_faults.append({ms, active, active & ~m_active});
            m_active = active;
        }
    }
}

void FuelBand::fuelRequested(qint64 ms, bool gas)
{
    if (!m_known || !m_ignition)
        return;
    m_pending = gas != m_onGas;
    m_lastMs = std::max(m_lastMs, ms);
    enter(ms, m_pending ? State::Switching : (m_onGas ? State::Gas : State::Petrol));
}

void FuelBand::dropBefore(qint64 ms)
{
    // Keep the segment and the fault state in force at `ms`.
    auto segment = std::upper_bound(m_segments.begin(), m_segments.end(), ms,
                                    [](qint64 t, const Segment &s) { return t < s.fromMs; });
    if (segment - m_segments.begin() > 1) {
        m_segments.erase(m_segments.begin(), segment - 1);
        m_segments.first().fromMs = std::max(m_segments.first().fromMs, ms);
    }
    auto fault = std::upper_bound(m_faults.begin(), m_faults.end(), ms,
                                  [](qint64 t, const FaultChange &f) { return t < f.ms; });
    if (fault - m_faults.begin() > 1) {
        m_faults.erase(m_faults.begin(), fault - 1);
        // The one left is kept for its state, no longer as a mark in view.
        if (m_faults.first().ms < ms) {
            m_faults.first().ms = ms;
            m_faults.first().appeared = 0;
        }
    }
}

void FuelBand::clear()
{
    *this = FuelBand();
}

FuelBand::State FuelBand::stateAt(qint64 ms) const
{
    auto it = std::upper_bound(m_segments.cbegin(), m_segments.cend(), ms,
                               [](qint64 t, const Segment &s) { return t < s.fromMs; });
    return it == m_segments.cbegin() ? State::Off : (it - 1)->state;
}

uint32_t FuelBand::faultsAt(qint64 ms) const
{
    auto it = std::upper_bound(m_faults.cbegin(), m_faults.cend(), ms,
                               [](qint64 t, const FaultChange &f) { return t < f.ms; });
    return it == m_faults.cbegin() ? 0 : (it - 1)->active;
}
