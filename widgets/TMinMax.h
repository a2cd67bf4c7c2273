#pragma once

#include <QColor>
#include <QDateTime>

#include <functional>

// The lowest and highest value a display widget has been given, with the moment each was reached,
// and how their marks are drawn.
class TMinMax
{
public:
    static constexpr float ResetMin = 9999999.0f;
    static constexpr float ResetMax = -9999999.0f;

    TMinMax() = default;
    TMinMax(const TMinMax &) = delete;
    TMinMax &operator=(const TMinMax &) = delete;

    float Min() const { return m_min; }
    float Max() const { return m_max; }
    const QDateTime &MinTime() const { return m_minTime; }
    const QDateTime &MaxTime() const { return m_maxTime; }
    // Nothing has been remembered since the last reset.
    bool MinSet() const { return m_min != ResetMin; }
    bool MaxSet() const { return m_max != ResetMax; }

    // Takes a new value into account; true when either extreme moved.
    bool Update(float value, const QDateTime &now);
    // Whether Update() with this value would move an extreme, so the moment is fetched only then.
    bool Moves(float value) const { return value < m_min || value > m_max; }
    void Reset();

    const QColor &MinColor() const { return m_minColor; }
    const QColor &MaxColor() const { return m_maxColor; }
    bool UseSectorCol() const { return m_useSectorCol; }
    bool MinVisible() const { return m_minVisible; }
    bool MaxVisible() const { return m_maxVisible; }
    void SetMinColor(const QColor &color);
    void SetMaxColor(const QColor &color);
    void SetUseSectorCol(bool on);
    void SetMinVisible(bool on);
    void SetMaxVisible(bool on);

    void SetOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    void changed();

    float m_min = ResetMin;
    float m_max = ResetMax;
    QDateTime m_minTime;
    QDateTime m_maxTime;
    QColor m_minColor = QColor(0x00, 0xFF, 0xFF);
    QColor m_maxColor = QColor(0x00, 0xFF, 0xFF);
    bool m_useSectorCol = true;
    bool m_minVisible = true;
    bool m_maxVisible = true;
    std::function<void()> m_onChange;
};
