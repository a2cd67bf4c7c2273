// What a fitter waits for on the recording chart: opening the chart of an
// hour-long road test (read the file, build the channels, draw the window)
// and one zoom or pan step (a wheel notch or a drag move, drawn), at several
// zoom levels. The drive comes from the simulator's engine, as recorded.
// Then the live chart with a full ring (ten minutes of answers): the redraw
// it does once a second while connected, as processor time per second.
//
//   bench_chart [--minutes N] [--steps N] [--save FILE]     (defaults 60 and 40)
//
// --save keeps the recording (a simulated road test for trying the chart).
#include "bench/RoadDrive.h"

#include "app/chart/ChartCanvas.h"
#include "app/chart/ChartWindow.h"
#include "i18n/LanguageTable.h"
#include "record/RecordingReader.h"
#include "record/RecordingWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

constexpr double TargetOpenMs = 300.0;
constexpr double TargetStepMs = 16.0;

int argument(const QStringList &args, const char *name, int fallback)
{
    const int i = args.indexOf(QLatin1String(name));
    return i >= 0 && i + 1 < args.size() ? std::max(1, args[i + 1].toInt()) : fallback;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

double worst(const QList<double> &v)
{
    return v.isEmpty() ? 0 : *std::max_element(v.cbegin(), v.cend());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int minutes = argument(args, "--minutes", 60);
    const int steps = argument(args, "--steps", 40);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "bench_chart: no temporary folder\n");
        return 1;
    }
    const int saveAt = args.indexOf(QStringLiteral("--save"));
    const QString path = saveAt > 0 && saveAt + 1 < args.size() ? args[saveAt + 1]
                                                                : dir.filePath(QStringLiteral("hour.zrec"));
    {
        RecordingWriter writer;
        if (!writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc())) {
            std::fprintf(stderr, "bench_chart: %s\n", qPrintable(writer.errorText()));
            return 1;
        }
        for (const RecordEntry &e : roadDrive(minutes))
            writer.append(e.kind, e.ms, e.bytes);
        writer.close();
    }

    LanguageTable texts = LanguageTable::builtIn();
    ChartTexts chartTexts;
    chartTexts.text = [&texts](QStringView key) { return texts.programText(key); };
    chartTexts.message = [&texts](int row) { return texts.text(row, LanguageTable::Current); };
    ChartWindow window(chartTexts, {});
    window.resize(1366, 740);
    ChartCanvas *canvas = window.canvas();

    // Open: read, build, show and draw once.
    QElapsedTimer clock;
    clock.start();
    RecordingError error;
    const std::optional<Recording> recording = RecordingReader::read(path, &error);
    if (!recording) {
        std::fprintf(stderr, "bench_chart: %s\n", qPrintable(recordingErrorText(path, error)));
        return 1;
    }
    const double readMs = clock.nsecsElapsed() / 1e6;
    window.showRecording(*recording, QStringLiteral("hour.zrec"));
    const double buildMs = clock.nsecsElapsed() / 1e6 - readMs;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "bench_chart: window not exposed\n");
    canvas->repaint();
    const double openMs = clock.nsecsElapsed() / 1e6;
    const int answers = window.data().series().size();

    std::printf("Chart of a %d-minute recording (%d answers), window 1366x740\n"
                "  open %.1f ms: read %.1f, build %.1f, show and draw %.1f (target <= %.0f ms: %s)\n",
                minutes, answers, openMs, readMs, buildMs, openMs - readMs - buildMs, TargetOpenMs,
                openMs <= TargetOpenMs ? "met" : "MISSED");

    // Zoom and pan steps at several spans, each drawn (repaint paints now).
    const double plotWidth = canvas->axis().width();
    bool met = openMs <= TargetOpenMs;
    for (const double spanMs : {double(minutes) * 60000, 600000.0, 60000.0, 5000.0}) {
        QList<double> zooms, pans;
        for (int i = 0; i < steps; ++i) {
            const double centre = canvas->axis().wholeTo() * (0.2 + 0.6 * (i % 7) / 6.0);
            canvas->axis().setView(centre - spanMs / 2, centre + spanMs / 2);
            clock.start();
            canvas->axis().zoomAround(plotWidth * 0.4, i % 2 ? 0.8 : 1.25);
            canvas->repaint();
            zooms << clock.nsecsElapsed() / 1e6;
            clock.start();
            canvas->axis().pan(i % 2 ? 25 : -25);
            canvas->repaint();
            pans << clock.nsecsElapsed() / 1e6;
        }
        const double step = std::max(median(zooms), median(pans));
        met = met && step <= TargetStepMs;
        std::printf("  span %7.0f s: zoom step median %.2f ms (max %.2f), pan step median %.2f ms (max %.2f) "
                    "(target <= %.0f ms: %s)\n",
                    spanMs / 1000, median(zooms), worst(zooms), median(pans), worst(pans), TargetStepMs,
                    step <= TargetStepMs ? "met" : "MISSED");
    }

    // The live chart: the ring holds ten minutes; each second four answers
    // come in and the window redraws once (its LiveRedrawMs).
    {
        ChartData ring;
        ring.setKeepMs(ChartData::LiveKeepMs);
        const QVector<RecordEntry> drive = roadDrive(std::max(minutes, 12));
        int next = 0;
        auto feedUntil = [&](qint64 ms) {
            for (; next < drive.size() && drive[next].ms <= ms; ++next)
                ring.append(drive[next]);
        };
        feedUntil(ChartData::LiveKeepMs);
        ChartWindow live(chartTexts, {});
        live.resize(1366, 740);
        live.showLive(&ring);
        live.show();
        if (!QTest::qWaitForWindowExposed(&live))
            std::fprintf(stderr, "bench_chart: live window not exposed\n");
        ChartCanvas *liveCanvas = live.canvas();
        QList<double> redraws;
        qint64 at = ChartData::LiveKeepMs;
        for (int i = 0; i < steps && next < drive.size(); ++i) {
            at += ChartWindow::LiveRedrawMs;
            feedUntil(at);
            clock.start();
            liveCanvas->dataChanged();
            liveCanvas->repaint();
            redraws << clock.nsecsElapsed() / 1e6;
        }
        const double perSecond = median(redraws) * 1000.0 / ChartWindow::LiveRedrawMs;
        std::printf("Live chart, a full ring (%d answers), window 1366x740: redraw median %.2f ms (max %.2f), "
                    "%.2f %% of a core at one redraw a second\n",
                    ring.series().size(), median(redraws), worst(redraws), perSecond / 10.0);
    }
    return 0;
}
