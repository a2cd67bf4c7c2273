#include "calibration/MapShape.h"

#include <algorithm>

namespace {

struct Run
{
    int last; // last point of the run; it starts after the previous run
    int offset;
};

constexpr Run Runs[] = {
    {25, 0},    {27, 1},    {28, 0},    {32, 1},    {36, 2},    {38, 3},    {48, 1},    {50, 0},
    {54, -1},   {61, -2},   {68, -4},   {72, -5},   {74, -6},   {81, -7},   {84, -8},   {88, -9},
    {94, -10},  {95, -11},  {101, -12}, {106, -13}, {118, -14}, {129, -15}, {140, -16}, {151, -17},
    {163, -18}, {174, -19}, {185, -20}, {197, -21}, {208, -22}, {219, -23}, {231, -24}, {242, -25},
    {246, -26},
};

} // namespace

namespace MapShape {

int offset(int k)
{
    if (k < 1 || k > Points)
        return 0;
    for (const Run &r : Runs) {
        if (k <= r.last)
            return r.offset;
    }
    return 0;
}

std::array<int, Points> calibratedMap(int anchor, int multiplier)
{
    const int base = multiplier - offset(std::clamp(anchor, FirstAnchor, LastAnchor));
    std::array<int, Points> map{};
    for (int k = 1; k <= Points; ++k)
        map[size_t(k - 1)] = std::clamp(base + offset(k), 0, 255);
    return map;
}

} // namespace MapShape
