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
    void drawPointer(QPainter &painter, const QPointF &centre, qreal radius, qreal angle) const;

    TArrowSettings m_arrow;
    qreal m_sweep;
};
