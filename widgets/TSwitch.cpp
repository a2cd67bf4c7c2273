#include "widgets/TSwitch.h"

#include "widgets/TWidgetAccessible.h"

TSwitch::TSwitch(QWidget *parent)
    : TBinGControl(parent)
{
    SetMode(mSwitch);
    TWidgetAccessible::SetRole(this, QAccessible::CheckBox);
    resize(m_hint);
}

void TSwitch::SetOrientation(TBinOrientation o)
{
    if (o == m_orientation)
        return;
    m_orientation = o;
    const bool wide = width() >= height();
    if ((o == boVertical) == wide)
        resize(height(), width());
    if ((o == boVertical) == (m_hint.width() >= m_hint.height()))
        m_hint.transpose();
    updateGeometry();
    update();
}

void TSwitch::SetSwapGraphic(bool v)
{
    if (v == m_swap)
        return;
    m_swap = v;
    update();
}

QRectF TSwitch::Housing() const
{
    return QRectF(rect()).adjusted(1, 1, -1, -1);
}

QRectF TSwitch::FirstHalf() const
{
    const QRectF h = Housing();
    if (m_orientation == boHorizontal)
        return QRectF(h.left(), h.top(), h.width() / 2, h.height());
    return QRectF(h.left(), h.top(), h.width(), h.height() / 2);
}

QRectF TSwitch::SecondHalf() const
{
    const QRectF h = Housing();
    if (m_orientation == boHorizontal)
        return QRectF(h.left() + h.width() / 2, h.top(), h.width() / 2, h.height());
    return QRectF(h.left(), h.top() + h.height() / 2, h.width(), h.height() / 2);
}

bool TSwitch::PressToggles(const QPointF &pos) const
{
    // The halves split the whole widget, so a press on the rim still counts.
    const bool inFirst = m_orientation == boHorizontal ? pos.x() < width() / 2.0 : pos.y() < height() / 2.0;
    const bool onSideIsFirst = !m_swap;
    // Off: the press must land on the on side; on: on the off side.
    return Checked() ? inFirst != onSideIsFirst : inFirst == onSideIsFirst;
}
