#pragma once

#include "widgets/TAnalogGControl.h"

// Glass thermometer: a bulb and a capillary filled up to the value, with a scale beside it.
class TThermometer : public TAnalogGControl
{
    Q_OBJECT
public:
    explicit TThermometer(QWidget *parent = nullptr);

    const QColor &LiquidColor() const { return m_liquid; }
    void SetLiquidColor(const QColor &color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void draw(QPainter &painter, TDrawPass pass);

    QColor m_liquid = QColor(0xFF, 0x00, 0x00);
};
