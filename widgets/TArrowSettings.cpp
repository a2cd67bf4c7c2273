#include "widgets/TArrowSettings.h"

void TArrowSettings::SetShape(int shape)
{
    if (shape == m_shape || shape < MinShape || shape > MaxShape)
        return;
    m_shape = shape;
    changed();
}

void TArrowSettings::SetColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    changed();
}

void TArrowSettings::changed()
{
    if (m_onChange)
        m_onChange();
}
