#pragma once

#include "widgets/TAnalogCControl.h"

// Rotary knob turning through 270 degrees clockwise from 225 degrees (lower left). Dragging turns the
// knob by the angle the mouse turns around its centre.
class TDial : public TAnalogCControl
{
    Q_OBJECT
public:
    static constexpr double StartAngle = 225.0;
    static constexpr double SweepAngle = 270.0;

    explicit TDial(QWidget *parent = nullptr);

    // Knob geometry as laid out for the present size.
    QPointF KnobCentre() const;
    qreal KnobRadius() const;
    // Pointer angle of a position, degrees counter-clockwise from 3 o'clock.
    double AngleOfDigit(int position) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool OnActivePart(const QPointF &pos) const override;
    void DragStart(const QPointF &pos) override;
    void DragMove(const QPointF &pos) override;
    void paintEvent(QPaintEvent *event) override;

private:
    double mouseAngle(const QPointF &pos) const;
    qreal textHeight() const;
    qreal captionHeight() const;
    int captionWidth(int pixelSize) const;

    double m_turned = 0.0;    // pointer angle from the start of the scale, 0..270
    double m_lastMouse = 0.0; // mouse angle around the centre at the previous event
};
