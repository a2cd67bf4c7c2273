#include "widgets/TThermometer.h"

#include "widgets/ScaleTicks.h"

#include <QPainter>
#include <QPainterPath>

TThermometer::TThermometer(QWidget *parent)
    : TAnalogGControl(parent)
{
    SetSupportedOptions(opBevelInner | opBevelOuter | opValue | opName1 | opName2 | opUnit);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void TThermometer::SetLiquidColor(const QColor &color)
{
    if (color == m_liquid)
        return;
    m_liquid = color;
    InvalidateLayers();
}

QSize TThermometer::sizeHint() const
{
    return QSize(62, 180);
}

QSize TThermometer::minimumSizeHint() const
{
    return QSize(44, 100);
}

void TThermometer::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    PaintLayered(painter, [this](QPainter &p, TDrawPass pass) { draw(p, pass); });
}

// The layer is the thermometer without liquid, a second one has the capillary full. A paint copies the
// full one's rows from the level down through the bulb and draws only the level's partly covered row.
void TThermometer::draw(QPainter &painter, TDrawPass pass)
{
    const bool layer = pass != TDrawPass::Moving;
    const bool moving = pass == TDrawPass::Moving;
    const QRectF face = FrameAndFace(painter, pass);

    const TSignalSettings &s = SignalSettings();
    const QColor ink = InkColor();
    const qreal textH = std::clamp<qreal>(face.width() * 0.2, 8.0, 13.0);
    QRectF area = face.adjusted(3, 3, -3, -3);

    if (Options() & opName1) {
        if (layer)
            DrawFittedText(painter, QRectF(area.left(), area.top(), area.width(), textH + 1), Qt::AlignCenter,
                           s.Name1().trimmed(), textH, ink, true);
        area.setTop(area.top() + textH + 2);
    }
    if (Options() & opName2) {
        if (layer)
            DrawFittedText(painter, QRectF(area.left(), area.bottom() - textH, area.width(), textH), Qt::AlignCenter,
                           s.Name2().trimmed(), textH, ink.darker(115));
        area.setBottom(area.bottom() - textH - 1);
    }
    QString text;
    if (Options() & opValue)
        text = ValueText();
    if (Options() & opUnit)
        text = (text + u' ' + s.ValueUnit()).trimmed();
    if (!text.isEmpty()) {
        // Without the value the text is only the unit, which belongs to the layer.
        if ((Options() & opValue) ? moving : layer)
            DrawFittedText(painter, QRectF(area.left(), area.bottom() - textH - 1, area.width(), textH + 1),
                           Qt::AlignCenter, text, textH, QColor(0x7c, 0xff, 0x4f), true);
        area.setBottom(area.bottom() - textH - 3);
    }

    const qreal bulbR = std::clamp<qreal>(area.width() * 0.16, 4.0, 10.0);
    const qreal tubeW = bulbR * 0.9;
    const qreal tubeX = area.left() + bulbR + 3;
    const QPointF bulbC(tubeX, area.bottom() - bulbR - 1);
    const qreal top = area.top() + tubeW / 2 + 2;
    const qreal scaleTop = top + 3;
    const qreal scaleBottom = bulbC.y() - bulbR - 3;
    if (scaleBottom - scaleTop < 10)
        return;
    auto yAt = [&](double perMille) { return scaleBottom - (scaleBottom - scaleTop) * perMille / 1000.0; };

    const qreal level = RangeState() == TRangeState::Under ? bulbC.y() - bulbR : yAt(PerMilleDrawn());
    // Liquid up to the value; below the scale only the bulb stays filled.
    auto liquid = [&](QPainter &p, qreal from) {
        QLinearGradient lg(tubeX - tubeW / 2, 0, tubeX + tubeW / 2, 0);
        lg.setColorAt(0.0, m_liquid.darker(130));
        lg.setColorAt(0.4, m_liquid.lighter(130));
        lg.setColorAt(1.0, m_liquid.darker(150));
        p.setPen(Qt::NoPen);
        p.setBrush(lg);
        p.drawRect(QRectF(tubeX - tubeW / 2 + 1, from, tubeW - 2, bulbC.y() - from));
        QRadialGradient bg(bulbC - QPointF(bulbR * 0.3, bulbR * 0.3), bulbR * 1.2);
        bg.setColorAt(0.0, m_liquid.lighter(150));
        bg.setColorAt(1.0, m_liquid.darker(140));
        p.setBrush(bg);
        p.drawEllipse(bulbC, bulbR, bulbR);
    };
    if (moving) {
        if (LayerRatio() > 0) {
            PrepareLayer(1, 0, [this](QPainter &p) { draw(p, TDrawPass::Full); });
            const QRectF span(tubeX - bulbR - 1, level, 2 * bulbR + 2, bulbC.y() + bulbR + 1 - level);
            PaintSpanFromLayer(painter, 1, span, Qt::Vertical, [&](QPainter &p) { liquid(p, level); });
        }
        return;
    }

    // Glass.
    QPainterPath glass;
    glass.addRoundedRect(QRectF(tubeX - tubeW / 2 - 1.5, top - tubeW / 2, tubeW + 3, bulbC.y() - top + tubeW / 2),
                         tubeW / 2 + 1.5, tubeW / 2 + 1.5);
    glass.addEllipse(bulbC, bulbR + 1.5, bulbR + 1.5);
    glass.setFillRule(Qt::WindingFill);
    painter.setPen(QPen(QColor(0xc8, 0xd0, 0xd8, 200), 1));
    painter.setBrush(QColor(0xe8, 0xee, 0xf4, 40));
    painter.drawPath(glass.simplified());

    // The full layer has the liquid up to the scale's top; drawn uncached, the real level.
    if (pass == TDrawPass::Full)
        liquid(painter, yAt(1000));
    else if (LayerRatio() <= 0)
        liquid(painter, level);

    // Scale at the right of the tube.
    QFont f = painter.font();
    f.setPixelSize(int(std::clamp<qreal>(textH * 0.9, 7.0, 12.0)));
    painter.setFont(f);
    const QFontMetricsF fm(f);
    const double from = s.ValueFrom();
    const double to = s.ValueTo();
    const double step = ScaleTicks::Step(from, to, std::clamp(int((scaleBottom - scaleTop) / (fm.height() * 1.4)), 2, 12));
    const qreal tickX = tubeX + tubeW / 2 + 3;
    painter.setPen(QPen(ink, 1));
    for (double v : ScaleTicks::Values(from, to, step / 2)) {
        const qreal y = yAt(s.ValueToPerMille(v));
        const bool major = std::fabs(std::remainder(v, step)) < step * 1e-6;
        painter.drawLine(QPointF(tickX, y), QPointF(tickX + (major ? 6 : 3), y));
        if (major)
            painter.drawText(QRectF(tickX + 7, y - fm.height() / 2, area.right() - tickX - 7, fm.height()),
                             Qt::AlignLeft | Qt::AlignVCenter, ScaleTicks::Label(v, step));
    }
}
