#include "sim/DriveCycle.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double StepS = 4.0;
constexpr double IdleS = 10.0;
// A step reached by a jump of MAP is held longer: the controller learns
// only once the engine has settled.
constexpr double JumpKpa = 2.0;
constexpr double SettleS = 6.0;
constexpr int IdleRpm = 800;
constexpr int TownRpm = 1800;
constexpr int RoadRpm = 2800;
} // namespace

void DriveCycle::add(Step s)
{
    if (!m_steps.empty() && std::abs(s.mapKpa - m_steps.back().mapKpa) > JumpKpa)
        s.seconds += SettleS;
    m_steps.push_back(s);
    m_length += s.seconds;
}

DriveCycle DriveCycle::road()
{
    DriveCycle c;
    c.add({IdleS, IdleRpm, 35, "idle"});
    for (int map = 36; map <= 60; ++map)
        c.add({StepS, TownRpm, double(map), "town"});
    for (int map = 61; map <= 95; ++map)
        c.add({StepS, RoadRpm, double(map), "road"});
    for (int map = 34; map >= 25; --map)
        c.add({StepS, TownRpm, double(map), "coast"});
    c.add({IdleS, IdleRpm, 35, "idle"});
    return c;
}

std::optional<DriveCycle> DriveCycle::byName(const QString &name)
{
    if (name == QLatin1String("road"))
        return road();
    return std::nullopt;
}

int DriveCycle::stepAt(double seconds) const
{
    double t = std::fmod(std::max(0.0, seconds), m_length);
    for (size_t i = 0; i < m_steps.size(); ++i) {
        if (t < m_steps[i].seconds)
            return int(i);
        t -= m_steps[i].seconds;
    }
    return int(m_steps.size()) - 1;
}
