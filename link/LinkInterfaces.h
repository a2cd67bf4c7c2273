#pragma once

#include <QByteArray>
#include <QString>

// The few things the link session needs from the world around it. Each one is
// a narrow interface so the session can be driven by explicit events in tests
// (no real time, no port, no window) and by the main window in the program.
//
// Failures of the port and of the settings store arrive as ESerialPort; the
// session decides at each of its entry points which of them end the link.

// The serial line to the controller (`ComPort1`). Writing goes through
// SendFrame's FrameWriter, so it is not part of this interface.
class LinkPort
{
public:
    virtual ~LinkPort() = default;
    virtual void open() = 0;                 // nothing when already open
    virtual void close() = 0;                // nothing when already closed
    virtual bool connected() const = 0;
    virtual QString portName() const = 0;
    virtual void setCustomBaudRate(int rate) = 0;
    virtual void clearLineErrors() = 0;
    virtual int bytesWaiting() = 0;
    virtual QByteArray read(int count) = 0;
    // Port settings under `path` plus the component's own name.
    virtual void storeSettings(const QString &path) = 0;
};

// One of the two link timers (`Timer_Count`, `Timer_Czekaj_na_odczyt`).
// start() restarts a running timer from zero, as QTimer does.
class LinkTimer
{
public:
    virtual ~LinkTimer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual bool isActive() const = 0;
};

// Where "CurLang" goes at every disconnect. Throws ESerialPort on failure.
class LanguageKeyStore
{
public:
    virtual ~LanguageKeyStore() = default;
    virtual void storeLanguageKey(const QString &key) = 0;
};

// What the session shows or changes in the main window, and the other parts
// of the program it hands finished answers to. Implemented by the window.
class LinkView
{
public:
    virtual ~LinkView() = default;

    // Modal boxes. They may run a nested event loop; the session is written so
    // that its own events arriving meanwhile are handled correctly.
    virtual void showMessage(const QString &text) = 0;
    // Closes the message box open now, as its OK would (nothing when none).
    virtual void dismissMessage() {}
    virtual bool askYesNo(const QString &text) = 0;
    // Column 0 of a message row of the language table, as it reads right now.
    virtual QString messageText(int row) const = 0;
    // The language key chosen in the "Język" menu.
    virtual QString currentLanguageKey() const = 0;

    // Panel 0 of `StatusBar1`.
    virtual QString statusText() const = 0;
    virtual void setStatusText(const QString &text) = 0;

    // Long exchange look: whole window disabled, `Panel1Gora` and
    // `Zaplon_panel` clGray; undone with enabled and clBtnFace.
    virtual void setWindowEnabled(bool enabled) = 0;
    virtual void setLinkPanelsGrey(bool grey) = 0;

    // `Polacz_switch`, set without raising its state-change event.
    virtual void setConnectSwitchOn(bool on) = 0;
    virtual void setConnectSwitchOnText(const QString &text) = 0;

    // `Odczyt1`, `Zapis1` and `Reset1`: visible and enabled, or neither.
    virtual void setFileMenuAvailable(bool available) = 0;
    virtual void setErrorLedVisible(bool visible) = 0;
    virtual QString faultMemoText() const = 0;          // `Actual_errors_Memo`
    virtual void setFaultMemoText(const QString &text) = 0;
    // `rezerwa_led_gora` and `Rezerwa_led_panel`: flashing, or flashing off
    // and unchecked.
    virtual void setReserveLedsFlashing(bool flashing) = 0;
    // `Cyl_0_led`..`Cyl_7_led`: off colour clGray, unchecked.
    virtual void resetInjectorLeds() = 0;
    // `RPM_LAMBDA1` and `RPM_LAMBDA2` of the scope tab.
    virtual void uncheckScopeLambdaButtons() = 0;

    // Finished answers: the settings block (`ApplySettingsFrame`) and every
    // other answer (`ApplyLiveFrame`, which must accept short buffers).
    virtual void applySettingsFrame(const QByteArray &settings) = 0;
    virtual void applyLiveFrame(const QByteArray &answer) = 0;
    // The save's read-all answer has been applied: write the data file now
    // (`Zapis1Click` with no sender).
    virtual void writeDataFile() = 0;
    // Why a save started from the menu ends without a file.
    enum class SaveDropped {
        ShortAnswer,     // the read-all answer was shorter than a settings block
        GroupUnfinished, // a command group queued before the save had not finished
    };
    // A save will write no file; the window tells the user why.
    virtual void dataFileNotWritten(SaveDropped why) { (void)why; }
    // The disconnect sequence begins: whatever runs on the link (a
    // calibration) ends before the displays are rested.
    virtual void linkEnded() {}

    // --- riding out a bad line (the session's reconnect option) ----------
    // A line error was counted; `errorsLastMinute` is the count now.
    virtual void lineErrorsChanged(int errorsLastMinute) { Q_UNUSED(errorsLastMinute); }
    // The link was lost and is being made again: `attempt` is 0 when the loss
    // is noticed (what runs on the link, a calibration, stops here; the
    // displays keep their last values, greyed), then 1, 2, ... at each new
    // handshake.
    virtual void reconnecting(int attempt) { Q_UNUSED(attempt); }
    // The port failed while the link rides it out; `message` is the port's
    // own text (see PortFailure for what it means).
    virtual void portLost(const QString &message) { Q_UNUSED(message); }
    // Polling again after a reconnect. `settingsDiffer`: the controller
    // answered with another settings block than before the loss (it has been
    // kept and applied, as at a first connect).
    virtual void reconnected(bool settingsDiffer) { Q_UNUSED(settingsDiffer); }
    // After a loss, the port answered with a firmware this program does not
    // speak to: not the controller that was there. `block` is its answer;
    // the link ends right after. Returns what to tell the user instead of
    // the no-controller message (empty: that message).
    virtual QString controllerChanged(const QByteArray &block)
    {
        Q_UNUSED(block);
        return {};
    }
    // A queued command whose answer was never seen was dropped: the link gave
    // up, or the command used up its budget and the link was made again.
    virtual void commandNotSent(const QByteArray &body) { Q_UNUSED(body); }
    // The link has come to rest: the handshake is through, or the disconnect
    // sequence is over. Whatever depends on being connected looks again now,
    // whichever way (menu, port item, switch, a failure) the change came.
    virtual void linkSettled() {}
};
