#include "widgets/CachedFrameStyle.h"

#include <QGroupBox>
#include <QImage>
#include <QPixmapCache>
#include <QStyleFactory>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// The group boxes' frames drawn from a kept picture: the same pixels as the
// base style, and drawn by the base style once per size and look. (That a
// repaint behind a gauge wakes no worker thread is seen in the idle-cost
// figures of `make bench`.)

namespace {

// A titled box as tall as the window's, two gauges side by side in it (as
// "Sonda Lambda" holds its two bars), here reaching over the frame's edges.
// The gauges paint nothing, so what shows where they are is the frame.
struct Rig
{
    explicit Rig(QStyle *style) : style(style)
    {
        window.resize(160, 320);
        box = new QGroupBox(QStringLiteral("Sonda Lambda"), &window);
        box->setGeometry(5, 5, 120, 289);
        box->setStyle(style);
        left = new QWidget(box);
        left->setGeometry(0, 10, 24, 270);
        right = new QWidget(box);
        right->setGeometry(96, 24, 24, 265);
    }

    // Both gauges' places, as the window repaints them when both changed.
    QRegion gauges() const
    {
        return QRegion(left->geometry().translated(box->pos())) + QRegion(right->geometry().translated(box->pos()));
    }

    QImage render(const QRegion &area = {})
    {
        QImage image(window.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        window.render(&image, {}, area);
        return image;
    }

    std::unique_ptr<QStyle> style;
    QWidget window;
    QGroupBox *box = nullptr;
    QWidget *left = nullptr;
    QWidget *right = nullptr;
};

QStyle *fusion() { return QStyleFactory::create(QStringLiteral("Fusion")); }

class CachedFrameStyleTest : public testing::Test
{
protected:
    void SetUp() override { QPixmapCache::clear(); }
};

} // namespace

TEST_F(CachedFrameStyleTest, LooksExactlyLikeTheBaseStyle)
{
    Rig base(fusion());
    auto *cachedStyle = new CachedFrameStyle(fusion());
    Rig cached(cachedStyle);
    EXPECT_EQ(cached.render(), base.render()) << "the whole window";
    EXPECT_EQ(cached.render(cached.gauges()), base.render(base.gauges())) << "behind the two gauges only";
    EXPECT_EQ(cached.render(cached.left->geometry().translated(cached.box->pos())),
              base.render(base.left->geometry().translated(base.box->pos())))
        << "behind one gauge";
    cached.box->setTitle(QString());
    base.box->setTitle(QString());
    EXPECT_EQ(cached.render(), base.render()) << "an untitled box";
    EXPECT_GE(cachedStyle->framesDrawn(), 1);
}

TEST_F(CachedFrameStyleTest, DrawsTheFrameOncePerSize)
{
    auto *style = new CachedFrameStyle(fusion());
    Rig rig(style);
    for (int i = 0; i < 4; ++i)
        rig.render(rig.gauges());
    rig.render();
    EXPECT_EQ(style->framesDrawn(), 1);

    rig.box->resize(120, 250);
    rig.render();
    rig.render(rig.gauges());
    EXPECT_EQ(style->framesDrawn(), 2) << "a new size is a new picture";

    rig.box->setEnabled(false);
    rig.render();
    EXPECT_EQ(style->framesDrawn(), 3) << "a disabled box may look different";
}
