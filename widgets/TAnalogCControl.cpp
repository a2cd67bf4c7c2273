#include "widgets/TAnalogCControl.h"

#include "widgets/TAnalogAccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

TAnalogCControl::TAnalogCControl(QWidget *parent)
    : QWidget(parent)
{
    TAnalogAccessible::Install();
    setFocusPolicy(Qt::StrongFocus);
    m_signal.SetOnChange([this] { remap(); });
    m_digit = Clamped(m_signal.ValueToDigit(m_value));
    refreshTexts();
    SetWheelTimer(std::make_unique<TQtQuietTimer>(WheelPauseMs));
}

TAnalogCControl::~TAnalogCControl() = default;

void TAnalogCControl::SetWheelTimer(std::unique_ptr<TQuietTimer> timer)
{
    m_wheelTimer = std::move(timer);
    m_wheelTimer->OnQuiet = [this] { reportRelease(); };
}

void TAnalogCControl::SetValueByUser(float value)
{
    SetValue(value);
    reportRelease();
}

void TAnalogCControl::SetValue(float value)
{
    if (value == m_value)
        return;
    const float lo = std::min(m_signal.ValueFrom(), m_signal.ValueTo());
    const float hi = std::max(m_signal.ValueFrom(), m_signal.ValueTo());
    value = std::clamp(value, lo, hi);
    SetDigit(m_signal.ValueToDigit(value));
}

void TAnalogCControl::SetDigit(int position)
{
    if (position == m_digit)
        return;
    m_digit = Clamped(position);
    m_value = float(m_signal.DigitToValue(m_digit));
    refreshTexts();
    update();
    TAnalogAccessible::NotifyValueChanged(this);
    if (!m_loading)
        emit OnValueChange();
    m_changed = true;
}

void TAnalogCControl::SetFocusColor(const QColor &color)
{
    m_focusColor = color;
    update();
}

void TAnalogCControl::SetNonFocusColor(const QColor &color)
{
    m_nonFocusColor = color;
    update();
}

int TAnalogCControl::Clamped(long long position) const
{
    const long long lo = std::min(m_signal.DigitalFrom(), m_signal.DigitalTo());
    const long long hi = std::max(m_signal.DigitalFrom(), m_signal.DigitalTo());
    return int(std::clamp(position, lo, hi));
}

void TAnalogCControl::remap()
{
    // The value stays; only where it sits on the new scale changes. A value the new scale cannot
    // show is moved to the nearest end, so the control never holds a value it cannot reach.
    m_digit = Clamped(m_signal.ValueToDigit(m_value));
    const float lo = std::min(m_signal.ValueFrom(), m_signal.ValueTo());
    const float hi = std::max(m_signal.ValueFrom(), m_signal.ValueTo());
    if (m_value < lo || m_value > hi)
        m_value = float(m_signal.DigitToValue(m_digit));
    refreshTexts();
    updateGeometry();
    update();
}

void TAnalogCControl::refreshTexts()
{
    m_valueText = m_signal.FormatValue(m_value);
    m_digitText = QString::number(m_digit);
}

void TAnalogCControl::reportRelease()
{
    // Whatever ends a change also ends a wheel turn still waiting for its pause.
    m_wheelTimer->Stop();
    if (!m_changed)
        return;
    m_changed = false;
    emit OnValueChanged();
}

void TAnalogCControl::keyPressEvent(QKeyEvent *event)
{
    if (!m_keyboardEnabled || !hasFocus()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const long long d = m_digit;
    long long target = d;
    TEnabledKey needed;
    switch (event->key()) {
    case Qt::Key_PageUp: needed = _VK_PRIOR; target = d + m_changeLarge; break;
    case Qt::Key_PageDown: needed = _VK_NEXT; target = d - m_changeLarge; break;
    case Qt::Key_End: needed = _VK_END; target = m_signal.DigitalTo(); break;
    case Qt::Key_Home: needed = _VK_HOME; target = m_signal.DigitalFrom(); break;
    case Qt::Key_Left: needed = _VK_LEFT; target = d - m_changeSmall; break;
    case Qt::Key_Down: needed = _VK_DOWN; target = d - m_changeSmall; break;
    case Qt::Key_Up: needed = _VK_UP; target = d + m_changeSmall; break;
    case Qt::Key_Right: needed = _VK_RIGHT; target = d + m_changeSmall; break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (m_enabledKeys.testFlag(needed))
        SetDigit(Clamped(target));
}

void TAnalogCControl::keyReleaseEvent(QKeyEvent *event)
{
    // Holding a key repeats presses; only letting go of it ends the change.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
    if (hasFocus())
        reportRelease();
}

void TAnalogCControl::wheelEvent(QWheelEvent *event)
{
    m_wheelAccumulated += event->angleDelta().y();
    bool notch = false;
    while (m_wheelAccumulated >= 120) {
        m_wheelAccumulated -= 120;
        notch = true;
        SetDigit(Clamped(static_cast<long long>(m_digit) + m_changeSmall));
    }
    while (m_wheelAccumulated <= -120) {
        m_wheelAccumulated += 120;
        notch = true;
        SetDigit(Clamped(static_cast<long long>(m_digit) - m_changeSmall));
    }
    // Each whole notch pushes the end of the turn further out; a part of a notch is not yet a step.
    if (notch)
        m_wheelTimer->Restart();
    event->accept();
}

void TAnalogCControl::mousePressEvent(QMouseEvent *event)
{
    if (focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        m_leftPressed = true;
        if (OnActivePart(event->position())) {
            m_dragging = true;
            DragStart(event->position());
        }
    }
    event->accept();
}

void TAnalogCControl::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        DragMove(event->position());
    event->accept();
}

void TAnalogCControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = false;
        if (m_leftPressed) {
            m_leftPressed = false;
            reportRelease();
        }
    }
    event->accept();
}

void TAnalogCControl::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TAnalogCControl::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}
