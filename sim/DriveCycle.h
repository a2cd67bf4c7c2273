#pragma once

#include <QString>

#include <optional>
#include <vector>

// A repeatable drive: engine speed and manifold pressure held in steps, so
// that the controller's learned tables fill at every MAP position the car
// passes. The road cycle idles, drives through town (MAP rising a kPa at a
// time, 36..60 kPa at 1800 rpm), takes the road (61..95 kPa at 2800 rpm),
// coasts down (34..25 kPa at 1800 rpm) and comes back to idle: 312 s of
// engine time, every position from 25 to 95 kPa held for four seconds (ten
// where it is reached by a jump).
class DriveCycle
{
public:
    struct Step
    {
        double seconds = 0;
        int rpm = 0;
        double mapKpa = 0;
        const char *phase = "";
    };

    static DriveCycle road();
    static std::optional<DriveCycle> byName(const QString &name);

    double lengthS() const { return m_length; }
    const std::vector<Step> &steps() const { return m_steps; }
    // The step that runs at `seconds` into the drive; the cycle repeats.
    int stepAt(double seconds) const;

private:
    void add(Step s);

    std::vector<Step> m_steps;
    double m_length = 0;
};
