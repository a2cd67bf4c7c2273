#include "link/SessionTimer.h"

#include <QThread>
#include <QTimer>

namespace {

// Sleeping gives the processor away but may overshoot by a fraction of a
// millisecond; the last stretch is spun, yielding between looks at the clock.
constexpr qint64 SpinNs = 300'000;

// How long before the end of a period of this length the helper wakes: a
// whole millisecond of rounding, the kernel's 0.1 % and a wake-up.
int leadMs(int intervalMs)
{
    return 2 + intervalMs / 500;
}

} // namespace

SessionTimer::SessionTimer(QTimer &timer) : m_timer(timer)
{
    // The poll period is part of the protocol's timing; a coarse timer would
    // add up to 5 % to every cycle.
    m_timer.setTimerType(Qt::PreciseTimer);
}

SessionTimer::SessionTimer(QTimer &timer, std::function<void()> release)
    : SessionTimer(timer)
{
    m_release = std::move(release);
    m_clock.start();
    m_lead = std::make_unique<QTimer>();
    m_lead->setSingleShot(true);
    m_lead->setTimerType(Qt::PreciseTimer);
    // Both connections end with the helper, which goes with this adapter.
    QObject::connect(m_lead.get(), &QTimer::timeout, m_lead.get(), [this] { onLead(); });
    QObject::connect(&m_timer, &QTimer::timeout, m_lead.get(), [this] { onTimeout(); });
}

SessionTimer::~SessionTimer()
{
    if (m_lead)
        m_lead->stop();
}

void SessionTimer::start()
{
    m_timer.start();
    armLead();
}

void SessionTimer::stop()
{
    m_timer.stop();
    if (m_lead)
        m_lead->stop();
}

void SessionTimer::setInterval(int milliseconds)
{
    // QTimer restarts a running timer on every setInterval; an unchanged
    // interval must leave the running period alone.
    if (milliseconds == m_timer.interval())
        return;
    m_timer.setInterval(milliseconds);
    if (m_timer.isActive())
        armLead();
}

int SessionTimer::interval() const { return m_timer.interval(); }
bool SessionTimer::isActive() const { return m_timer.isActive(); }

void SessionTimer::armLead()
{
    if (!m_lead)
        return;
    const int interval = m_timer.interval();
    m_dueNs = m_clock.nsecsElapsed() + qint64(interval) * 1'000'000;
    const int lead = leadMs(interval);
    if (interval <= lead) {
        // Too short to wake ahead of: the QTimer releases these on its own.
        m_lead->stop();
        return;
    }
    m_lead->start(interval - lead);
}

void SessionTimer::onLead()
{
    // Nothing else runs on this thread until the period is over; it is at
    // most a couple of milliseconds.
    const qint64 left = m_dueNs - m_clock.nsecsElapsed();
    if (left > SpinNs)
        QThread::usleep(static_cast<unsigned long>((left - SpinNs) / 1000));
    while (m_dueNs - m_clock.nsecsElapsed() > 0)
        QThread::yieldCurrentThread();
    // The period ends now: the QTimer starts its next one, as it would have
    // at its own timeout, which thereby never comes for this period.
    m_timer.start();
    armLead();
    m_release();
}

void SessionTimer::onTimeout()
{
    // The helper was held up past the end of the period (a busy window);
    // the QTimer has already begun its next period.
    armLead();
    m_release();
}
