#include "widgets/TSpinButton.h"

#include "widgets/TWidgetAccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

TSpinButton::TSpinButton(QWidget *parent)
    : QWidget(parent)
{
    m_up.owner = m_down.owner = this;
    m_up.direction = +1;
    m_down.direction = -1;
    setFocusPolicy(Qt::TabFocus);
    setMinimumWidth(MinWidth);
    resize(MinWidth, 24);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    TWidgetAccessible::SetRole(this, QAccessible::SpinBox);
    refreshAccessible();
}

TSpinButton::~TSpinButton()
{
    if (m_timer) {
        m_timer->Unregister(&m_up);
        m_timer->Unregister(&m_down);
    }
}

void TSpinButton::SetFlashTimer(TFlashTimer *timer)
{
    stopRepeat();
    m_timer = timer;
}

TFlashTimer *TSpinButton::FlashTimer() const
{
    return m_timer ? m_timer.data() : TFlashTimer::Shared();
}

void TSpinButton::SetStartDelay(int ms)
{
    if (ms >= 0)
        m_startDelay = ms;
}

void TSpinButton::SetInterval(int ms)
{
    if (ms >= MinInterval)
        m_interval = ms;
}

void TSpinButton::Half::PeriodicTick(int)
{
    TSpinButton *s = owner;
    if (s->m_held != direction)
        return;
    if (s->FlashTimer()->Now() - s->m_pressedAt >= s->m_startDelay)
        s->fire(direction);
}

void TSpinButton::fire(int direction)
{
    if (direction > 0)
        emit OnUpClick();
    else
        emit OnDownClick();
}

void TSpinButton::stopRepeat()
{
    if (m_timer) {
        m_timer->Unregister(&m_up);
        m_timer->Unregister(&m_down);
    }
    if (m_held != 0) {
        m_held = 0;
        refreshAccessible();
        update();
    }
}

void TSpinButton::takeFocus()
{
    QWidget *fc = m_focusControl;
    if (fc && fc->isEnabled() && fc->isVisible() && fc->focusPolicy() != Qt::NoFocus
        && (fc->focusPolicy() & Qt::TabFocus)) {
        fc->setFocus(Qt::MouseFocusReason);
        return;
    }
    if (focusPolicy() & Qt::TabFocus)
        setFocus(Qt::MouseFocusReason);
}

void TSpinButton::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    e->accept();
    takeFocus();
    stopRepeat();
    if (!m_timer)
        m_timer = TFlashTimer::Shared();
    m_held = halfAt(e->position());
    m_pressedAt = m_timer->Now();
    m_timer->RegisterPeriodic(m_held > 0 ? &m_up : &m_down, m_interval);
    refreshAccessible();
    update();
}

void TSpinButton::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || m_held == 0) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    e->accept();
    const int held = m_held;
    stopRepeat();
    // The release completes an ordinary click of the half that was pressed.
    if (rect().contains(e->position().toPoint()) && halfAt(e->position()) == held)
        fire(held);
}

void TSpinButton::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Up)
        fire(+1);
    else if (e->key() == Qt::Key_Down)
        fire(-1);
    else
        QWidget::keyPressEvent(e);
}

void TSpinButton::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange && !isEnabled())
        stopRepeat();
    QWidget::changeEvent(e);
}

void TSpinButton::hideEvent(QHideEvent *e)
{
    stopRepeat();
    QWidget::hideEvent(e);
}

void TSpinButton::refreshAccessible()
{
    TWidgetAccessible::SetValue(this, m_held > 0 ? tr("up held") : m_held < 0 ? tr("down held") : QString());
}

void TSpinButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const int h = height();
    const QRect halves[2] = {QRect(0, 0, width(), h / 2), QRect(0, h / 2, width(), h - h / 2)};
    for (int i = 0; i < 2; ++i) {
        const int dir = i == 0 ? +1 : -1;
        const bool down = m_held == dir;
        QStyleOptionButton b;
        b.initFrom(this);
        b.rect = halves[i];
        b.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &b, &p, this);

        // Arrow glyph, nudged by a pixel while pressed like a real key.
        const QRectF r = QRectF(halves[i]).adjusted(3, 2, -3, -2).translated(down ? 1 : 0, down ? 1 : 0);
        const qreal w = qMin(r.width(), r.height() * 1.6);
        const qreal gh = w / 2;
        const QPointF c = r.center();
        QPolygonF tri;
        if (dir > 0)
            tri << QPointF(c.x() - w / 2, c.y() + gh / 2) << QPointF(c.x() + w / 2, c.y() + gh / 2)
                << QPointF(c.x(), c.y() - gh / 2);
        else
            tri << QPointF(c.x() - w / 2, c.y() - gh / 2) << QPointF(c.x() + w / 2, c.y() - gh / 2)
                << QPointF(c.x(), c.y() + gh / 2);
        p.setPen(Qt::NoPen);
        p.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        p.drawPolygon(tri);
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1.0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}
