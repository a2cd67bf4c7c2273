#include "calibration/MapSelection.h"

#include "calibration/MapPixels.h"

MapSelection::Press MapSelection::press(double c, bool rightButtonAlone)
{
    if (rightButtonAlone) {
        clear();
        return Press::Cleared;
    }
    const bool movable = c >= MapPixels::MovableFrom;
    if ((c < m_from && movable) || m_from == 0 || (c < m_to && movable)) {
        m_from = c;
        return Press::StartMoved;
    }
    if (movable && c > m_from) {
        m_to = c;
        return Press::EndMoved;
    }
    return Press::Ignored;
}

void MapSelection::clear()
{
    m_from = 0;
    m_to = 0;
}

int MapSelection::firstPoint() const
{
    return MapPixels::pointAt(m_from);
}

int MapSelection::lastPoint() const
{
    return MapPixels::pointAt(m_to);
}
