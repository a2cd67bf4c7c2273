#include "calibration/CorrectionMap.h"

#include <algorithm>

bool CorrectionMap::loadFromSettingsBlock(const QByteArray &block)
{
    if (block.size() < FirstBlockOffset + Points)
        return false;
    for (int k = 1; k <= Points; ++k)
        m_values[size_t(k - 1)] = uint8_t(block.at(FirstBlockOffset - 1 + k));
    return true;
}

void CorrectionMap::setValue(int k, int value)
{
    m_values[size_t(k - 1)] = std::clamp(value, MinValue, MaxValue);
}

void CorrectionMap::addToAll(int delta)
{
    for (int k = 1; k <= Points; ++k)
        setValue(k, value(k) + delta);
}

CommandBodies::Group CorrectionMap::writeCommands() const
{
    return CommandBodies::mapEdit(m_values);
}
