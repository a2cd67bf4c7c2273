#include "app/PlaceholderInstrument.h"

#include <QMouseEvent>
#include <QPainter>

PlaceholderInstrument::PlaceholderInstrument(const QString &kind, const QString &caption,
                                             QSize preferredSize, QWidget *parent)
    : QFrame(parent), m_kind(kind), m_caption(caption), m_preferredSize(preferredSize)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setToolTip(kind);
}

void PlaceholderInstrument::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void PlaceholderInstrument::setMeterLook(int sectorOffset, int pointerShape)
{
    m_sectorOffset = sectorOffset;
    m_pointerShape = pointerShape;
    update();
}

void PlaceholderInstrument::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    const QRect inner = contentsRect().adjusted(2, 2, -2, -2);
    p.fillRect(inner, palette().color(QPalette::Base).darker(isEnabled() ? 104 : 110));

    QFont small = font();
    small.setPointSizeF(qMax(6.0, small.pointSizeF() - 2));
    p.setFont(small);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    const QString text = m_caption.isEmpty() ? objectName() : m_caption;
    if (inner.height() > 2 * inner.width() && p.fontMetrics().horizontalAdvance(text) > inner.width()) {
        // Tall, narrow stand-ins (bars) read their name upwards.
        p.translate(inner.center());
        p.rotate(-90);
        const QRect turned(-inner.height() / 2, -inner.width() / 2, inner.height(), inner.width());
        p.drawText(turned, Qt::AlignCenter, text);
        return;
    }
    p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, text);
}

void PlaceholderInstrument::mouseReleaseEvent(QMouseEvent *event)
{
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
