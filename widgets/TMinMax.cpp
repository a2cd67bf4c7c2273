#include "widgets/TMinMax.h"

bool TMinMax::Update(float value, const QDateTime &now)
{
    bool moved = false;
    if (value < m_min) {
        m_min = value;
        m_minTime = now;
        moved = true;
    }
    if (value > m_max) {
        m_max = value;
        m_maxTime = now;
        moved = true;
    }
    return moved;
}

void TMinMax::Reset()
{
    m_min = ResetMin;
    m_max = ResetMax;
    m_minTime = QDateTime();
    m_maxTime = QDateTime();
    changed();
}

void TMinMax::SetMinColor(const QColor &color)
{
    if (color == m_minColor)
        return;
    m_minColor = color;
    changed();
}

void TMinMax::SetMaxColor(const QColor &color)
{
    if (color == m_maxColor)
        return;
    m_maxColor = color;
    changed();
}

void TMinMax::SetUseSectorCol(bool on)
{
    if (on == m_useSectorCol)
        return;
    m_useSectorCol = on;
    changed();
}

void TMinMax::SetMinVisible(bool on)
{
    if (on == m_minVisible)
        return;
    m_minVisible = on;
    changed();
}

void TMinMax::SetMaxVisible(bool on)
{
    if (on == m_maxVisible)
        return;
    m_maxVisible = on;
    changed();
}

void TMinMax::changed()
{
    if (m_onChange)
        m_onChange();
}
