#include "widgets/TSectorSettings.h"

#include <algorithm>

TSectorSettings::TSectorSettings()
{
    m_sectors[0] = {QColor(0xFF, 0xFF, 0x00), 0, 333};
    m_sectors[1] = {QColor(0x00, 0x80, 0x00), 334, 666};
    m_sectors[2] = {QColor(0xFF, 0x00, 0x00), 667, 1000};
}

size_t TSectorSettings::index(int number)
{
    return size_t(std::clamp(number, 1, Count) - 1);
}

void TSectorSettings::SetSector(int number, const QColor &color, int from, int to)
{
    Sector &s = m_sectors[index(number)];
    if (s.Color == color && s.From == from && s.To == to)
        return;
    s = {color, from, to};
    changed();
}

void TSectorSettings::SetColor(int number, const QColor &color)
{
    const Sector &s = SectorAt(number);
    SetSector(number, color, s.From, s.To);
}

void TSectorSettings::SetFrom(int number, int perMille)
{
    const Sector &s = SectorAt(number);
    SetSector(number, s.Color, perMille, s.To);
}

void TSectorSettings::SetTo(int number, int perMille)
{
    const Sector &s = SectorAt(number);
    SetSector(number, s.Color, s.From, perMille);
}

bool TSectorSettings::Contains(int number, int perMille) const
{
    const Sector &s = SectorAt(number);
    return s.From <= perMille && perMille <= s.To;
}

int TSectorSettings::SectorOf(int perMille) const
{
    for (int k = Count; k >= 1; --k)
        if (Contains(k, perMille))
            return k;
    return 0;
}

void TSectorSettings::SetOffset(int pixels)
{
    if (pixels == m_offset)
        return;
    m_offset = pixels;
    changed();
}

void TSectorSettings::changed()
{
    if (m_onChange)
        m_onChange();
}
