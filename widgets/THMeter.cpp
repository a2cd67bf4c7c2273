#include "widgets/THMeter.h"

#include "widgets/ScaleTicks.h"

#include <QPainter>

THMeter::THMeter(QWidget *parent)
    : TAnalogGControl(parent)
{
    SetSupportedOptions(opBevelInner | opBevelOuter | opUnit | opName1 | opName2 | opOverflow | opLimit | opSector);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize THMeter::sizeHint() const
{
    return QSize(240, 78);
}

QSize THMeter::minimumSizeHint() const
{
    return QSize(120, 56);
}

void THMeter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    PaintLayered(painter, [this](QPainter &p, TDrawPass pass) { draw(p, pass); });
}

// The frame, face, names, sector band, scale and unit go to the layer; the alarm lamp, limit marks,
// extremes and the pointer are drawn over it. None of the moving parts overlaps a later layer part.
void THMeter::draw(QPainter &painter, TDrawPass pass) const
{
    const bool layer = pass == TDrawPass::Layer;
    const bool moving = pass == TDrawPass::Moving;
    const QRectF face = FrameAndFace(painter, pass);
    painter.setClipRect(face);

    const TSignalSettings &s = SignalSettings();
    const QColor ink = InkColor();
    const qreal textH = std::clamp<qreal>(face.height() * 0.16, 8.0, 13.0);
    const qreal pad = 4.0;
    QRectF area = face.adjusted(pad, 2, -pad, -2);

    // Header: names at the left, alarm lamp at the right.
    const qreal lamp = textH;
    const QRectF header(area.left(), area.top(), area.width() - lamp - 4, textH + 2);
    if (layer && (Options() & opName1))
        DrawFittedText(painter, header, Qt::AlignLeft | Qt::AlignVCenter, s.Name1().trimmed(), textH, ink, true);
    if (layer && (Options() & opName2))
        DrawFittedText(painter, header, Qt::AlignRight | Qt::AlignVCenter, s.Name2().trimmed(), textH, ink.darker(115));
    if (moving && (Options() & (opOverflow | opLimit)))
        DrawMark(painter, QRectF(area.right() - lamp, area.top() + 1, lamp, lamp), AlarmColor());
    area.setTop(header.bottom() + 1);

    const qreal unitH = (Options() & opUnit) ? textH : 0.0;
    QFont labelFont = painter.font();
    labelFont.setPixelSize(int(textH));
    const QFontMetricsF fm(labelFont);

    const double from = s.ValueFrom();
    const double to = s.ValueTo();
    const double step = ScaleTicks::Step(from, to, std::max(2, int(area.width() / (fm.horizontalAdvance(u'0') * 6))));
    const auto ticks = ScaleTicks::Values(from, to, step);
    qreal halfLabel = fm.horizontalAdvance(ScaleTicks::Label(to, step)) / 2 + 1;
    halfLabel = std::max(halfLabel, fm.horizontalAdvance(ScaleTicks::Label(from, step)) / 2 + 1);
    const qreal left = area.left() + halfLabel;
    const qreal right = area.right() - halfLabel;
    const qreal pointerH = std::clamp<qreal>(area.height() * 0.26, 6.0, 12.0);
    const qreal baseline = area.top() + pointerH + 2;
    const qreal labelsTop = baseline + std::max<qreal>(8.0, textH * 0.8) + 2;
    auto xAt = [&](double perMille) { return left + (right - left) * perMille / 1000.0; };

    // Sector band under the scale line; the offset pushes it down, out of view when large.
    if (layer && (Options() & opSector)) {
        const qreal bandTop = baseline + 1 + SectorSettings().Offset();
        const qreal bandH = 4.0;
        for (int k = 1; k <= TSectorSettings::Count; ++k) {
            const auto &sec = SectorSettings().SectorAt(k);
            const double a = std::clamp(double(sec.From), 0.0, 1000.0);
            const double b = std::clamp(double(sec.To), 0.0, 1000.0);
            if (b <= a)
                continue;
            painter.fillRect(QRectF(xAt(a), bandTop, xAt(b) - xAt(a), bandH), sec.Color);
        }
    }

    // Scale line, ticks and labels.
    if (layer) {
        painter.setPen(QPen(ink, 1.2));
        painter.drawLine(QPointF(left, baseline), QPointF(right, baseline));
        const double minor = step / 5.0;
        for (double v = ticks.empty() ? from : ticks.front() - step; v <= to + minor * 0.01; v += minor) {
            const double pm = s.ValueToPerMille(v);
            if (pm < -0.5 || pm > 1000.5)
                continue;
            painter.drawLine(QPointF(xAt(pm), baseline), QPointF(xAt(pm), baseline + 3));
        }
        painter.setFont(labelFont);
        for (double v : ticks) {
            const qreal x = xAt(s.ValueToPerMille(v));
            painter.setPen(QPen(ink, 1.6));
            painter.drawLine(QPointF(x, baseline), QPointF(x, baseline + 7));
            const QString label = ScaleTicks::Label(v, step);
            const qreal w = fm.horizontalAdvance(label);
            painter.drawText(QRectF(x - w / 2 - 1, labelsTop, w + 2, textH + 2), Qt::AlignCenter, label);
        }
    }

    // Limit marks: small flags standing on the scale line.
    if (moving && (Options() & opLimit)) {
        auto limitMark = [&](float limit, bool violated) {
            const double pm = s.ValueToPerMille(limit);
            if (pm < 0 || pm > 1000)
                return;
            const qreal x = xAt(pm);
            painter.setPen(Qt::NoPen);
            painter.setBrush(violated ? clRed() : QColor(0xff, 0x9f, 0x1a));
            QPolygonF flag;
            flag << QPointF(x, baseline - 1) << QPointF(x - 3, baseline - 6) << QPointF(x + 3, baseline - 6);
            painter.drawPolygon(flag);
        };
        limitMark(LimitLower(), LowerViolated());
        limitMark(LimitUpper(), UpperViolated());
    }

    // Remembered extremes as slim ticks under the line.
    const TMinMax &mm = MinMax();
    auto extreme = [&](float v, bool isMax) {
        const qreal x = xAt(std::clamp(s.ValueToPerMille(v), 0.0, 1000.0));
        painter.setPen(QPen(ExtremeColor(v, isMax), 2));
        painter.drawLine(QPointF(x, baseline + 1), QPointF(x, baseline + 8));
    };
    if (moving && mm.MinVisible() && mm.MinSet())
        extreme(mm.Min(), false);
    if (moving && mm.MaxVisible() && mm.MaxSet())
        extreme(mm.Max(), true);

    // Pointer: a wedge pointing down at the value.
    if (moving) {
        const qreal px = xAt(PerMilleDrawn());
        QPolygonF wedge;
        wedge << QPointF(px, baseline) << QPointF(px - pointerH * 0.55, baseline - pointerH)
              << QPointF(px + pointerH * 0.55, baseline - pointerH);
        painter.setPen(QPen(QColor(0, 0, 0, 200), 1));
        painter.setBrush(QColor(0xff, 0x30, 0x20));
        painter.drawPolygon(wedge);
        painter.setPen(QPen(QColor(0xff, 0x30, 0x20), 1.5));
        painter.drawLine(QPointF(px, baseline), QPointF(px, baseline + 6));
    }

    if (layer && unitH > 0)
        DrawFittedText(painter, QRectF(area.left(), area.bottom() - unitH, area.width(), unitH),
                       Qt::AlignRight | Qt::AlignBottom, s.ValueUnit().trimmed(), unitH, ink.darker(110));
}
