#pragma once

#include "link/CommandBodies.h"

#include <QString>

#include <cstdint>

// What the calibration needs from the window around it: the live readings it
// checks before starting, the controller's stored data, its texts and
// questions, the progress bar, the lock of the window and the link. The
// window implements it on its components; tests implement it in memory.
class CalibrationView
{
public:
    virtual ~CalibrationView() = default;

    // --- start conditions
    virtual bool faultIndicatorVisible() const = 0; // `Error_Led`
    virtual double engineSpeed() const = 0;         // `RPM_Edit`, rpm
    virtual double reducerTemperature() const = 0;  // `TempWoda`, degC

    // --- the controller's data as the program holds it
    virtual uint8_t storedGasMask() const = 0;         // `StoredSettings` byte 20
    // The cylinders the fitter has on gas: the lit injector LEDs. An LED clicked since the last block
    // changes the controller's set (or the next request's) but not byte 20.
    virtual uint8_t litGasMask() const = 0;
    virtual int correctionMapPoint(int k) const = 0;   // `CorrectionMap` point k (1..246)

    // --- texts: a message row (0..20) or a program text, as they read right now
    virtual QString messageText(int row) const = 0;
    virtual QString programText(const QString &key) const = 0;
    virtual void showMessage(const QString &text) = 0;
    // Modal Yes/No; events (polls, samples, a disconnect) keep arriving while open.
    virtual bool askYesNo(const QString &text) = 0;
    virtual QString infoText() const = 0; // `Adaptacja_info`
    virtual void setInfoText(const QString &text) = 0;

    // --- `Adaptacja_progres`
    // Enabled, range 0..100, position 0, repainted at once.
    virtual void startProgress() = 0;
    virtual void setProgressPosition(int position) = 0;
    // Position 0, disabled.
    virtual void stopProgress() = 0;

    // While locked the top panel, page switching, the three top menus and
    // `Button_start` are unavailable; STOP, the fuel switch and the cylinder
    // LEDs stay usable.
    virtual void setRunLock(bool locked) = 0;

    // --- the link
    // Sets the retry budget, then hands the bodies to `QueueCommand`.
    virtual void queueCommands(int retries, const CommandBodies::Group &bodies) = 0;
    // The fuel switch's petrol request made by `Button_start`: with the mask
    // of the lit cylinder LEDs, after 0x25 when the step is 0.
    virtual void requestPetrolAsStart(int calibrationStep) = 0;
    // The top panel and `Zaplon_panel` back to their face colour, the window
    // enabled: the read-all at the end is answered with a settings block.
    virtual void showWindowReady() = 0;
    // `Timer_Count` slowed for a settings answer (interval OR 1024) or back.
    virtual void setSlowPolling(bool slow) = 0;
};
