#include "widgets/TBar.h"

#include <QPainter>

TBar::TBar(QWidget *parent)
    : TAnalogGControl(parent)
{
    SetSupportedOptions(opBevelInner | opBevelOuter | opValue | opUnit | opUseSectorCol | opBidir);
    SetOptions(opBevelInner | opBevelOuter | opValue | opUnit | opUseSectorCol);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TBar::SetBarStyle(TBarStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    update();
}

void TBar::SetOrientation(Qt::Orientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    setSizePolicy(orientation == Qt::Horizontal ? QSizePolicy::Preferred : QSizePolicy::Fixed,
                  orientation == Qt::Horizontal ? QSizePolicy::Fixed : QSizePolicy::Preferred);
    updateGeometry();
    update();
}

void TBar::SetBarColor(const QColor &color)
{
    if (color == m_barColor)
        return;
    m_barColor = color;
    update();
}

QSize TBar::sizeHint() const
{
    return m_orientation == Qt::Horizontal ? QSize(150, 24) : QSize(24, 150);
}

QSize TBar::minimumSizeHint() const
{
    return m_orientation == Qt::Horizontal ? QSize(40, 12) : QSize(12, 40);
}

void TBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRect inner = DrawBevels(painter, rect());
    QRectF area = QRectF(inner).adjusted(1, 1, -1, -1);
    FillFace(painter, area, 2.0);
    area.adjust(2, 2, -2, -2);

    const bool horizontal = m_orientation == Qt::Horizontal;
    QString text;
    if (Options() & opValue)
        text = ValueText();
    if (Options() & opUnit)
        text = (text + u' ' + SignalSettings().ValueUnit()).trimmed();
    if (!text.isEmpty() && horizontal) {
        QFont f = painter.font();
        f.setPixelSize(int(std::clamp<qreal>(area.height() * 0.8, 8.0, 14.0)));
        const qreal w = std::min(QFontMetricsF(f).horizontalAdvance(text) + 6, area.width() * 0.45);
        DrawFittedText(painter, QRectF(area.right() - w, area.top(), w, area.height()),
                       Qt::AlignRight | Qt::AlignVCenter, text, f.pixelSize(), InkColor());
        area.setRight(area.right() - w - 2);
    } else if (!text.isEmpty()) {
        const qreal h = std::clamp<qreal>(area.width() * 0.6, 8.0, 13.0);
        DrawFittedText(painter, QRectF(area.left(), area.bottom() - h, area.width(), h), Qt::AlignCenter, text, h,
                       InkColor());
        area.setBottom(area.bottom() - h - 2);
    }
    if (area.width() < 2 || area.height() < 2)
        return;

    // Groove.
    painter.setPen(QPen(QColor(0, 0, 0, 170), 1));
    painter.setBrush(QColor(0x0b, 0x0d, 0x10));
    painter.drawRect(area);
    area.adjust(1, 1, -1, -1);

    const double p = PerMilleDrawn();
    const double origin = (Options() & opBidir) ? 500.0 : 0.0;
    const double lo = std::min(origin, p);
    const double hi = std::max(origin, p);
    const qreal length = horizontal ? area.width() : area.height();
    auto stretch = [&](double fromPm, double toPm) {
        const qreal a = fromPm / 1000.0 * length;
        const qreal b = toPm / 1000.0 * length;
        return horizontal ? QRectF(area.left() + a, area.top(), b - a, area.height())
                          : QRectF(area.left(), area.bottom() - b, area.width(), b - a);
    };
    auto fill = [&](const QRectF &r, const QColor &c) {
        QLinearGradient g(horizontal ? r.topLeft() : r.topLeft(), horizontal ? r.bottomLeft() : r.topRight());
        g.setColorAt(0.0, c.lighter(150));
        g.setColorAt(0.45, c);
        g.setColorAt(1.0, c.darker(160));
        painter.setPen(Qt::NoPen);
        painter.setBrush(g);
        painter.drawRect(r);
    };

    if (m_style == bsMultiColor) {
        // Split the fill at every sector bound it crosses.
        std::vector<double> cuts{lo, hi};
        for (int k = 1; k <= TSectorSettings::Count; ++k) {
            const auto &sec = SectorSettings().SectorAt(k);
            for (double c : {double(sec.From), double(sec.To) + 1.0})
                if (c > lo && c < hi)
                    cuts.push_back(c);
        }
        std::sort(cuts.begin(), cuts.end());
        for (size_t i = 0; i + 1 < cuts.size(); ++i) {
            if (cuts[i + 1] - cuts[i] <= 0.0)
                continue;
            // The bar's colour where no sector lies.
            const int mid = int(TSignalSettings::RoundHalfEven((cuts[i] + cuts[i + 1]) / 2));
            const int sec = SectorSettings().SectorOf(mid);
            fill(stretch(cuts[i], cuts[i + 1]), sec ? SectorSettings().SectorAt(sec).Color : m_barColor);
        }
    } else {
        const QColor c = (Options() & opUseSectorCol) ? SectorColor() : m_barColor;
        fill(stretch(lo, hi), c);
    }

    // Ten divisions, so the bar reads like a scale.
    painter.setPen(QPen(QColor(255, 255, 255, 45), 1));
    for (int i = 1; i < 10; ++i) {
        const qreal t = length * i / 10.0;
        if (horizontal)
            painter.drawLine(QPointF(area.left() + t, area.bottom() - area.height() * 0.35), QPointF(area.left() + t, area.bottom()));
        else
            painter.drawLine(QPointF(area.left(), area.bottom() - t), QPointF(area.left() + area.width() * 0.35, area.bottom() - t));
    }
}
