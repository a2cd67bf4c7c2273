#include "widgets/TBar.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

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
    InvalidateLayers();
}

void TBar::SetOrientation(Qt::Orientation orientation)
{
    if (orientation == m_orientation)
        return;
    m_orientation = orientation;
    setSizePolicy(orientation == Qt::Horizontal ? QSizePolicy::Preferred : QSizePolicy::Fixed,
                  orientation == Qt::Horizontal ? QSizePolicy::Fixed : QSizePolicy::Preferred);
    updateGeometry();
    InvalidateLayers();
}

void TBar::SetBarColor(const QColor &color)
{
    if (color == m_barColor)
        return;
    m_barColor = color;
    InvalidateLayers();
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
    BeginLayers(painter);
    draw(painter, TDrawPass::Moving);
}

// The layer is the frame, face and the empty groove; a second layer has the groove filled end to end.
// A paint copies the filled stretch from it and draws only its partly covered end rows (columns).
// The value text takes its width from the groove, so the layers are keyed by that width.
void TBar::draw(QPainter &painter, TDrawPass pass)
{
    const bool layer = pass != TDrawPass::Moving;
    const bool moving = pass == TDrawPass::Moving;
    const QRect inner = InsideBevels(rect());
    QRectF area = QRectF(inner).adjusted(1, 1, -1, -1);
    const QRectF faceRect = area;
    area.adjust(2, 2, -2, -2);

    const bool horizontal = m_orientation == Qt::Horizontal;
    QString text;
    if (Options() & opValue)
        text = ValueText();
    if (Options() & opUnit)
        text = (text + u' ' + SignalSettings().ValueUnit()).trimmed();
    // Without the value the text is only the unit, which belongs to the layer.
    const bool textNow = (Options() & opValue) ? moving : layer;
    qreal textW = 0.0;
    if (!text.isEmpty() && horizontal) {
        QFont f = painter.font();
        f.setPixelSize(int(std::clamp<qreal>(area.height() * 0.8, 8.0, 14.0)));
        textW = std::min(QFontMetricsF(f).horizontalAdvance(text) + 6, area.width() * 0.45);
    }
    const QColor solid = (Options() & opUseSectorCol) ? SectorColor() : m_barColor;
    const quint64 key = (quint64(quint32(std::lround(textW * 64))) << 32) | quint64(solid.rgba());
    if (moving) {
        PaintLayer(painter, 0, key, [this](QPainter &p) { draw(p, TDrawPass::Layer); });
    } else {
        DrawBevels(painter, rect());
        FillFace(painter, faceRect, 2.0);
    }

    if (!text.isEmpty() && horizontal) {
        QFont f = painter.font();
        f.setPixelSize(int(std::clamp<qreal>(area.height() * 0.8, 8.0, 14.0)));
        if (textNow)
            DrawFittedText(painter, QRectF(area.right() - textW, area.top(), textW, area.height()),
                           Qt::AlignRight | Qt::AlignVCenter, text, f.pixelSize(), InkColor());
        area.setRight(area.right() - textW - 2);
    } else if (!text.isEmpty()) {
        const qreal h = std::clamp<qreal>(area.width() * 0.6, 8.0, 13.0);
        if (textNow)
            DrawFittedText(painter, QRectF(area.left(), area.bottom() - h, area.width(), h), Qt::AlignCenter, text, h,
                           InkColor());
        area.setBottom(area.bottom() - h - 2);
    }
    if (area.width() < 2 || area.height() < 2)
        return;

    // Groove.
    if (layer) {
        painter.setPen(QPen(QColor(0, 0, 0, 170), 1));
        painter.setBrush(QColor(0x0b, 0x0d, 0x10));
        painter.drawRect(area);
    }
    area.adjust(1, 1, -1, -1);

    const double p = pass == TDrawPass::Full ? 1000.0 : PerMilleDrawn();
    const double origin = (Options() & opBidir) && pass != TDrawPass::Full ? 500.0 : 0.0;
    const double lo = std::min(origin, p);
    const double hi = std::max(origin, p);
    const qreal length = horizontal ? area.width() : area.height();
    auto stretch = [&](double fromPm, double toPm) {
        const qreal a = fromPm / 1000.0 * length;
        const qreal b = toPm / 1000.0 * length;
        return horizontal ? QRectF(area.left() + a, area.top(), b - a, area.height())
                          : QRectF(area.left(), area.bottom() - b, area.width(), b - a);
    };
    auto fillAll = [&](QPainter &painter) {
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
            fill(stretch(lo, hi), solid);
        }
    };
    if (pass == TDrawPass::Full) {
        fillAll(painter);
        return;
    }
    if (layer)
        return;
    PrepareLayer(1, key, [this](QPainter &p) { draw(p, TDrawPass::Full); });
    PaintSpanFromLayer(painter, 1, stretch(lo, hi), horizontal ? Qt::Horizontal : Qt::Vertical, fillAll);

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
