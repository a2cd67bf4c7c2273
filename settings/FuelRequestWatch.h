#pragma once

#include <optional>

// A fuel request the controller has not carried out yet. The fuel switch
// only moves when a live frame reports the new fuel, and going over to gas
// takes the switch-over time (up to a minute) or waits for the engine's
// conditions; until then the window says that the request is waiting.
// What is sent does not change: this only remembers what was asked.
class FuelRequestWatch
{
public:
    // The fitter asked for gas (true) or petrol (false).
    void requested(bool gas) { m_pending = gas; }
    // The fuel the controller reports now (the switch's state). True when the
    // waiting request ended with it.
    bool reported(bool onGas)
    {
        if (!m_pending || *m_pending != onGas)
            return false;
        m_pending.reset();
        return true;
    }
    // The link ended: nothing is waiting any more.
    void linkEnded() { m_pending.reset(); }

    // The fuel asked for and not reported yet.
    std::optional<bool> pending() const { return m_pending; }
    // The fuel the controller is running on or going over to.
    bool gasInUse(bool onGas) const { return m_pending.value_or(onGas); }

private:
    std::optional<bool> m_pending;
};
