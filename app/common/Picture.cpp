#include "app/common/Picture.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap drawPicture()
{
    const QSize size(300, 180);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(0x1E, 0x4E, 0x8C));
    sky.setColorAt(1, QColor(0x0B, 0x1E, 0x3A));
    p.setBrush(sky);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, size.width(), size.height()), 12, 12);

    // Injector body with its nozzle and a spray cone.
    p.setBrush(QColor(0xC8, 0xCE, 0xD6));
    p.drawRoundedRect(QRectF(200, 30, 44, 80), 6, 6);
    p.setBrush(QColor(0x9A, 0xA2, 0xAD));
    p.drawRect(QRectF(214, 110, 16, 22));
    QPainterPath spray;
    spray.moveTo(222, 132);
    spray.lineTo(198, 168);
    spray.lineTo(246, 168);
    spray.closeSubpath();
    p.setBrush(QColor(0x6F, 0xD1, 0x7A, 150));
    p.drawPath(spray);
    p.setBrush(QColor(0x2E, 0x7D, 0x32));
    p.drawRect(QRectF(206, 52, 32, 10));

    QFont title(QStringLiteral("Sans Serif"), 38, QFont::Black);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(18, 30, 180, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ZENU"));
    QFont sub(QStringLiteral("Sans Serif"), 10);
    p.setFont(sub);
    p.setPen(QColor(0xBF, 0xD7, 0xF5));
    p.drawText(QRectF(20, 95, 180, 40), Qt::AlignLeft | Qt::TextWordWrap, QStringLiteral("LPG / CNG\nsequential injection"));
    return pixmap;
}

} // namespace

QLabel *Picture::create(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(drawPicture());
    label->setAlignment(Qt::AlignCenter);
    return label;
}
