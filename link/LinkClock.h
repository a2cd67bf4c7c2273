#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

// Milliseconds on a clock that only goes forward. The session measures how
// long a reconnect has been going on and which line errors fall into the last
// minute by it; tests hand in a clock they move by hand.
class LinkClock
{
public:
    virtual ~LinkClock() = default;
    virtual qint64 nowMs() const = 0;
};

// The machine's monotonic clock, from the moment it was made.
class SteadyLinkClock : public LinkClock
{
public:
    SteadyLinkClock() { m_timer.start(); }
    qint64 nowMs() const override { return m_timer.elapsed(); }

private:
    QElapsedTimer m_timer;
};
