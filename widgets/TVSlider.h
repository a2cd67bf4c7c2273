#pragma once

#include "widgets/TAnalogCControl.h"

// Vertical slider: a track with a thumb, the upper end of the scale at the top. Dragging puts the
// thumb under the mouse, limited to the track.
class TVSlider : public TAnalogCControl
{
    Q_OBJECT
public:
    explicit TVSlider(QWidget *parent = nullptr);

    // Track geometry as laid out for the present size, in widget pixels.
    QRectF TrackRect() const;
    qreal TrackTop() const { return TrackRect().top(); }
    qreal TrackBottom() const { return TrackRect().bottom(); }
    qreal ThumbY() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool OnActivePart(const QPointF &pos) const override;
    void DragStart(const QPointF &pos) override;
    void DragMove(const QPointF &pos) override;
    void paintEvent(QPaintEvent *event) override;

private:
    qreal textHeight() const;
    qreal labelWidth() const;
};
