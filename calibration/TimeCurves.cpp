#include "calibration/TimeCurves.h"

#include "link/CommandBodies.h"

#include <algorithm>

namespace {

constexpr int Passes = 4;

uint8_t byteOf(long long v)
{
    return uint8_t(std::clamp<long long>(v, 0, 255));
}

void sortByTime(TimeCurves::Points &points)
{
    std::stable_sort(points.begin(), points.end(),
                     [](const MapEdit::ChartPoint &a, const MapEdit::ChartPoint &b) { return a.x < b.x; });
}

} // namespace

const TimeCurves::Result &TimeCurves::rebuild(const Table &gas, const Table &petrol, int selector)
{
    m_gas.fill(Record{});
    m_petrol.fill(Record{});
    m_result.gasCurve.clear();
    m_result.petrolCurve.clear();
    m_result.gasPoints.clear();
    m_result.petrolPoints.clear();

    History history;
    curve(m_gas, gas, showsGasCurve(selector), showsPoints(selector), history, m_result.gasCurve,
          m_result.gasPoints);
    curve(m_petrol, petrol, showsPetrolCurve(selector), showsPoints(selector), history, m_result.petrolCurve,
          m_result.petrolPoints);
    return m_result;
}

void TimeCurves::fill(Histogram &h, const Table &table)
{
    for (int i = 0; i < Size; ++i) {
        Record &r = h[table[size_t(i)]];
        // Position 0 goes into a zero slot and leaves it zero: it never counts.
        for (uint8_t &slot : r.slot) {
            if (slot == 0) {
                slot = uint8_t(i);
                break;
            }
        }
    }
    h[0].slot.fill(0); // a zero time is no data
}

void TimeCurves::curve(Histogram &h, const Table &table, bool showCurve, bool showPoints, History &t,
                       Points &curvePoints, Points &rawPoints)
{
    fill(h, table);
    t.u = 0;
    for (int pass = 0; pass < Passes; ++pass) {
        const bool last = pass == Passes - 1;
        t.a = t.b = t.c = 0;
        for (int j = 0; j < Size; ++j) {
            Record &r = h[size_t(j)];
            int n = 0;
            int sum = 0;
            for (uint8_t slot : r.slot) {
                n += slot != 0;
                sum += slot;
            }
            if (n > 0)
                r.avg = byteOf(CommandBodies::roundHalfEven(double(sum) / n));
            h[0].slot.fill(0);

            // A record that falls against the curve's rise is not taken; the
            // next pass looks at it afresh.
            if (n > 0 && t.a > 0 && (r.avg - t.a) < -0.85 * (j - t.u - 5)) {
                r.avg = 0;
                continue;
            }
            if (n > 0) {
                t.w = t.v;
                t.c = t.b;
                t.v = t.u;
                t.b = t.a;
                t.u = j;
                t.a = r.avg;
            }
            if (r.avg > 5 && t.c > 0) {
                // The middle record is pulled onto the line between its neighbours.
                Record &middle = h[size_t(t.v)];
                middle.slot[0] = byteOf(CommandBodies::roundHalfEven(double(t.v - t.w) * (t.a - t.c) / (t.u - t.w) + t.c));
                middle.slot[1] = middle.avg;
            }
            if (last && r.avg > 5 && showCurve)
                curvePoints.push_back({t.v / 10.0, double(h[size_t(t.v)].avg)});
            if (last && showPoints && table[size_t(j)] > 0)
                rawPoints.push_back({table[size_t(j)] / 10.0, double(j)});
        }
    }
    sortByTime(curvePoints);
    sortByTime(rawPoints);
}
