#include "widgets/TLED.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QRadialGradient>

TLED::TLED()
    : m_colorOn(0x00, 0xFF, 0x00)
    , m_colorOff(QApplication::palette().color(QPalette::Button))
{
}

void TLED::changed()
{
    if (m_onChange)
        m_onChange();
}

void TLED::SetShape(TLedShape s)
{
    if (s == m_shape)
        return;
    m_shape = s;
    changed();
}

void TLED::SetWidth(int w)
{
    if (w < MinSize || w > MaxSize || w == m_width)
        return;
    m_width = w;
    changed();
}

void TLED::SetHeight(int h)
{
    if (h < MinSize || h > MaxSize || h == m_height)
        return;
    m_height = h;
    changed();
}

void TLED::SetColorOn(const QColor &c)
{
    if (c == m_colorOn)
        return;
    m_colorOn = c;
    changed();
}

void TLED::SetColorOff(const QColor &c)
{
    if (c == m_colorOff)
        return;
    m_colorOff = c;
    changed();
}

void TLED::Paint(QPainter &p, const QRectF &r, bool lit, bool enabled) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QColor body = lit ? m_colorOn : m_colorOff;
    if (!enabled)
        body = QColor::fromHsvF(body.hsvHueF() < 0 ? 0 : body.hsvHueF(), body.hsvSaturationF() * 0.35,
                                body.valueF() * 0.85 + 0.1);

    QPainterPath outline;
    const QRectF o = r.adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_shape == sRound)
        outline.addEllipse(o);
    else
        outline.addRoundedRect(o, 1.5, 1.5);

    // A recessed bezel, then the lens: lit lamps glow from the centre, dark
    // ones get only a faint highlight so that the off colour reads true.
    QLinearGradient bezel(o.topLeft(), o.bottomRight());
    bezel.setColorAt(0, QColor(90, 90, 90));
    bezel.setColorAt(1, QColor(235, 235, 235));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawPath(outline);

    const qreal inset = qMax<qreal>(1.0, qMin(o.width(), o.height()) * 0.09);
    const QRectF lens = o.adjusted(inset, inset, -inset, -inset);
    QPainterPath lensPath;
    if (m_shape == sRound)
        lensPath.addEllipse(lens);
    else
        lensPath.addRoundedRect(lens, 1.0, 1.0);

    if (lit) {
        QRadialGradient g(lens.center() - QPointF(lens.width() * 0.15, lens.height() * 0.2),
                          qMax(lens.width(), lens.height()) * 0.75);
        g.setColorAt(0, body.lighter(150));
        g.setColorAt(0.55, body);
        g.setColorAt(1, body.darker(125));
        p.setBrush(g);
    } else {
        QLinearGradient g(lens.topLeft(), lens.bottomLeft());
        g.setColorAt(0, body.lighter(108));
        g.setColorAt(1, body.darker(112));
        p.setBrush(g);
    }
    p.drawPath(lensPath);

    // Specular spot: small, so it never hides the colour.
    const QRectF spot(lens.left() + lens.width() * 0.18, lens.top() + lens.height() * 0.12,
                      lens.width() * 0.38, lens.height() * 0.3);
    QRadialGradient sg(spot.center(), qMax(spot.width(), spot.height()) / 2);
    sg.setColorAt(0, QColor(255, 255, 255, lit ? 170 : 110));
    sg.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(sg);
    if (m_shape == sRound)
        p.drawEllipse(spot);
    else
        p.drawRect(spot);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 140), 1.0));
    p.drawPath(lensPath);
    p.restore();
}
