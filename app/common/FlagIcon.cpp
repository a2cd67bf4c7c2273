#include "app/common/FlagIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int W = 36;
constexpr int H = 24;

void stripes(QPainter &p, std::initializer_list<QColor> colours)
{
    const int n = int(colours.size());
    int i = 0;
    for (const QColor &c : colours) {
        const int top = H * i / n;
        const int bottom = H * (i + 1) / n;
        p.fillRect(0, top, W, bottom - top, c);
        ++i;
    }
}

void unionJack(QPainter &p)
{
    p.fillRect(0, 0, W, H, QColor(0x01, 0x21, 0x69));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 5));
    p.drawLine(0, 0, W, H);
    p.drawLine(0, H, W, 0);
    p.setPen(QPen(QColor(0xC8, 0x10, 0x2E), 2));
    p.drawLine(0, 0, W, H);
    p.drawLine(0, H, W, 0);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(W / 2 - 4, 0, 8, H, Qt::white);
    p.fillRect(0, H / 2 - 4, W, 8, Qt::white);
    p.fillRect(W / 2 - 2, 0, 4, H, QColor(0xC8, 0x10, 0x2E));
    p.fillRect(0, H / 2 - 2, W, 4, QColor(0xC8, 0x10, 0x2E));
}

void czech(QPainter &p)
{
    stripes(p, {Qt::white, QColor(0xD7, 0x14, 0x1A)});
    QPainterPath wedge;
    wedge.moveTo(0, 0);
    wedge.lineTo(W / 2, H / 2);
    wedge.lineTo(0, H);
    wedge.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(wedge, QColor(0x11, 0x45, 0x7E));
}

} // namespace

QIcon FlagIcon::forLanguage(const QString &key)
{
    QPixmap pixmap(W, H);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    if (key == QLatin1String("NiemieckiDE"))
        stripes(p, {Qt::black, QColor(0xDD, 0x00, 0x00), QColor(0xFF, 0xCE, 0x00)});
    else if (key == QLatin1String("AngielskiGB"))
        unionJack(p);
    else if (key == QLatin1String("PolskiPL"))
        stripes(p, {Qt::white, QColor(0xDC, 0x14, 0x3C)});
    else if (key == QLatin1String("Russian"))
        stripes(p, {Qt::white, QColor(0x00, 0x39, 0xA6), QColor(0xD5, 0x2B, 0x1E)});
    else if (key == QLatin1String("Ceski"))
        czech(p);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, W - 1, H - 1);
    p.end();
    return QIcon(pixmap);
}
