#pragma once

#include <QColor>
#include <QRectF>

#include <functional>

class QPainter;

enum TLedShape { sRound, sRectangle };

// The lamp of an LED indicator: shape, size and its two colours. The owner
// is told after every change that took effect, to re-layout and repaint.
class TLED
{
public:
    static constexpr int MinSize = 4;
    static constexpr int MaxSize = 40;

    TLED();

    TLedShape Shape() const { return m_shape; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    QColor ColorOn() const { return m_colorOn; }
    QColor ColorOff() const { return m_colorOff; }

    void SetShape(TLedShape s);
    // Sizes outside 4..40 are ignored.
    void SetWidth(int w);
    void SetHeight(int h);
    void SetColorOn(const QColor &c);
    void SetColorOff(const QColor &c);

    void SetOnChange(std::function<void()> f) { m_onChange = std::move(f); }

    // Paints the lamp into r (its size is Width x Height) lit or dark.
    void Paint(QPainter &p, const QRectF &r, bool lit, bool enabled = true) const;

private:
    void changed();

    TLedShape m_shape = sRound;
    int m_width = 13;
    int m_height = 13;
    QColor m_colorOn;
    QColor m_colorOff;
    std::function<void()> m_onChange;
};
