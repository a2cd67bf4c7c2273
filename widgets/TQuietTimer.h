#pragma once

#include <QTimer>

#include <functional>

// Ends a gesture that has no release of its own, such as a turn of the mouse wheel: every step of the
// gesture restarts it, and once the gesture has been still for the timer's time OnQuiet runs once.
// Tests hand a control a timer they fire themselves.
class TQuietTimer
{
public:
    virtual ~TQuietTimer() = default;
    virtual void Restart() = 0;
    virtual void Stop() = 0;
    virtual bool Pending() const = 0;

    std::function<void()> OnQuiet;
};

// The one the window uses: a single-shot QTimer on the user-interface thread.
class TQtQuietTimer : public TQuietTimer
{
public:
    explicit TQtQuietTimer(int ms);
    void Restart() override { m_timer.start(); }
    void Stop() override { m_timer.stop(); }
    bool Pending() const override { return m_timer.isActive(); }
    int Interval() const { return m_timer.interval(); }

private:
    QTimer m_timer;
};
