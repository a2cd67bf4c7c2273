#pragma once

#include "widgets/TBinGControl.h"

enum TBinOrientation { boHorizontal, boVertical };

// A two-position switch: the knob sits in one half, the other half shows the
// state. Pressing the free half throws the switch (in mSwitch mode); pressing
// the knob's own half does nothing, as on a real lever.
//
// Without SwapGraphic "on" is the left (horizontal) or upper (vertical) half.
class TSwitch : public TBinGControl
{
    Q_OBJECT
public:
    explicit TSwitch(QWidget *parent = nullptr);

    TBinOrientation Orientation() const { return m_orientation; }
    // Also turns the widget so that its longer side runs along the new orientation.
    void SetOrientation(TBinOrientation o);
    bool SwapGraphic() const { return m_swap; }
    void SetSwapGraphic(bool v);

    // Whether the knob is drawn in the first (left/upper) half right now.
    bool KnobInFirstHalf() const { return Checked() != m_swap; }
    QRectF FirstHalf() const;
    QRectF SecondHalf() const;
    QRectF KnobRect() const { return KnobInFirstHalf() ? FirstHalf() : SecondHalf(); }
    QRectF FaceRect() const { return KnobInFirstHalf() ? SecondHalf() : FirstHalf(); }

    QSize sizeHint() const override { return m_hint; }

protected:
    bool PressToggles(const QPointF &pos) const override;
    QRectF Housing() const;

private:
    TBinOrientation m_orientation = boHorizontal;
    bool m_swap = false;
    QSize m_hint{57, 25};
};
