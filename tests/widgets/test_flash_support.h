#pragma once

// Shared helpers for the two-state, spin and trend widget tests: a flash
// timer driven by hand, synthetic mouse and key input, and signal counters.

#include "widgets/TFlashTimer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>

#include <gtest/gtest.h>

struct ManualFlashTimer {
    TFlashTimer timer;
    qint64 now = 0;
    ManualFlashTimer()
    {
        timer.SetAutoTick(false);
        timer.SetClock([this] { return now; });
    }
    // Beats as the real timer gives them: every 16 ms.
    void Beat(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            now += TFlashTimer::BeatMs;
            timer.Tick();
        }
    }
    // Lets ms pass: every beat that falls within them, then the clock stands
    // at the end (the next beat would come after it).
    void RunFor(int ms)
    {
        const qint64 end = now + ms;
        while (now + TFlashTimer::BeatMs <= end)
            Beat();
        now = end;
    }
};

// Counts emissions of one signal.
struct Counter {
    int n = 0;
    template <typename Obj, typename Sig>
    Counter(Obj *o, Sig sig)
    {
        QObject::connect(o, sig, [this] { ++n; });
    }
};

inline void sendMouse(QWidget *w, QEvent::Type type, QPointF pos, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
inline void press(QWidget *w, QPointF pos, Qt::MouseButton b = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonPress, pos, b);
}
inline void release(QWidget *w, QPointF pos, Qt::MouseButton b = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonRelease, pos, b);
}
inline void click(QWidget *w, QPointF pos, Qt::MouseButton b = Qt::LeftButton)
{
    press(w, pos, b);
    release(w, pos, b);
}
inline void sendKey(QWidget *w, int key, QEvent::Type type = QEvent::KeyPress)
{
    QKeyEvent e(type, key, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
