// One "Fit to curves" proposal from full tables (all 255 positions on both
// fuels, a ratio that changes with load, a few stale entries to drop), on
// the UI thread when the fitter clicks: goal 1 ms.
#include "calibration/MapFit.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void BM_MapFitProposal(benchmark::State &state)
{
    MapFit::Table petrol{}, gas{};
    for (int p = 1; p < MapFit::TableSize; ++p) {
        const double tp = 0.5 + 0.072 * p;
        const double ratio = 1.18 - 0.01 * tp + 0.03 * std::sin(tp);
        petrol[size_t(p)] = uint8_t(std::lround(tp * 10));
        gas[size_t(p)] = uint8_t(std::min(255L, std::lround(tp * ratio * 10)));
    }
    gas[40] = 250; // stale entries
    gas[90] = 10;
    CorrectionMap old;
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        old.setValue(k, 100 + k / 20);
    if (!MapFit::propose(petrol, gas, old).ok()) {
        state.SkipWithError("the tables gave no proposal");
        return;
    }
    for (auto _ : state) {
        const MapFit::Result r = MapFit::propose(petrol, gas, old);
        benchmark::DoNotOptimize(r.changedPoints);
    }
}
BENCHMARK(BM_MapFitProposal)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
