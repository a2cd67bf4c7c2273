#include "widgets/TValueInd.h"

#include <QPainter>

TValueInd::TValueInd(QWidget *parent)
    : TAnalogGControl(parent)
{
    SetSupportedOptions(opBevelInner | opBevelOuter | opName1 | opName2 | opUnit);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize TValueInd::sizeHint() const
{
    return QSize(130, 46);
}

QSize TValueInd::minimumSizeHint() const
{
    return QSize(60, 30);
}

void TValueInd::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PaintLayered(painter, [this](QPainter &p, TDrawPass pass) {
        p.setRenderHint(QPainter::TextAntialiasing, true);
        draw(p, pass);
    });
}

// Only the digits follow the value; frame, face, names and unit are the layer.
void TValueInd::draw(QPainter &painter, TDrawPass pass) const
{
    const bool layer = pass == TDrawPass::Layer;
    const QRectF face = FrameAndFace(painter, pass);

    const TSignalSettings &s = SignalSettings();
    const bool names = Options() & (opName1 | opName2);
    const qreal pad = std::max<qreal>(3.0, face.height() * 0.06);
    QRectF area = face.adjusted(pad, pad * 0.5, -pad, -pad * 0.5);

    // Names share a small header line so the digits keep most of the height.
    if (names && area.height() > 30) {
        const qreal h = std::max<qreal>(9.0, area.height() * 0.28);
        const QRectF header(area.left(), area.top(), area.width(), h);
        const QColor ink = InkColor().darker(115);
        if (layer && (Options() & opName1))
            DrawFittedText(painter, header, Qt::AlignLeft | Qt::AlignVCenter, s.Name1().trimmed(), h, ink);
        if (layer && (Options() & opName2))
            DrawFittedText(painter, header, Qt::AlignRight | Qt::AlignVCenter, s.Name2().trimmed(), h, ink);
        area.setTop(header.bottom());
    }

    QString unit = (Options() & opUnit) ? s.ValueUnit().trimmed() : QString();
    qreal unitWidth = 0.0;
    if (!unit.isEmpty()) {
        QFont f = painter.font();
        f.setPixelSize(int(std::max<qreal>(8.0, area.height() * 0.38)));
        unitWidth = std::min(QFontMetricsF(f).horizontalAdvance(unit) + pad, area.width() * 0.4);
        if (layer)
            DrawFittedText(painter, QRectF(area.right() - unitWidth, area.top(), unitWidth, area.height() - 2),
                           Qt::AlignRight | Qt::AlignBottom, unit, f.pixelSize(), InkColor());
    }
    const QRectF digits(area.left(), area.top(), area.width() - unitWidth - pad * 0.5, area.height());
    if (!layer)
        DrawFittedText(painter, digits, Qt::AlignRight | Qt::AlignVCenter, ValueText(), digits.height() * 0.9,
                       DigitColor(), true);
}
