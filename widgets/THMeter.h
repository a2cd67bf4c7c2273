#pragma once

#include "widgets/TAnalogGControl.h"

// Horizontal meter: a linear scale with round-number labels, the colour sectors as a band along it, a
// pointer riding above the scale, limit marks, extreme marks and an alarm lamp in the corner.
class THMeter : public TAnalogGControl
{
    Q_OBJECT
public:
    explicit THMeter(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool AlarmWanted() const override { return MeterAlarmCondition(); }
    void paintEvent(QPaintEvent *event) override;

private:
    void draw(QPainter &painter, TDrawPass pass) const;
};
