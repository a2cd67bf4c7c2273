#pragma once

#include "widgets/TAnalogGControl.h"

// Numeric display: the value text in large digits, with the names and the unit as the options say.
class TValueInd : public TAnalogGControl
{
    Q_OBJECT
public:
    explicit TValueInd(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static QColor DigitColor() { return QColor(0x7c, 0xff, 0x4f); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void draw(QPainter &painter, TDrawPass pass) const;
};
