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

    // A dark metal bezel, then a glass lens set into it. Lit lamps glow from
    // the centre; dark ones look like unlit glass (shaded towards the rim) so
    // that even a face-coloured off state reads as a lamp, not a radio button.
    QLinearGradient bezel(o.topLeft(), o.bottomRight());
    bezel.setColorAt(0, QColor(55, 55, 55));
    bezel.setColorAt(1, QColor(175, 175, 175));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawPath(outline);

    const qreal inset = qMax<qreal>(1.4, qMin(o.width(), o.height()) * 0.13);
    const QRectF lens = o.adjusted(inset, inset, -inset, -inset);
    QPainterPath lensPath;
    if (m_shape == sRound)
        lensPath.addEllipse(lens);
    else
        lensPath.addRoundedRect(lens, 1.0, 1.0);

    const qreal reach = qMax(lens.width(), lens.height()) * 0.75;
    if (lit) {
        QRadialGradient g(lens.center() - QPointF(lens.width() * 0.12, lens.height() * 0.15), reach);
        g.setColorAt(0, body.lighter(160));
        g.setColorAt(0.5, body);
        g.setColorAt(1, body.darker(125));
        p.setBrush(g);
    } else {
        QRadialGradient g(lens.center() + QPointF(0, lens.height() * 0.1), reach);
        g.setColorAt(0, body.darker(104));
        g.setColorAt(0.6, body.darker(118));
        g.setColorAt(1, body.darker(150));
        p.setBrush(g);
    }
    p.drawPath(lensPath);

    // Specular spot: small, so it never hides the colour.
    const QRectF spot(lens.left() + lens.width() * 0.18, lens.top() + lens.height() * 0.1,
                      lens.width() * 0.4, lens.height() * 0.32);
    QRadialGradient sg(spot.center(), qMax(spot.width(), spot.height()) / 2);
    sg.setColorAt(0, QColor(255, 255, 255, lit ? 190 : 150));
    sg.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(sg);
    if (m_shape == sRound)
        p.drawEllipse(spot);
    else
        p.drawRect(spot);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 110), 0.8));
    p.drawPath(lensPath);
    p.setPen(QPen(QColor(20, 20, 20, 200), 1.0));
    p.drawPath(outline);
    p.restore();
}
