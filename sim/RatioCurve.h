#pragma once

#include <QString>

#include <optional>
#include <vector>

// The car's true gas/petrol ratio as a curve over the petrol time it needs
// (ms), straight between the given points and held beyond the first and the
// last: a car whose ratio varies with load, so that a map calibrated at idle
// is still wrong somewhere. Written "2:1.18,6:1.10,10:1.24,16:1.05".
class RatioCurve
{
public:
    struct Point
    {
        double petrolMs = 0;
        double ratio = 0;
    };

    static constexpr double LowestRatio = 0.5;
    static constexpr double HighestRatio = 2.5;
    static constexpr double LongestMs = 30.0;

    // Points "ms:ratio" separated by commas, times rising; nullopt when the
    // text is not such a curve.
    static std::optional<RatioCurve> parse(const QString &text);

    bool empty() const { return m_points.empty(); }
    double at(double petrolMs) const;
    QString text() const;
    const std::vector<Point> &points() const { return m_points; }

private:
    std::vector<Point> m_points;
};
