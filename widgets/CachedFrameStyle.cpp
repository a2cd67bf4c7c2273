#include "widgets/CachedFrameStyle.h"

#include <QGroupBox>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyleOption>

#include <algorithm>

namespace {

// Everything the frame's look depends on besides the style itself.
QString frameKey(const QStyleOption &option, const QWidget *widget, qreal dpr)
{
    int lineWidth = -1, features = -1;
    if (const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(&option)) {
        lineWidth = frame->lineWidth;
        features = int(frame->features);
    }
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    const int titled = box && !box->title().isEmpty() ? 1 : 0;
    const int checkable = box && box->isCheckable() ? 1 : 0;
    return QStringLiteral("zenu-groupbox-frame:%1:%2x%3@%4:%5:%6:%7:%8:%9:%10:%11")
        .arg(quintptr(widget))
        .arg(option.rect.width())
        .arg(option.rect.height())
        .arg(dpr)
        .arg(int(option.state))
        .arg(option.palette.cacheKey())
        .arg(option.fontMetrics.height())
        .arg(lineWidth)
        .arg(features)
        .arg(titled)
        .arg(checkable);
}

} // namespace

CachedFrameStyle::CachedFrameStyle(QStyle *base)
    : QProxyStyle(base)
{
}

void CachedFrameStyle::keep(const QWidget *widget, const QString &key) const
{
    // One picture per box: the one it had before (another size, the window
    // inactive, the panel greyed) goes, so boxes do not pile up pictures of
    // every look they ever had.
    if (!widget)
        return;
    auto it = m_pictureOf.find(widget);
    if (it == m_pictureOf.end()) {
        connect(widget, &QObject::destroyed, this, [this, widget] { QPixmapCache::remove(m_pictureOf.take(widget)); });
        m_pictureOf.insert(widget, key);
        return;
    }
    if (*it != key)
        QPixmapCache::remove(*it);
    *it = key;
}

void CachedFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                     QPainter *painter, const QWidget *widget) const
{
    // Only a plain copy is sure to look the same: no rotation or scaling, no
    // see-through painter, no unusual way of combining.
    if (element != PE_FrameGroupBox || !option || option->rect.isEmpty() || !painter->isActive()
        || painter->deviceTransform().type() > QTransform::TxTranslate || painter->opacity() != 1.0
        || painter->compositionMode() != QPainter::CompositionMode_SourceOver) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }

    const qreal dpr = painter->device()->devicePixelRatio();
    const QString key = frameKey(*option, widget, dpr);
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = QPixmap(option->rect.size() * dpr);
        picture.setDevicePixelRatio(dpr);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setRenderHints(painter->renderHints());
        const QPoint origin = option->rect.topLeft();
        if (const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option)) {
            QStyleOptionFrame at(*frame);
            at.rect.translate(-origin);
            QProxyStyle::drawPrimitive(element, &at, &p, widget);
        } else {
            QStyleOption at(*option);
            at.rect.translate(-origin);
            QProxyStyle::drawPrimitive(element, &at, &p, widget);
        }
        ++m_framesDrawn;
        QPixmapCache::insert(key, picture);
        keep(widget, key);
    }

    // A copy at whole pixels needs no smoothing; with the hint on (as a
    // widget's painter has it) the engine would blend the picture span by
    // span instead of copying it, and hand more than about a hundred spans
    // to its worker threads.
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    // The area being repainted is often several pieces (two gauges of one
    // box that changed together, each in several bands). Through such an
    // area the engine blends span by span whatever the hint; copied in
    // strips of the area's own rectangles, a few dozen rows each, the
    // picture stays a quick job for this thread.
    const QRegion system = painter->paintEngine() ? painter->paintEngine()->systemClip() : QRegion();
    const QRegion own = painter->hasClipping() ? painter->clipRegion() : QRegion();
    const QTransform toDevice = painter->deviceTransform();
    const QPoint offset(qRound(toDevice.dx()), qRound(toDevice.dy()));
    const bool wholePixels = QPointF(offset) == QPointF(toDevice.dx(), toDevice.dy());
    QRegion area(option->rect);
    if (!system.isEmpty())
        area &= system.translated(-offset);
    if (painter->hasClipping())
        area &= own;
    constexpr int MostRects = 64;
    if ((system.rectCount() <= 1 && own.rectCount() <= 1) || !wholePixels || area.rectCount() > MostRects) {
        painter->drawPixmap(option->rect.topLeft(), picture);
    } else {
        constexpr int StripRows = 48;
        const QPoint origin = option->rect.topLeft();
        for (const QRect &rect : area) {
            for (int top = rect.top(); top <= rect.bottom(); top += StripRows) {
                const QRect strip(rect.left(), top, rect.width(), std::min(StripRows, rect.bottom() + 1 - top));
                painter->drawPixmap(strip, picture, strip.translated(-origin));
            }
        }
    }
    painter->restore();
}
