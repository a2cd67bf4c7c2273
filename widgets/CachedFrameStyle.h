#pragma once

#include <QHash>
#include <QProxyStyle>
#include <QString>

// The application's style with the group boxes' frames kept as pictures.
//
// A group box sits behind most instruments of the window, and an instrument
// that changes (three times a second while connected) has its parent repaint
// the part of the frame behind it. Styles draw that frame from a small
// picture stretched to the box, which the raster engine blends span by span
// and, for a tall box, hands to Qt's worker threads: every repaint of a
// gauge woke two more threads. Here the frame is drawn once per size and
// look into a picture of the box's own size and then only copied, one piece
// of the repainted area at a time, which the engine does on the spot.
// What the user sees is the base style's own frame.
class CachedFrameStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // Wraps `base` (the application's default style when null); takes it over.
    explicit CachedFrameStyle(QStyle *base = nullptr);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

    // How many frames the base style has drawn (each one a new picture).
    int framesDrawn() const { return m_framesDrawn; }

private:
    void keep(const QWidget *widget, const QString &key) const;

    mutable int m_framesDrawn = 0;
    // The key of the picture each box has now.
    mutable QHash<const QWidget *, QString> m_pictureOf;
};
