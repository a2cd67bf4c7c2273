#pragma once

#include <QColor>

#include <functional>

// The pointer of a round meter. Shapes 1..6 are drawn, from a plain line (1) through a slim needle (2)
// to a broad tapered needle with a counterweight (6).
class TArrowSettings
{
public:
    static constexpr int MinShape = 1;
    static constexpr int MaxShape = 6;

    TArrowSettings() = default;
    TArrowSettings(const TArrowSettings &) = delete;
    TArrowSettings &operator=(const TArrowSettings &) = delete;

    int Shape() const { return m_shape; }
    // Numbers outside 1..6 are ignored.
    void SetShape(int shape);
    const QColor &Color() const { return m_color; }
    void SetColor(const QColor &color);

    void SetOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    void changed();

    int m_shape = 6;
    QColor m_color = QColor(0xFF, 0x00, 0x00);
    std::function<void()> m_onChange;
};
