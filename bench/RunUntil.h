#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

// Runs the event loop as the program does (no sleeping between rounds, unlike
// QTest::qWaitFor) until `done` holds, looking every `checkMs`.
template <class Pred>
bool runUntil(Pred done, int timeoutMs, int checkMs)
{
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    QTimer check;
    bool ok = false;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) {
            ok = true;
            loop.quit();
        } else if (clock.elapsed() > timeoutMs) {
            loop.quit();
        }
    });
    check.start(checkMs);
    loop.exec();
    return ok;
}
