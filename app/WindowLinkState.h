#pragma once

#include <QByteArray>
#include <QString>

// Link state and command slots as the window holds them until the session
// and the command queue own their own copies. Start-up empties it; the
// session reads and changes it while connected.
struct WindowLinkState
{
    QByteArray currentSlot;   // a complete frame waiting to go out or for its answer
    QByteArray nextSlot;      // body to follow the current one
    QByteArray afterNextSlot; // body to follow the next one, or the save marker
    QString linkState;        // short state tag, empty while disconnected
    QByteArray rxBuffer;      // answer being assembled
    int expectedLength = 0;
    int commandRetries = 0;
    int lastCommandCode = -1;
    int calibrationStep = -1; // -1 while no calibration runs
    int connectRetries = 5;

    // The state a fresh window starts in: nothing queued, nothing received,
    // no calibration.
    void clearForStart()
    {
        currentSlot.clear();
        nextSlot.clear();
        afterNextSlot.clear();
        linkState.clear();
        rxBuffer.clear();
        calibrationStep = -1;
        lastCommandCode = -1;
    }
};
