// Poll cycle overhead of the program's link: the real main window (offscreen),
// its session and serial port, against zenu-sim writing at 7200 baud. From the
// simulator's frame log: time from the last byte of each poll answer to the
// first byte of the next poll, less the 240 ms poll period.
//
//   bench_link [--cycles N]      (default 120, at least 100)
#include "bench/RunUntil.h"
#include "SimFrameLog.h"
#include "SimulatorProcess.h"

#include "app/window/TZENU.h"
#include "app/common/UserMessage.h"
#include "app/window/WindowLinkView.h"

#include "link/Session.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace {

constexpr int PollCode = 0x55;
constexpr double TargetMedianMs = 1.0;
constexpr double TargetP99Ms = 5.0;

int pollsSent(const QString &logPath)
{
    return int(SimFrameLog::select(SimFrameLog::read(logPath), true, PollCode).size());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZENU"));

    int cycles = 120;
    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--cycles"));
    if (at >= 0 && at + 1 < args.size())
        cycles = std::max(100, args.at(at + 1).toInt());

    QTemporaryDir config;
    if (!config.isValid()) {
        std::fprintf(stderr, "bench_link: no temporary folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QString logPath = config.filePath(QStringLiteral("frames.jsonl"));

    SimulatorProcess sim(QStringLiteral(ZENU_SIM_PATH), config.path());
    QString error;
    if (!sim.start(QStringLiteral("COM5"), logPath, {QStringLiteral("--pace"), QStringLiteral("--warm")}, &error)) {
        std::fprintf(stderr, "bench_link: %s\n", qPrintable(error));
        return 1;
    }

    QStringList messages;
    UserMessage::setInterceptor([&messages](const QString &text) { messages << text; });
    TZENU window(TZENU::PortLister{}, [](const QUrl &) { return true; });
    window.show();
    window.polacz->trigger();

    Session &session = window.session();
    const bool connected = runUntil(
        [&] { return session.linkState() == Session::ReadCount || session.linkState() == Session::ReadCountRest; }, 15000,
        50);
    if (!connected) {
        std::fprintf(stderr, "bench_link: no connection (%s)\n", qPrintable(messages.join(QStringLiteral(" | "))));
        return 1;
    }
    // About 320 ms a cycle at 7200 baud; allow twice that.
    // Counted in the program (one live frame per poll tick): reading the log
    // here would stall the loop and show up in the figures.
    WindowLinkView &view = window.linkView();
    const int framesBefore = view.liveFramesApplied();
    const bool enough = runUntil([&] { return view.liveFramesApplied() - framesBefore > cycles + 1 || !messages.isEmpty(); },
                                 cycles * 640 + 5000, 500);
    window.rozlacz1->trigger();
    sim.stop();
    if (!enough || !messages.isEmpty()) {
        std::fprintf(stderr, "bench_link: stopped after %d polls (%s)\n", pollsSent(logPath),
                     qPrintable(messages.join(QStringLiteral(" | "))));
        return 1;
    }

    const QList<LoggedFrame> frames = SimFrameLog::read(logPath);
    const SimFrameLog::Summary s = SimFrameLog::summarize(SimFrameLog::pollOverheadsMs(frames, Session::PollInterval));
    // Polls per second over the whole stretch, first poll to last.
    const QList<LoggedFrame> polls = SimFrameLog::select(frames, true, PollCode);
    const double spanS = polls.size() > 1 ? (polls.last().firstUs - polls.first().firstUs) / 1e6 : 0;
    const double pollRate = spanS > 0 ? (polls.size() - 1) / spanS : 0;
    const bool met = s.median <= TargetMedianMs && s.p99 <= TargetP99Ms;
    std::printf("link poll cycle overhead (answer's last byte -> next poll's first byte, minus %d ms)\n",
                Session::PollInterval);
    std::printf("  cycles %d   median %.3f ms   p99 %.3f ms   max %.3f ms   (target median <= %.0f ms, p99 <= %.0f ms: %s)\n",
                s.samples, s.median, s.p99, s.max, TargetMedianMs, TargetP99Ms, met ? "met" : "MISSED");
    std::printf("  polls %d over %.1f s: %.2f polls per second\n", int(polls.size()), spanS, pollRate);
    return 0;
}
