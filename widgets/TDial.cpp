#include "widgets/TDial.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
constexpr double Pi = 3.14159265358979323846;

QPointF polar(const QPointF &c, qreal r, qreal degrees)
{
    const qreal a = degrees * Pi / 180.0;
    return QPointF(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
}
} // namespace

TDial::TDial(QWidget *parent)
    : TAnalogCControl(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setSizePolicy(policy);
}

QSize TDial::sizeHint() const
{
    constexpr int Height = 138;
    return QSize(std::max(110, captionWidth(int(std::clamp(Height * 0.11, 9.0, 15.0)))), Height);
}

QSize TDial::minimumSizeHint() const
{
    return QSize(std::max(60, captionWidth(9)), 72);
}

// Room the caption needs at a text size; a longer name in another language
// widens the dial rather than being cut.
int TDial::captionWidth(int pixelSize) const
{
    const QString &name = SignalSettings().Name2();
    if (name.isEmpty())
        return 0;
    QFont f = font();
    f.setPixelSize(pixelSize);
    return QFontMetrics(f).horizontalAdvance(name) + 6;
}

qreal TDial::textHeight() const
{
    return std::clamp<qreal>(height() * 0.11, 9.0, 15.0);
}

// The dial's second name (the one the language switch sets) sits above the
// knob so a row of dials can be told apart; the row is kept even when empty so
// that knobs side by side line up.
qreal TDial::captionHeight() const
{
    return textHeight() + 3;
}

QPointF TDial::KnobCentre() const
{
    const qreal top = captionHeight();
    const qreal h = height() - textHeight() - 4 - top;
    return QPointF(width() / 2.0, top + h / 2.0 + 1);
}

qreal TDial::KnobRadius() const
{
    const qreal h = height() - textHeight() - 4 - captionHeight();
    return std::max<qreal>(4.0, std::min<qreal>(width(), h) / 2.0 - 2);
}

double TDial::AngleOfDigit(int position) const
{
    const int span = SignalSettings().PositionSpan();
    const double t = span == 0 ? 0.0 : double(position - SignalSettings().DigitalFrom()) / span;
    return StartAngle - SweepAngle * t;
}

bool TDial::OnActivePart(const QPointF &pos) const
{
    const QPointF d = pos - KnobCentre();
    return std::hypot(d.x(), d.y()) <= KnobRadius();
}

double TDial::mouseAngle(const QPointF &pos) const
{
    const QPointF d = pos - KnobCentre();
    double a = std::atan2(-d.y(), d.x()) * 180.0 / Pi;
    if (a < 0)
        a += 360.0;
    return a;
}

void TDial::DragStart(const QPointF &pos)
{
    const int span = SignalSettings().PositionSpan();
    m_turned = span == 0 ? 0.0 : SweepAngle * (Digit() - SignalSettings().DigitalFrom()) / span;
    m_lastMouse = mouseAngle(pos);
}

void TDial::DragMove(const QPointF &pos)
{
    const double now = mouseAngle(pos);
    double delta = now - m_lastMouse;
    // A jump this large is the mouse crossing the 0/360 line, not a half turn.
    if (delta > 200.0)
        delta -= 360.0;
    else if (delta < -200.0)
        delta += 360.0;
    m_lastMouse = now;
    // Mouse angles grow counter-clockwise; the scale grows clockwise.
    m_turned = std::clamp(m_turned - delta, 0.0, SweepAngle);
    const int span = SignalSettings().PositionSpan();
    SetDigit(int(TSignalSettings::RoundHalfEven((m_turned + 0.0001) / SweepAngle * span)) + SignalSettings().DigitalFrom());
}

void TDial::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c = KnobCentre();
    const qreal R = KnobRadius();
    const QColor ink = palette().color(QPalette::WindowText);
    const int span = SignalSettings().PositionSpan();

    // Scale ring of ticks around the knob: about one tick per position when few, else 27.
    const int ticks = span > 0 && span <= 30 ? span : 27;
    painter.setPen(QPen(ink, std::max<qreal>(1.0, R * 0.025), Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i <= ticks; ++i) {
        const qreal a = StartAngle - SweepAngle * i / ticks;
        const bool major = i == 0 || i == ticks || (ticks % 2 == 0 && i == ticks / 2);
        painter.drawLine(polar(c, R * (major ? 0.80 : 0.86), a), polar(c, R * 0.97, a));
    }

    // Lit arc from the start to the present position.
    const QColor indicator = IndicatorColor();
    const qreal arcR = R * 0.74;
    painter.setPen(QPen(palette().color(QPalette::Mid), R * 0.05, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(QRectF(c.x() - arcR, c.y() - arcR, 2 * arcR, 2 * arcR), int(StartAngle * 16), int(-SweepAngle * 16));
    const double angle = AngleOfDigit(Digit());
    painter.setPen(QPen(indicator, R * 0.05, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(QRectF(c.x() - arcR, c.y() - arcR, 2 * arcR, 2 * arcR), int(StartAngle * 16),
                    int((angle - StartAngle) * 16));

    // Knob body with a light from the upper left.
    const qreal kr = R * 0.64;
    QRadialGradient body(c - QPointF(kr * 0.35, kr * 0.35), kr * 1.5);
    body.setColorAt(0.0, QColor(0x6b, 0x72, 0x7c));
    body.setColorAt(0.6, QColor(0x2c, 0x31, 0x38));
    body.setColorAt(1.0, QColor(0x14, 0x16, 0x1a));
    painter.setPen(QPen(QColor(0, 0, 0, 180), 1));
    painter.setBrush(body);
    painter.drawEllipse(c, kr, kr);
    QRadialGradient top(c - QPointF(kr * 0.2, kr * 0.25), kr * 0.9);
    top.setColorAt(0.0, QColor(0x55, 0x5c, 0x66));
    top.setColorAt(1.0, QColor(0x22, 0x26, 0x2c));
    painter.setBrush(top);
    painter.setPen(QPen(QColor(255, 255, 255, 40), 1));
    painter.drawEllipse(c, kr * 0.82, kr * 0.82);

    // Index line on the knob in the focus colour.
    painter.setPen(QPen(indicator, std::max<qreal>(2.0, kr * 0.12), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(polar(c, kr * 0.25, angle), polar(c, kr * 0.78, angle));

    // Value with its unit under the knob.
    const qreal th = textHeight();
    QFont f = painter.font();
    f.setPixelSize(int(th));
    f.setBold(true);
    painter.setFont(f);
    painter.setPen(ink);
    const QString text = (ValueText() + u' ' + SignalSettings().ValueUnit()).trimmed();
    painter.drawText(QRectF(0, height() - th - 4, width(), th + 3), Qt::AlignCenter, text);

    if (const QString name = SignalSettings().Name2(); !name.isEmpty()) {
        f.setBold(false);
        painter.setFont(f);
        painter.drawText(QRectF(0, 1, width(), th + 2), Qt::AlignCenter,
                         painter.fontMetrics().elidedText(name, Qt::ElideRight, width()));
    }

    if (hasFocus()) {
        painter.setPen(QPen(indicator, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
}
