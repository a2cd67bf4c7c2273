#include "widgets/TLedIndicator.h"

#include "widgets/TWidgetAccessible.h"

#include <QFontMetrics>
#include <QPainter>

TLedIndicator::TLedIndicator(QWidget *parent)
    : TLedIndicator(QString(), parent)
{
}

TLedIndicator::TLedIndicator(const QString &caption, QWidget *parent)
    : TBinGControl(parent)
    , m_caption(caption)
{
    m_led.SetOnChange([this] { layoutChanged(); });
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(m_caption);
    TWidgetAccessible::SetValue(this, AccessibleStateText());
}

void TLedIndicator::SetCaption(const QString &text)
{
    if (text == m_caption)
        return;
    m_caption = text;
    setAccessibleName(text);
    layoutChanged();
}

void TLedIndicator::SetLED_Position(TLedPosition p)
{
    if (p == m_position)
        return;
    m_position = p;
    layoutChanged();
}

void TLedIndicator::SetSpacing(int px)
{
    if (px == m_spacing || px < 0)
        return;
    m_spacing = px;
    layoutChanged();
}

void TLedIndicator::layoutChanged()
{
    updateGeometry();
    TWidgetAccessible::SetValue(this, AccessibleStateText());
    update();
}

QSize TLedIndicator::sizeHint() const
{
    const QFontMetrics fm(font());
    const QSize lamp(m_led.Width(), m_led.Height());
    if (m_caption.isEmpty())
        return lamp + QSize(2, 2);
    const QSize text(fm.horizontalAdvance(m_caption), fm.height());
    if (m_position == lpLeft || m_position == lpRight)
        return {lamp.width() + m_spacing + text.width() + 2, qMax(lamp.height(), text.height()) + 2};
    return {qMax(lamp.width(), text.width()) + 2, lamp.height() + m_spacing + text.height() + 2};
}

QRect TLedIndicator::LampRect() const
{
    const QSize lamp(m_led.Width(), m_led.Height());
    const QRect r = rect();
    if (m_caption.isEmpty())
        return QRect(QPoint(r.center().x() - lamp.width() / 2, r.center().y() - lamp.height() / 2), lamp);
    const QSize hint = sizeHint();
    switch (m_position) {
    case lpLeft:
        return QRect(QPoint(1, (r.height() - lamp.height()) / 2), lamp);
    case lpRight:
        return QRect(QPoint(r.width() - 1 - lamp.width(), (r.height() - lamp.height()) / 2), lamp);
    case lpTop: {
        const int top = qMax(1, (r.height() - hint.height()) / 2 + 1);
        return QRect(QPoint((r.width() - lamp.width()) / 2, top), lamp);
    }
    case lpBottom: {
        const int bottom = qMin(r.height() - 1, r.height() - (r.height() - hint.height()) / 2 - 1);
        return QRect(QPoint((r.width() - lamp.width()) / 2, bottom - lamp.height()), lamp);
    }
    }
    return {};
}

QRect TLedIndicator::CaptionRect() const
{
    const QRect lamp = LampRect();
    const QRect r = rect();
    switch (m_position) {
    case lpLeft:
        return QRect(QPoint(lamp.right() + 1 + m_spacing, 0), QPoint(r.right(), r.bottom()));
    case lpRight:
        return QRect(QPoint(0, 0), QPoint(lamp.left() - 1 - m_spacing, r.bottom()));
    case lpTop:
        return QRect(QPoint(0, lamp.bottom() + 1 + m_spacing), QPoint(r.right(), r.bottom()));
    case lpBottom:
        return QRect(QPoint(0, 0), QPoint(r.right(), lamp.top() - 1 - m_spacing));
    }
    return {};
}

void TLedIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    m_led.Paint(p, LampRect(), ShowsOn(), isEnabled());
    if (!m_caption.isEmpty()) {
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        Qt::Alignment a = Qt::AlignVCenter | Qt::AlignLeft;
        if (m_position == lpRight)
            a = Qt::AlignVCenter | Qt::AlignRight;
        else if (m_position == lpTop)
            a = Qt::AlignTop | Qt::AlignHCenter;
        else if (m_position == lpBottom)
            a = Qt::AlignBottom | Qt::AlignHCenter;
        p.drawText(CaptionRect(), int(a) | Qt::TextSingleLine, m_caption);
    }
}
