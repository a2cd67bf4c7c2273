// Recording while polling and exporting afterwards, on an hour of simulated
// road test (four live answers a second, a poll before each).
//  - RecordAppend: one record (a poll or a live answer) appended and handed
//    to the operating system, into a file in /tmp. Goal: at most 20 us.
//  - CsvExport: rows per second of the export from a recording in memory to
//    a file, and from the .zrec file to the .csv file (reading included).
//    Goal: at least 100,000 rows per second.
// The figures are reported with their goals, not asserted.
#include "record/CsvExport.h"
#include "record/RecordingReader.h"
#include "record/RecordingWriter.h"
#include "tests/record/SessionSample.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

constexpr int PollsPerHour = 4 * 3600;

const QVector<RecordEntry> &hour()
{
    static const QVector<RecordEntry> entries = sessionSample(PollsPerHour);
    return entries;
}

QTemporaryDir &tmp()
{
    static QTemporaryDir dir(QStringLiteral("/tmp/zenu-bench-record-XXXXXX"));
    return dir;
}

const QDateTime Start(QDate(2026, 12, 10), QTime(9, 0), Qt::UTC);

// The hour written once: its size, and the file the export reads.
const QString &hourFile()
{
    static const QString path = [] {
        const QString p = tmp().filePath(QStringLiteral("hour.zrec"));
        RecordingWriter writer;
        writer.open(p, QStringLiteral("COM5"), Start);
        for (const RecordEntry &e : hour())
            writer.append(e.kind, e.ms, e.bytes);
        return p;
    }();
    return path;
}

void BM_RecordAppend(benchmark::State &state)
{
    const QVector<RecordEntry> &entries = hour();
    RecordingWriter writer;
    if (!writer.open(tmp().filePath(QStringLiteral("append.zrec")), QStringLiteral("COM5"), Start)) {
        state.SkipWithError(writer.errorText().toStdString().c_str());
        return;
    }
    qsizetype i = 1; // past the settings block, as while polling
    qint64 offset = 0;
    for (auto _ : state) {
        const RecordEntry &e = entries[i];
        writer.append(e.kind, offset + e.ms, e.bytes);
        if (++i == entries.size()) {
            i = 1;
            offset += entries.last().ms;
        }
    }
    if (writer.failed())
        state.SkipWithError(writer.errorText().toStdString().c_str());
    state.counters["goal_us_max"] = 20;
    state.counters["file_kB_per_hour"] = double(QFileInfo(hourFile()).size()) / 1000;
    state.counters["bytes_per_record"] = double(QFileInfo(hourFile()).size()) / double(entries.size());
}
BENCHMARK(BM_RecordAppend)->Unit(benchmark::kMicrosecond);

void BM_CsvExportFromMemory(benchmark::State &state)
{
    Recording recording;
    recording.entries = hour();
    const QString csv = tmp().filePath(QStringLiteral("memory.csv"));
    qint64 rows = 0;
    for (auto _ : state) {
        QFile out(csv);
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        rows += CsvExport::write(recording, out, nullptr);
    }
    state.counters["rows_per_s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsRate);
    state.counters["goal_rows_per_s_min"] = 100000;
}
BENCHMARK(BM_CsvExportFromMemory)->Unit(benchmark::kMillisecond);

void BM_CsvExportFile(benchmark::State &state)
{
    const QString recording = hourFile();
    const QString csv = tmp().filePath(QStringLiteral("file.csv"));
    qint64 rows = 0;
    for (auto _ : state) {
        const CsvExport::Outcome outcome = CsvExport::exportRecording(recording, csv);
        if (!outcome.ok) {
            state.SkipWithError(outcome.error.toStdString().c_str());
            return;
        }
        rows += outcome.rows;
    }
    state.counters["rows_per_s"] = benchmark::Counter(double(rows), benchmark::Counter::kIsRate);
    state.counters["goal_rows_per_s_min"] = 100000;
}
BENCHMARK(BM_CsvExportFile)->Unit(benchmark::kMillisecond);

void BM_ReadRecording(benchmark::State &state)
{
    const QString recording = hourFile();
    for (auto _ : state) {
        std::optional<Recording> r = RecordingReader::read(recording, nullptr);
        benchmark::DoNotOptimize(r);
    }
    state.counters["records"] = double(hour().size());
}
BENCHMARK(BM_ReadRecording)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
