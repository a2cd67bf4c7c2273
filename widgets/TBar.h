#pragma once

#include "widgets/TAnalogGControl.h"

// Plain bar. The solid style fills in one colour (the current sector's with opUseSectorCol); the
// multi-colour style shows each stretch of the fill in the colour of the sector it crosses. With opBidir
// the fill grows from the middle of the scale.
class TBar : public TAnalogGControl
{
    Q_OBJECT
public:
    enum TBarStyle { bsSolid, bsMultiColor };

    explicit TBar(QWidget *parent = nullptr);

    TBarStyle BarStyle() const { return m_style; }
    void SetBarStyle(TBarStyle style);
    Qt::Orientation Orientation() const { return m_orientation; }
    void SetOrientation(Qt::Orientation orientation);
    const QColor &BarColor() const { return m_barColor; }
    void SetBarColor(const QColor &color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void draw(QPainter &painter, TDrawPass pass);

    TBarStyle m_style = bsSolid;
    Qt::Orientation m_orientation = Qt::Horizontal;
    QColor m_barColor = QColor(0x00, 0xFF, 0x00);
};
