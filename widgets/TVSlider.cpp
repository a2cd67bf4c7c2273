#include "widgets/TVSlider.h"

#include <QPainter>

TVSlider::TVSlider(QWidget *parent)
    : TAnalogCControl(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

QSize TVSlider::sizeHint() const
{
    return QSize(int(labelWidth() + 44), 170);
}

QSize TVSlider::minimumSizeHint() const
{
    return QSize(40, 80);
}

qreal TVSlider::textHeight() const
{
    return std::clamp<qreal>(height() * 0.07, 9.0, 13.0);
}

qreal TVSlider::labelWidth() const
{
    QFont f = font();
    f.setPixelSize(int(textHeight() * 0.85));
    const QFontMetricsF fm(f);
    const TSignalSettings &s = SignalSettings();
    return std::max(fm.horizontalAdvance(s.FormatValue(s.ValueTo())), fm.horizontalAdvance(s.FormatValue(s.ValueFrom()))) + 2;
}

QRectF TVSlider::TrackRect() const
{
    // Room above and below for half a thumb, at the bottom for the value text and at the left for the
    // scale labels.
    const qreal th = textHeight();
    const qreal top = 10.0;
    const qreal bottom = height() - th - 14.0;
    const qreal w = 16.0;
    const qreal left = std::min(labelWidth() + 14.0, width() - w - 4.0);
    return QRectF(std::max<qreal>(4.0, left), top, w, std::max<qreal>(1.0, bottom - top));
}

qreal TVSlider::ThumbY() const
{
    const QRectF t = TrackRect();
    const int span = SignalSettings().PositionSpan();
    const double f = span == 0 ? 0.0 : double(Digit() - SignalSettings().DigitalFrom()) / span;
    return t.bottom() - f * t.height();
}

bool TVSlider::OnActivePart(const QPointF &pos) const
{
    return TrackRect().adjusted(0, -8, 0, 8).contains(pos);
}

void TVSlider::DragStart(const QPointF &)
{
}

void TVSlider::DragMove(const QPointF &pos)
{
    const QRectF t = TrackRect();
    const double y = std::clamp<double>(pos.y(), t.top(), t.bottom());
    const int span = SignalSettings().PositionSpan();
    SetDigit(int(TSignalSettings::RoundHalfEven(span / t.height() * (t.bottom() - y))) + SignalSettings().DigitalFrom());
}

void TVSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF t = TrackRect();
    const QColor ink = palette().color(QPalette::WindowText);
    const QColor indicator = IndicatorColor();
    const qreal cx = t.center().x();
    const qreal th = textHeight();

    // Scale ticks at the left of the track with the two ends labelled.
    QFont small = painter.font();
    small.setPixelSize(int(th * 0.85));
    painter.setFont(small);
    painter.setPen(QPen(ink, 1));
    const qreal tickRight = t.left() - 3;
    for (int i = 0; i <= 10; ++i) {
        const qreal y = t.bottom() - t.height() * i / 10.0;
        painter.drawLine(QPointF(tickRight - (i % 5 == 0 ? 7 : 4), y), QPointF(tickRight, y));
    }
    const TSignalSettings &s = SignalSettings();
    const QRectF labels(0, 0, tickRight - 9, height());
    painter.drawText(QRectF(labels.left(), t.top() - th, labels.width(), th * 2), Qt::AlignRight | Qt::AlignVCenter,
                     s.FormatValue(s.ValueTo()));
    painter.drawText(QRectF(labels.left(), t.bottom() - th, labels.width(), th * 2), Qt::AlignRight | Qt::AlignVCenter,
                     s.FormatValue(s.ValueFrom()));

    // Groove, filled in the indicator colour below the thumb.
    const qreal gw = std::max<qreal>(4.0, t.width() * 0.3);
    const QRectF groove(cx - gw / 2, t.top(), gw, t.height());
    painter.setPen(QPen(palette().color(QPalette::Dark), 1));
    painter.setBrush(palette().color(QPalette::Mid));
    painter.drawRoundedRect(groove, gw / 2, gw / 2);
    const qreal y = ThumbY();
    painter.setPen(Qt::NoPen);
    painter.setBrush(indicator);
    painter.drawRoundedRect(QRectF(groove.left() + 1, y, gw - 2, groove.bottom() - y), gw / 2 - 1, gw / 2 - 1);

    // Thumb.
    const QRectF thumb(t.left() - 2, y - 6, t.width() + 4, 12);
    QLinearGradient g(thumb.topLeft(), thumb.bottomLeft());
    g.setColorAt(0.0, QColor(0x7a, 0x82, 0x8c));
    g.setColorAt(0.5, QColor(0x3a, 0x40, 0x48));
    g.setColorAt(1.0, QColor(0x22, 0x26, 0x2c));
    painter.setPen(QPen(QColor(0, 0, 0, 200), 1));
    painter.setBrush(g);
    painter.drawRoundedRect(thumb, 3, 3);
    painter.setPen(QPen(indicator, 2));
    painter.drawLine(QPointF(thumb.left() + 3, y), QPointF(thumb.right() - 3, y));

    // Value and unit.
    QFont f = painter.font();
    f.setPixelSize(int(th));
    f.setBold(true);
    painter.setFont(f);
    painter.setPen(ink);
    painter.drawText(QRectF(0, height() - th - 4, width(), th + 3), Qt::AlignCenter,
                     (ValueText() + u' ' + s.ValueUnit()).trimmed());

    if (hasFocus()) {
        painter.setPen(QPen(indicator, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
}
