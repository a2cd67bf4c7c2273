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

namespace {
constexpr int SmallestPixels = 6;

// The largest pixel size, from `start` down to SmallestPixels, at which every
// line is at most `width` wide and all of them at most `height` high.
int largestFitting(const QStringList &lines, QFont font, qreal width, qreal height, int start)
{
    for (int px = start; px >= SmallestPixels; --px) {
        font.setPixelSize(px);
        const QFontMetricsF fm(font);
        if (fm.height() * lines.size() > height + 1 && lines.size() > 1)
            continue;
        bool fits = true;
        for (const QString &line : lines)
            fits = fits && fm.horizontalAdvance(line) <= width;
        if (fits)
            return px;
    }
    return 0;
}
} // namespace

TToggleSwitch::Caption TToggleSwitch::FitCaption(const QString &text, QFont font, const QSizeF &room)
{
    const qreal width = room.width() - 3;
    const int start = qMax(SmallestPixels + 1, int(qMin<qreal>(room.height() * 0.62, 14.0)));
    Caption best{{text}, largestFitting({text}, font, width, room.height(), start)};
    if (best.pixelSize >= ReadablePixels)
        return best;
    // Two lines: the break that lets the larger size, the more even one on a tie.
    const int half = int(text.size()) / 2;
    int bestSpread = int(text.size());
    for (int at = text.indexOf(QLatin1Char(' ')); at > 0; at = text.indexOf(QLatin1Char(' '), at + 1)) {
        const QStringList lines{text.left(at), text.mid(at + 1)};
        const int px = largestFitting(lines, font, width, room.height(), start);
        const int spread = qAbs(at - half);
        if (px > best.pixelSize || (px == best.pixelSize && px > 0 && best.lines.size() == 2 && spread < bestSpread)) {
            best = {lines, px};
            bestSpread = spread;
        }
    }
    if (best.pixelSize > 0)
        return best;
    // Fits nowhere: its beginning rather than a centred middle that reads as
    // another word.
    font.setPixelSize(SmallestPixels);
    return {{QFontMetrics(font).elidedText(text, Qt::ElideRight, int(width))}, SmallestPixels};
}

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
    const Caption caption = FitCaption(ShownText(), f, faceRect.size());
    f.setPixelSize(caption.pixelSize);
    p.setFont(f);
    p.setPen(isEnabled() ? readableOn(face) : palette().color(QPalette::Disabled, QPalette::WindowText));
    p.drawText(faceRect, Qt::AlignCenter, caption.lines.join(QLatin1Char('\n')));

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
