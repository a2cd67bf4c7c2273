#include "link/SessionTimer.h"

#include <QTimer>

SessionTimer::SessionTimer(QTimer &timer) : m_timer(timer)
{
    // The poll period is part of the protocol's timing; a coarse timer would
    // add up to 5 % to every cycle.
    m_timer.setTimerType(Qt::PreciseTimer);
}

void SessionTimer::start() { m_timer.start(); }
void SessionTimer::stop() { m_timer.stop(); }

void SessionTimer::setInterval(int milliseconds)
{
    // QTimer restarts a running timer on every setInterval; an unchanged
    // interval must leave the running period alone.
    if (milliseconds != m_timer.interval())
        m_timer.setInterval(milliseconds);
}

int SessionTimer::interval() const { return m_timer.interval(); }
bool SessionTimer::isActive() const { return m_timer.isActive(); }
