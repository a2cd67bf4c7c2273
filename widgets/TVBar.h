#pragma once

#include "widgets/TAnalogGControl.h"

// Vertical LED bar: a column of segments lit up to the value, each in the colour of its sector, with an
// overflow mark above and an underflow mark below the column.
class TVBar : public TAnalogGControl
{
    Q_OBJECT
public:
    explicit TVBar(QWidget *parent = nullptr);

    // Colours of the two overflow marks as drawn now.
    QColor TopMarkColor() const;
    QColor BottomMarkColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool AlarmWanted() const override;
    QColor QuietAlarmColor() const override;
    void paintEvent(QPaintEvent *event) override;

private:
    void draw(QPainter &painter, TDrawPass pass);
};
