// Staying connected in the car, over a long drive: the real main window
// (offscreen) with "Reconnect automatically" on, against zenu-sim at 7200
// baud, with a 3-second noise burst and a 5-second silence taking turns once a
// minute. Reports the reconnects, the longest gap between live answers, the
// boxes shown (none expected), and resident memory and open file handles at
// the start and at the end (neither may grow), with the heap in use and the
// window's objects as the finer measure. Linux: reads /proc and mallinfo2.
//
//   bench_soak [--minutes N]      (default 30)
#include "bench/RunUntil.h"
#include "SimFrameLog.h"
#include "SimulatorProcess.h"

#include "app/common/UserMessage.h"
#include "app/window/LinkRideOut.h"
#include "app/window/TZENU.h"

#include "link/Session.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <malloc.h>

namespace {

constexpr int PollCode = 0x55;
constexpr int FaultOffsetMs = 30000; // into each minute
constexpr int NoiseMs = 3000;
constexpr int SilenceMs = 5000;

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Bytes the program holds on the heap now: unlike resident memory, this does
// not count pages the allocator keeps for later.
long heapInUseKb()
{
    return long(mallinfo2().uordblks / 1024);
}

int openFiles()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZENU"));

    int minutes = 30;
    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--minutes"));
    if (at >= 0 && at + 1 < args.size())
        minutes = std::max(1, args.at(at + 1).toInt());

    QTemporaryDir config;
    if (!config.isValid()) {
        std::fprintf(stderr, "bench_soak: no temporary folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QString logPath = config.filePath(QStringLiteral("frames.jsonl"));

    SimulatorProcess sim(QStringLiteral(ZENU_SIM_PATH), config.path());
    QString error;
    if (!sim.start(QStringLiteral("COM5"), logPath, {QStringLiteral("--pace"), QStringLiteral("--warm")}, &error)) {
        std::fprintf(stderr, "bench_soak: %s\n", qPrintable(error));
        return 1;
    }

    QStringList messages;
    UserMessage::setInterceptor([&messages](const QString &text) { messages << text; });
    TZENU window(TZENU::PortLister{}, [](const QUrl &) { return true; });
    window.rideOut().menuItem()->setChecked(true);
    window.show();
    window.polacz->trigger();
    Session &session = window.session();
    const auto polling = [&] {
        return session.linkState() == Session::Count || session.linkState() == Session::ReadCount
               || session.linkState() == Session::ReadCountRest;
    };
    if (!runUntil(polling, 15000, 50)) {
        std::fprintf(stderr, "bench_soak: no connection (%s)\n", qPrintable(messages.join(QStringLiteral(" | "))));
        return 1;
    }
    runUntil([] { return false; }, 5000, 500); // settled
    const long rssStart = residentKb();
    const long heapStart = heapInUseKb();
    const int filesStart = openFiles();
    const qsizetype objectsStart = window.findChildren<QObject *>().size();
    // Heap in use at each minute: a steady climb is a leak, a step is a cache.
    QList<long> heapByMinute;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] { heapByMinute << heapInUseKb(); });
    sample.start(60000);

    // The faults, once a minute, taking turns.
    int faults = 0;
    QTimer schedule;
    const auto fault = [&] {
        const bool noise = faults++ % 2 == 0;
        sim.command(noise ? QStringLiteral("line noise 5") : QStringLiteral("line silent on"));
        QTimer::singleShot(noise ? NoiseMs : SilenceMs, [&sim, noise] {
            sim.command(noise ? QStringLiteral("line noise 0") : QStringLiteral("line silent off"));
        });
    };
    QObject::connect(&schedule, &QTimer::timeout, fault);
    QTimer::singleShot(FaultOffsetMs, [&] {
        schedule.start(60000);
        fault();
    });

    // Reconnects: each ride-out ends polling again.
    int reconnects = 0;
    bool wasReconnecting = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const bool now = session.reconnecting();
        if (wasReconnecting && !now && polling())
            ++reconnects;
        wasReconnecting = now;
    });
    watch.start(20);

    runUntil([] { return false; }, minutes * 60000, 1000);
    schedule.stop();
    watch.stop();
    runUntil(polling, 20000, 50); // the last fault has ended
    const bool pollingAtEnd = polling();
    sample.stop();
    const long rssEnd = residentKb();
    const long heapEnd = heapInUseKb();
    const int filesEnd = openFiles();
    const qsizetype objectsEnd = window.findChildren<QObject *>().size();
    window.rozlacz1->trigger();
    sim.stop();

    const QList<LoggedFrame> frames = SimFrameLog::read(logPath);
    const QList<LoggedFrame> answers = SimFrameLog::select(frames, false, PollCode);
    double longestGapMs = 0;
    for (qsizetype i = 1; i < answers.size(); ++i)
        longestGapMs = std::max(longestGapMs, (answers[i].lastUs - answers[i - 1].lastUs) / 1000.0);

    std::printf("link soak: %d min against the paced simulator, a noise burst (%d s) or a silence (%d s) every minute\n",
                minutes, NoiseMs / 1000, SilenceMs / 1000);
    std::printf("  faults %d   reconnects %d   polls answered %d   longest gap %.0f ms   boxes %d   polling at the end: %s\n",
                faults, reconnects, int(answers.size()), longestGapMs, int(messages.size()), pollingAtEnd ? "yes" : "NO");
    std::printf("  resident memory %ld kB -> %ld kB   open file handles %d -> %d\n", rssStart, rssEnd, filesStart,
                filesEnd);
    std::printf("  heap in use %ld kB -> %ld kB   window objects %d -> %d\n", heapStart, heapEnd, int(objectsStart),
                int(objectsEnd));
    QStringList trend;
    for (long kb : heapByMinute)
        trend << QString::number(kb);
    std::printf("  heap in use by minute (kB): %s\n", qPrintable(trend.join(QLatin1Char(' '))));
    if (!messages.isEmpty())
        std::printf("  boxes: %s\n", qPrintable(messages.join(QStringLiteral(" | "))));
    return pollingAtEnd && messages.isEmpty() ? 0 : 1;
}
