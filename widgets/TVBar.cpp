#include "widgets/TVBar.h"

#include <QPainter>

#include <cmath>

TVBar::TVBar(QWidget *parent)
    : TAnalogGControl(parent)
{
    SetSupportedOptions(opBevelInner | opBevelOuter | opValue | opName1 | opName2 | opOverflow | opUnit);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

bool TVBar::AlarmWanted() const
{
    return (Options() & opOverflow) && RangeState() != TRangeState::Inside;
}

QColor TVBar::QuietAlarmColor() const
{
    return palette().color(QPalette::Button);
}

QColor TVBar::TopMarkColor() const
{
    return RangeState() == TRangeState::Over ? AlarmColor() : QuietAlarmColor();
}

QColor TVBar::BottomMarkColor() const
{
    return RangeState() == TRangeState::Under ? AlarmColor() : QuietAlarmColor();
}

QSize TVBar::sizeHint() const
{
    return QSize(46, 170);
}

QSize TVBar::minimumSizeHint() const
{
    return QSize(26, 80);
}

void TVBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    PaintLayered(painter, [this](QPainter &p, TDrawPass pass) { draw(p, pass); });
}

// The layer holds the column with every segment dark, a second one with every segment lit; a paint
// copies the lit rows up to the value. The cut runs through the gap between two segments, where no
// pixel row touches both, so the copy matches segments drawn one by one.
void TVBar::draw(QPainter &painter, TDrawPass pass)
{
    const bool layer = pass != TDrawPass::Moving;
    const bool moving = pass == TDrawPass::Moving;
    const QRectF face = FrameAndFace(painter, pass);

    const TSignalSettings &s = SignalSettings();
    const qreal pad = 3.0;
    QRectF area = face.adjusted(pad, pad, -pad, -pad);
    const qreal textH = std::clamp<qreal>(face.width() * 0.32, 9.0, 14.0);
    const QColor ink = InkColor();

    if (Options() & opName1) {
        if (layer)
            DrawFittedText(painter, QRectF(area.left(), area.top(), area.width(), textH), Qt::AlignCenter,
                           s.Name1().trimmed(), textH, ink);
        area.setTop(area.top() + textH + 1);
    }
    if (Options() & opName2) {
        if (layer)
            DrawFittedText(painter, QRectF(area.left(), area.bottom() - textH, area.width(), textH), Qt::AlignCenter,
                           s.Name2().trimmed(), textH, ink.darker(110));
        area.setBottom(area.bottom() - textH - 1);
    }
    if (Options() & opUnit) {
        if (layer)
            DrawFittedText(painter, QRectF(area.left(), area.bottom() - textH, area.width(), textH), Qt::AlignCenter,
                           s.ValueUnit().trimmed(), textH * 0.9, ink.darker(120));
        area.setBottom(area.bottom() - textH);
    }
    if (Options() & opValue) {
        if (moving)
            DrawFittedText(painter, QRectF(area.left(), area.bottom() - textH - 2, area.width(), textH + 2),
                           Qt::AlignCenter, ValueText(), textH + 1, QColor(0x7c, 0xff, 0x4f), true);
        area.setBottom(area.bottom() - textH - 3);
    }

    const qreal markH = std::clamp<qreal>(area.height() * 0.04, 4.0, 7.0);
    const qreal columnW = std::min<qreal>(area.width() * 0.62, 26.0);
    const qreal x = area.center().x() - columnW / 2;
    if (Options() & opOverflow) {
        if (moving) {
            DrawMark(painter, QRectF(x, area.top(), columnW, markH), TopMarkColor());
            DrawMark(painter, QRectF(x, area.bottom() - markH, columnW, markH), BottomMarkColor());
        }
        area.adjust(0, markH + 2, 0, -(markH + 2));
    }
    if (area.height() < 4)
        return;

    // Segments of about 4 px with 1 px gaps, whatever the height; each lights once the value reaches it.
    const int count = std::max(5, int(area.height() / 5.0));
    const qreal step = area.height() / count;
    const int lit = int(TSignalSettings::RoundHalfEven(PerMilleDrawn() / 1000.0 * count));
    if (layer) {
        // Drawing straight onto the widget, the layer pass shows the real state.
        const int shown = pass == TDrawPass::Full ? count : LayerRatio() > 0 ? 0 : lit;
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < count; ++i) {
            const double perMille = (i + 0.5) * 1000.0 / count;
            const QColor c = ColorAtPerMille(perMille);
            const QRectF seg(x, area.bottom() - (i + 1) * step + 0.5, columnW, step - 1.0);
            painter.setBrush(i < shown ? c : c.darker(420));
            painter.drawRect(seg);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 0, 0, 150), 1));
        painter.drawRect(QRectF(x - 0.5, area.top(), columnW + 1, area.height()));
        return;
    }

    if (lit > 0 && LayerRatio() > 0) {
        PrepareLayer(1, 0, [this](QPainter &p) { draw(p, TDrawPass::Full); });
        const qreal r = LayerRatio();
        const int cut = int(std::lround((area.bottom() - lit * step) * r));
        // The column with its outline, which reaches half a pixel past it.
        const int left = int(std::floor((x - 1) * r));
        const int right = int(std::ceil((x + columnW + 1) * r));
        const int bottom = int(std::ceil((area.bottom() + 0.5) * r));
        CopyFromLayer(painter, 1, QRect(left, cut, right - left, bottom - cut));
    }

    // Remembered extremes as small ticks at the column's right side.
    const TMinMax &mm = MinMax();
    auto extreme = [&](float v, bool isMax) {
        const double p = std::clamp(s.ValueToPerMille(v), 0.0, 1000.0);
        const qreal y = area.bottom() - p / 1000.0 * area.height();
        painter.setPen(Qt::NoPen);
        painter.setBrush(ExtremeColor(v, isMax));
        QPolygonF tri;
        tri << QPointF(x + columnW + 1, y) << QPointF(x + columnW + 5, y - 3) << QPointF(x + columnW + 5, y + 3);
        painter.drawPolygon(tri);
    };
    if (mm.MinVisible() && mm.MinSet())
        extreme(mm.Min(), false);
    if (mm.MaxVisible() && mm.MaxSet())
        extreme(mm.Max(), true);
}
