#pragma once

#include "widgets/TFlashTimer.h"

#include <QPointer>
#include <QWidget>

// How a two-state widget reacts to the left mouse button.
enum TBinMode {
    mButton,      // on while held, off at release
    mSwitch,      // each press toggles
    mIndicator,   // the mouse never changes the state; click handlers decide
    mRadioButton, // a press sets the widget's own status bit
};

// Base of the two-state widgets (LEDs, switches). Holds the state, the
// blinking and the mouse behaviour; the kinds only paint.
//
// State set by the program never runs click handlers: SetChecked raises
// OnStatusChanged only. A click raises OnClick in every mode.
class TBinGControl : public QWidget, public TFlashClient
{
    Q_OBJECT
public:
    explicit TBinGControl(QWidget *parent = nullptr);
    ~TBinGControl() override;

    bool Checked() const { return m_checked; }
    bool Flashing() const { return m_flashing; }
    TFrequency Frequency() const { return m_frequency; }
    TBinMode Mode() const { return m_mode; }
    int StatusInt() const { return m_statusInt; }
    int StatusBit() const { return m_statusBit; }
    int GroupIndex() const { return m_groupIndex; }

    void SetChecked(bool v);
    void SetFlashing(bool v);
    void SetFrequency(TFrequency f);
    void SetMode(TBinMode m);
    void SetStatusInt(int v) { m_statusInt = v; }
    void SetStatusBit(int v) { m_statusBit = v; }
    void SetGroupIndex(int v) { m_groupIndex = v; }

    // True while the widget blinks (lit and flashing), that is while it is a flash client.
    bool IsBlinking() const { return m_checked && m_flashing; }
    // Whether the lit look is shown right now: the steady state, or while
    // blinking the last phase the flash timer sent.
    bool ShowsOn() const { return IsBlinking() ? m_phaseOn : m_checked; }
    // True while OnStatusChanged is raised by the user's mouse action rather
    // than by the program, so a handler can tell the two apart.
    bool ChangedByUser() const { return m_userChange; }

    // The flash timer this widget registers with; the program-wide one unless set.
    void SetFlashTimer(TFlashTimer *timer);
    TFlashTimer *FlashTimer() const;

    void FlashPhase(bool on) override;

signals:
    void OnClick();
    void OnStatusChanged();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void changeEvent(QEvent *e) override;

    // In mSwitch mode: does a press at this point toggle? Every point does by default.
    virtual bool PressToggles(const QPointF &pos) const;
    // Called after the look changed (state, phase, colours); kinds refresh their accessible text.
    virtual void StateShown();
    virtual QString AccessibleStateText() const;

private:
    void updateRegistration();
    void setCheckedBy(bool v, bool user);
    void refresh();

    bool m_checked = false;
    bool m_flashing = false;
    bool m_phaseOn = true;
    bool m_userChange = false;
    bool m_pressed = false;
    TFrequency m_frequency = ff1Hz;
    TBinMode m_mode = mIndicator;
    int m_statusInt = 0;
    int m_statusBit = 0;
    int m_groupIndex = 0;
    QPointer<TFlashTimer> m_timer;
};
