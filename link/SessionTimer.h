#pragma once

#include "link/LinkInterfaces.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>

class QTimer;

// A link timer on one of the window's QTimers. The window keeps the QTimer
// (it owns the components); it connects the timeout to the session itself,
// or hands the session's handler in as the release (below).
//
// A Qt timer fires up to a millisecond after it is due: every wait is
// rounded up to whole milliseconds, and on Linux the kernel may stretch a
// long wait by another 0.1 %. For the poll tick that lateness lands on every
// cycle of the link. With a release handler the timer hands its timeouts to
// that handler itself, on time: a helper timer wakes the window shortly
// before the period ends and the last stretch is waited out against the
// monotonic clock. The QTimer keeps running with its own interval as before,
// so whoever looks at it sees the same period; should the helper be held up,
// the QTimer's own timeout still releases the tick, late but never twice.
class SessionTimer : public LinkTimer
{
public:
    explicit SessionTimer(QTimer &timer);
    SessionTimer(QTimer &timer, std::function<void()> release);
    ~SessionTimer() override;

    void start() override;
    void stop() override;
    void setInterval(int milliseconds) override;
    int interval() const override;
    bool isActive() const override;

private:
    void armLead();
    void onLead();
    void onTimeout();

    QTimer &m_timer;
    std::function<void()> m_release;
    std::unique_ptr<QTimer> m_lead;
    QElapsedTimer m_clock;
    qint64 m_dueNs = 0;
};
