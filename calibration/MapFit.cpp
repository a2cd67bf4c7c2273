#include "calibration/MapFit.h"

#include "link/CommandBodies.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Eps = 1e-9;

// One point of the fitted line: a petrol time and the multiplier there.
struct Knot
{
    double ms = 0;
    double value = 0;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Pairs with the same petrol time become one knot at their mean multiplier:
// a line cannot pass through two values at one time.
std::vector<Knot> knots(const std::vector<MapFit::Pair> &used)
{
    std::vector<Knot> out;
    int count = 0;
    for (const MapFit::Pair &p : used) {
        if (!out.empty() && std::abs(out.back().ms - p.petrolMs) < Eps) {
            out.back().value = (out.back().value * count + p.multiplier) / (count + 1);
            ++count;
        } else {
            out.push_back({p.petrolMs, p.multiplier});
            count = 1;
        }
    }
    return out;
}

double lineAt(const std::vector<Knot> &k, double ms)
{
    if (ms <= k.front().ms)
        return k.front().value;
    for (size_t i = 1; i < k.size(); ++i) {
        if (ms <= k[i].ms + Eps) {
            const double span = k[i].ms - k[i - 1].ms;
            return k[i - 1].value + (k[i].value - k[i - 1].value) * (ms - k[i - 1].ms) / span;
        }
    }
    return k.back().value;
}

} // namespace

double MapFit::valueAt(const CorrectionMap &map, double ms)
{
    const double pos = (ms - 1.0) * 10.0 + 1.0; // fractional point number
    if (pos <= 1)
        return map.value(1);
    if (pos >= CorrectionMap::Points)
        return map.value(CorrectionMap::Points);
    const int k = int(std::floor(pos));
    const double f = pos - k;
    return map.value(k) + (map.value(k + 1) - map.value(k)) * f;
}

std::vector<MapFit::Pair> MapFit::pairs(const Table &petrol, const Table &gas, const CorrectionMap &old)
{
    std::vector<Pair> out;
    // Position 0 carries no data, as for the curves on the chart.
    for (int p = 1; p < TableSize; ++p) {
        if (petrol[size_t(p)] == 0 || gas[size_t(p)] == 0)
            continue;
        Pair pair;
        pair.position = p;
        pair.petrolMs = petrol[size_t(p)] / 10.0;
        pair.gasMs = gas[size_t(p)] / 10.0;
        pair.multiplier = valueAt(old, pair.gasMs) * pair.gasMs / pair.petrolMs;
        out.push_back(pair);
    }
    // By petrol time; equal petrol times by gas time, so that only a pair
    // whose gas time falls below one at a shorter petrol time breaks the order.
    std::sort(out.begin(), out.end(), [](const Pair &a, const Pair &b) {
        if (a.petrolMs != b.petrolMs)
            return a.petrolMs < b.petrolMs;
        if (a.gasMs != b.gasMs)
            return a.gasMs < b.gasMs;
        return a.position < b.position;
    });
    return out;
}

// The largest set of pairs in which the gas time never falls while the petrol
// time rises: more load never needs less gas. Among equally large sets the one
// that keeps the nearer neighbours wins, so the choice does not depend on chance.
std::vector<MapFit::Pair> MapFit::monotone(const std::vector<Pair> &sorted)
{
    const int n = int(sorted.size());
    std::vector<int> length(size_t(n), 1), previous(size_t(n), -1);
    int best = -1;
    for (int i = 0; i < n; ++i) {
        for (int j = i - 1; j >= 0; --j) {
            if (sorted[size_t(j)].gasMs <= sorted[size_t(i)].gasMs && length[size_t(j)] + 1 > length[size_t(i)]) {
                length[size_t(i)] = length[size_t(j)] + 1;
                previous[size_t(i)] = j;
            }
        }
        if (best < 0 || length[size_t(i)] >= length[size_t(best)])
            best = i;
    }
    std::vector<Pair> out;
    for (int i = best; i >= 0; i = previous[size_t(i)])
        out.push_back(sorted[size_t(i)]);
    std::reverse(out.begin(), out.end());
    return out;
}

// A pair whose multiplier lies more than 10 % from the median of its nearest
// kept neighbours (two on each side where there are) is dropped. All pairs are
// judged against the same set, so the order of judging does not matter.
std::vector<MapFit::Pair> MapFit::withoutOutliers(const std::vector<Pair> &kept)
{
    const int n = int(kept.size());
    std::vector<Pair> out;
    for (int i = 0; i < n; ++i) {
        std::vector<double> around;
        for (int j = std::max(0, i - OutlierNeighbours); j <= std::min(n - 1, i + OutlierNeighbours); ++j)
            if (j != i)
                around.push_back(kept[size_t(j)].multiplier);
        if (around.size() >= 2) {
            const double m = median(around);
            if (std::abs(kept[size_t(i)].multiplier - m) > OutlierFraction * m)
                continue;
        }
        out.push_back(kept[size_t(i)]);
    }
    return out;
}

MapFit::Result MapFit::propose(const Table &petrol, const Table &gas, const CorrectionMap &old)
{
    Result r;
    r.proposal = old;
    const std::vector<Pair> all = pairs(petrol, gas, old);
    r.bothPositions = int(all.size());
    r.used = withoutOutliers(monotone(all));
    r.usablePositions = int(r.used.size());
    if (!r.used.empty()) {
        r.fromMs = r.used.front().petrolMs;
        r.toMs = r.used.back().petrolMs;
    }
    if (r.usablePositions < MinPositions) {
        r.refusal = Refusal::TooFewPositions;
        return r;
    }
    if (r.coveredMs() < MinSpanMs - Eps) {
        r.refusal = Refusal::TooNarrow;
        return r;
    }

    const std::vector<Knot> line = knots(r.used);
    // The change at each end of the covered range fades to nothing over
    // BlendMs beyond it, so the map has no step where the data ends.
    const double riseAtFrom = line.front().value - valueAt(old, r.fromMs);
    const double riseAtTo = line.back().value - valueAt(old, r.toMs);

    for (int k = 1; k <= CorrectionMap::Points; ++k) {
        const double x = CorrectionMap::timeOf(k);
        const int was = old.value(k);
        double target = was;
        if (x >= r.fromMs - Eps && x <= r.toMs + Eps)
            target = lineAt(line, x);
        else if (x < r.fromMs && r.fromMs - x < BlendMs - Eps)
            target = was + riseAtFrom * (1 - (r.fromMs - x) / BlendMs);
        else if (x > r.toMs && x - r.toMs < BlendMs - Eps)
            target = was + riseAtTo * (1 - (x - r.toMs) / BlendMs);
        else
            continue;

        long long v = CommandBodies::roundHalfEven(target);
        // Within 30 % of the old value, counted in whole hundredths.
        const long long lo = (7LL * was + 9) / 10;
        const long long hi = (13LL * was) / 10;
        if (v < lo || v > hi) {
            v = std::clamp(v, lo, hi);
            r.capHit = true;
        }
        if (v < CorrectionMap::MinValue || v > CorrectionMap::MaxValue) {
            v = std::clamp<long long>(v, CorrectionMap::MinValue, CorrectionMap::MaxValue);
            r.boundHit = true;
        }
        r.proposal.setValue(k, int(v));
        if (v != was) {
            ++r.changedPoints;
            if (was > 0) {
                const double pct = (double(v) - was) * 100.0 / was;
                r.largestRisePct = std::max(r.largestRisePct, pct);
                r.largestFallPct = std::max(r.largestFallPct, -pct);
            }
        }
    }
    return r;
}
