// One settings data file: the 602-byte block coded into its 1219-byte file,
// and such a file decoded into the write-all's settings. Goal: at most 50 us
// each; the figure is reported, not asserted.
#include "settings/DataFile.h"

#include <benchmark/benchmark.h>

#include <QRandomGenerator>

namespace {

QByteArray block()
{
    QRandomGenerator rng(602);
    QByteArray b(602, '\0');
    for (auto &c : b)
        c = char(rng.bounded(256));
    return b;
}

void BM_DataFileEncode(benchmark::State &state)
{
    const QByteArray b = block();
    int seconds = 0;
    for (auto _ : state) {
        QByteArray file = DataFile::encode(b, seconds);
        benchmark::DoNotOptimize(file);
        seconds = (seconds + 1) % 60;
    }
    state.counters["bytes"] = double(DataFile::encode(b, 0).size());
}
BENCHMARK(BM_DataFileEncode)->Unit(benchmark::kMicrosecond);

void BM_DataFileDecode(benchmark::State &state)
{
    const QByteArray file = DataFile::encode(block(), 31);
    for (auto _ : state) {
        DataFile::Decoded d = DataFile::decodeForWriteAll(file);
        QByteArray settings = d.writeAllSettings();
        benchmark::DoNotOptimize(settings);
    }
}
BENCHMARK(BM_DataFileDecode)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
