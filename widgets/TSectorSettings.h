#pragma once

#include <QColor>

#include <array>
#include <functional>

// Three colour sectors on the per-mille scale 0..1000 of a display widget. Bounds are inclusive and
// sectors may overlap; where they do, the higher-numbered sector wins.
class TSectorSettings
{
public:
    static constexpr int Count = 3;

    struct Sector
    {
        QColor Color;
        int From = 0;
        int To = 0;
    };

    TSectorSettings();
    TSectorSettings(const TSectorSettings &) = delete;
    TSectorSettings &operator=(const TSectorSettings &) = delete;

    // Sectors are numbered 1..3.
    const Sector &SectorAt(int number) const { return m_sectors[index(number)]; }
    void SetSector(int number, const QColor &color, int from, int to);
    void SetColor(int number, const QColor &color);
    void SetFrom(int number, int perMille);
    void SetTo(int number, int perMille);

    bool Contains(int number, int perMille) const;
    // Highest-numbered sector that contains the per-mille position, or 0 when none does.
    int SectorOf(int perMille) const;

    // Inset of the drawn sector band from the scale, in pixels.
    int Offset() const { return m_offset; }
    void SetOffset(int pixels);

    void SetOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

private:
    static size_t index(int number);
    void changed();

    std::array<Sector, Count> m_sectors;
    int m_offset = 0;
    std::function<void()> m_onChange;
};
