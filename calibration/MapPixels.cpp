#include "calibration/MapPixels.h"

#include "calibration/CorrectionMap.h"
#include "link/CommandBodies.h"

#include <algorithm>
#include <cmath>

namespace MapPixels {

double nominal(double x, double plotWidth)
{
    return plotWidth > 0 ? x * NominalWidth / plotWidth : 0;
}

bool isZoomed(double axisMaximum)
{
    return axisMaximum < 20;
}

double markPosition(double nominalX, double axisMaximum)
{
    if (!isZoomed(axisMaximum))
        return nominalX;
    return std::trunc(nominalX / 2.076) - 1;
}

double timeAt(double nominalX, double axisMaximum)
{
    return (axisMaximum - 0.9) * nominalX / NominalWidth + AxisMinimum;
}

int pointAt(double markPosition)
{
    const long long k = CommandBodies::roundHalfEven(markPosition * CorrectionMap::Points / NominalWidth) + 2;
    return int(std::clamp<long long>(k, 1, CorrectionMap::Points));
}

} // namespace MapPixels
