#include "widgets/TBinGControl.h"

#include "widgets/TWidgetAccessible.h"

#include <QEvent>
#include <QMouseEvent>

TBinGControl::TBinGControl(QWidget *parent)
    : QWidget(parent)
{
    TWidgetAccessible::SetRole(this, QAccessible::Indicator);
    TWidgetAccessible::SetChecked(this, false);
    TWidgetAccessible::SetValue(this, AccessibleStateText());
}

TBinGControl::~TBinGControl()
{
    if (m_timer)
        m_timer->Unregister(this);
}

void TBinGControl::SetFlashTimer(TFlashTimer *timer)
{
    if (m_timer)
        m_timer->Unregister(this);
    m_timer = timer;
    updateRegistration();
}

TFlashTimer *TBinGControl::FlashTimer() const
{
    return m_timer ? m_timer.data() : TFlashTimer::Shared();
}

void TBinGControl::updateRegistration()
{
    if (IsBlinking()) {
        if (!m_timer)
            m_timer = TFlashTimer::Shared();
        // Lit until the timer reports the phase at its next beat.
        m_phaseOn = true;
        m_timer->RegisterFlash(this, m_frequency);
    } else if (m_timer) {
        m_timer->Unregister(this);
    }
}

void TBinGControl::SetChecked(bool v)
{
    setCheckedBy(v, false);
}

void TBinGControl::setCheckedBy(bool v, bool user)
{
    if (v == m_checked)
        return;
    m_checked = v;
    updateRegistration();
    refresh();
    m_userChange = user;
    emit OnStatusChanged();
    m_userChange = false;
}

void TBinGControl::SetFlashing(bool v)
{
    if (v == m_flashing)
        return;
    m_flashing = v;
    updateRegistration();
    refresh();
    emit OnStatusChanged();
}

void TBinGControl::SetFrequency(TFrequency f)
{
    m_frequency = f;
    if (IsBlinking())
        updateRegistration();
}

void TBinGControl::SetMode(TBinMode m)
{
    m_mode = m;
}

void TBinGControl::FlashPhase(bool on)
{
    if (m_phaseOn == on)
        return;
    m_phaseOn = on;
    refresh();
}

void TBinGControl::refresh()
{
    TWidgetAccessible::SetChecked(this, m_checked);
    TWidgetAccessible::SetValue(this, AccessibleStateText());
    StateShown();
    update();
}

void TBinGControl::StateShown() {}

QString TBinGControl::AccessibleStateText() const
{
    if (!m_checked)
        return tr("off");
    return m_flashing ? tr("on, flashing") : tr("on");
}

bool TBinGControl::PressToggles(const QPointF &) const
{
    return true;
}

void TBinGControl::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    m_pressed = true;
    switch (m_mode) {
    case mButton:
        setCheckedBy(true, true);
        break;
    case mSwitch:
        if (PressToggles(e->position()))
            setCheckedBy(!m_checked, true);
        break;
    case mRadioButton:
        m_statusInt |= (1 << (m_statusBit & 31));
        setCheckedBy(true, true);
        break;
    case mIndicator:
        break;
    }
    e->accept();
}

void TBinGControl::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || !m_pressed) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    m_pressed = false;
    if (m_mode == mButton)
        setCheckedBy(false, true);
    e->accept();
    // A click is a press and a release on the widget.
    if (rect().contains(e->position().toPoint()))
        emit OnClick();
}

void TBinGControl::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange && !isEnabled() && m_pressed) {
        m_pressed = false;
        if (m_mode == mButton)
            setCheckedBy(false, true);
    }
    QWidget::changeEvent(e);
}
