#pragma once

#include "widgets/TAnalogGControl.h"
#include "widgets/TArrowSettings.h"

// Round meter with a pointer turning about the centre. The scale runs clockwise over Sweep() degrees,
// symmetric about the bottom; the colour sectors lie as a band inside the scale, the alarm lamp sits in
// the gap at the bottom.
class TRMeter : public TAnalogGControl
{
    Q_OBJECT
public:
    explicit TRMeter(QWidget *parent = nullptr);

    TArrowSettings &ArrowSettings() { return m_arrow; }
    const TArrowSettings &ArrowSettings() const { return m_arrow; }

    qreal Sweep() const { return m_sweep; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

protected:
    TRMeter(qreal sweep, QWidget *parent);
    bool AlarmWanted() const override { return MeterAlarmCondition(); }
    void paintEvent(QPaintEvent *event) override;

private:
    // Where the dial lies in the widget; `valid` is false when too small to draw more than the frame.
    struct Dial
    {
        bool valid = false;
        QRect square;
        QPointF c;
        qreal r = 0;       // face radius
        qreal R = 0;       // bezel radius
        qreal scaleR = 0;  // outer end of the ticks
        qreal start = 0;   // degrees, counter-clockwise from 3 o'clock
        qreal angleAt(double perMille, qreal sweep) const { return start - sweep * perMille / 1000.0; }
    };
    Dial dial() const;
    void drawDial(QPainter &painter, const Dial &d) const;
    void drawPointer(QPainter &painter, const QPointF &centre, qreal radius, qreal angle) const;

    TArrowSettings m_arrow;
    qreal m_sweep;
};
