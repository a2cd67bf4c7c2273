#pragma once

#include "link/CommandBodies.h"

#include <array>

// `MapShape`: the fixed course of a correction map around its calibrated
// point, as offsets in hundredths for points k = 1..246. A calibration
// measures the multiplier at one point only and lays this shape through it.
namespace MapShape {

constexpr int Points = CommandBodies::MapPoints;
// The range of points a measured injection time may anchor the map at.
constexpr int FirstAnchor = 10;
constexpr int LastAnchor = 246;

// Offset of point k (1..246); 0 outside that range.
int offset(int k);

// The map through `multiplier` (hundredths) at point `anchor`: point k is
// multiplier - offset(anchor) + offset(k). The anchor is first held within
// 10..246 and every point within 0..255, so the map holds exactly what one
// byte per point can carry.
std::array<int, Points> calibratedMap(int anchor, int multiplier);

} // namespace MapShape
