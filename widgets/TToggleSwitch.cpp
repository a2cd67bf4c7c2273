#include "widgets/TToggleSwitch.h"

#include "widgets/TWidgetAccessible.h"

#include <QPainter>
#include <QPainterPath>

TToggleSwitch::TToggleSwitch(QWidget *parent)
    : TSwitch(parent)
    , m_buttonColor(palette().color(QPalette::Button))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    StateShown();
}

void TToggleSwitch::changed()
{
    StateShown();
    update();
}

void TToggleSwitch::SetTextOn(const QString &t)
{
    if (t == m_textOn)
        return;
    m_textOn = t;
    changed();
}

void TToggleSwitch::SetTextOff(const QString &t)
{
    if (t == m_textOff)
        return;
    m_textOff = t;
    changed();
}

void TToggleSwitch::SetColorOn(const QColor &c)
{
    if (c == m_colorOn)
        return;
    m_colorOn = c;
    changed();
}

void TToggleSwitch::SetColorOff(const QColor &c)
{
    if (c == m_colorOff)
        return;
    m_colorOff = c;
    changed();
}

void TToggleSwitch::SetButtonColor(const QColor &c)
{
    if (c == m_buttonColor)
        return;
    m_buttonColor = c;
    update();
}

QString TToggleSwitch::AccessibleStateText() const
{
    return ShownText();
}

void TToggleSwitch::StateShown()
{
    TWidgetAccessible::SetValue(this, AccessibleStateText());
}

namespace {
QColor readableOn(const QColor &bg)
{
    const double l = 0.299 * bg.redF() + 0.587 * bg.greenF() + 0.114 * bg.blueF();
    return l > 0.55 ? QColor(20, 20, 20) : QColor(250, 250, 250);
}
} // namespace

void TToggleSwitch::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    const bool horizontal = Orientation() == boHorizontal;
    const QRectF housing = Housing();
    const qreal radius = 3.0;

    // Recessed housing.
    QLinearGradient rim(housing.topLeft(), housing.bottomLeft());
    rim.setColorAt(0, QColor(70, 70, 70));
    rim.setColorAt(1, QColor(150, 150, 150));
    p.setPen(QPen(QColor(40, 40, 40), 1.0));
    p.setBrush(rim);
    p.drawRoundedRect(housing.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);

    // State face: the state's colour, lit slightly from above, with its text.
    QColor face = ShownColor();
    if (!isEnabled())
        face = face.toHsv().lighter(105);
    const QRectF faceRect = FaceRect().adjusted(2, 2, -2, -2);
    QLinearGradient fg(faceRect.topLeft(), faceRect.bottomLeft());
    fg.setColorAt(0, face.lighter(118));
    fg.setColorAt(1, face.darker(112));
    p.setPen(Qt::NoPen);
    p.setBrush(fg);
    p.drawRoundedRect(faceRect, radius - 1, radius - 1);

    QFont f = font();
    f.setBold(true);
    const QString text = ShownText();
    // Largest size that fits the face.
    qreal pt = qMin<qreal>(faceRect.height() * 0.62, 14.0);
    f.setPixelSize(qMax(7, int(pt)));
    const qreal room = faceRect.width() - 3;
    while (f.pixelSize() > 6 && QFontMetricsF(f).horizontalAdvance(text) > room)
        f.setPixelSize(f.pixelSize() - 1);
    p.setFont(f);
    p.setPen(isEnabled() ? readableOn(face) : palette().color(QPalette::Disabled, QPalette::WindowText));
    // Too long even in the smallest size: show its beginning rather than a
    // centred middle that reads as another word.
    const QString shown = QFontMetrics(f).elidedText(text, Qt::ElideRight, int(room));
    p.drawText(faceRect, Qt::AlignCenter, shown);

    // The lever: a raised button with grip ridges across the direction of travel.
    const QRectF knob = KnobRect().adjusted(1.5, 1.5, -1.5, -1.5);
    QLinearGradient kg(knob.topLeft(), horizontal ? knob.bottomLeft() : knob.topRight());
    kg.setColorAt(0, m_buttonColor.lighter(125));
    kg.setColorAt(0.5, m_buttonColor);
    kg.setColorAt(1, m_buttonColor.darker(130));
    p.setPen(QPen(QColor(30, 30, 30, 200), 1.0));
    p.setBrush(kg);
    p.drawRoundedRect(knob, radius - 1, radius - 1);

    const QPointF c = knob.center();
    const qreal len = (horizontal ? knob.height() : knob.width()) * 0.5;
    for (int i = -1; i <= 1; ++i) {
        const qreal off = i * 3.0;
        const QPointF a = horizontal ? QPointF(c.x() + off, c.y() - len / 2) : QPointF(c.x() - len / 2, c.y() + off);
        const QPointF b = horizontal ? QPointF(c.x() + off, c.y() + len / 2) : QPointF(c.x() + len / 2, c.y() + off);
        p.setPen(QPen(m_buttonColor.darker(150), 1.0));
        p.drawLine(a, b);
        p.setPen(QPen(m_buttonColor.lighter(140), 1.0));
        p.drawLine(a + QPointF(1, 1), b + QPointF(1, 1));
    }

    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1.0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    }
}
