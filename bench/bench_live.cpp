// Cost of the live view in the poll cycle, with the scope running.
//
// 1. In process: ApplyLiveFrame on the real main window (offscreen, shown, on
//    the Oscyloskop tab with a view chosen and faults blinking), frames with
//    changing contents, each timed alone.
// 2. Against zenu-sim at 7200 baud: the link's poll cycle overhead (the
//    answer's last byte to the next poll's first byte, less the 240 ms
//    period), which now includes decoding, applying and feeding the scope.
//
//   bench_live [--frames N] [--cycles N]     (defaults 2000 and 120)
#include "bench/LiveWindowBench.h"
#include "bench/RunUntil.h"
#include "SimFrameLog.h"
#include "SimulatorProcess.h"

#include "app/live/LiveDisplay.h"
#include "app/window/TZENU.h"
#include "app/common/UserMessage.h"
#include "app/window/WindowLinkView.h"

#include "link/Session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace {

using namespace LiveWindowBench;

constexpr double TargetMedianMs = 1.0;
constexpr double TargetP99Ms = 5.0;

void print(const char *what, const SimFrameLog::Summary &s)
{
    const bool met = s.median <= TargetMedianMs && s.p99 <= TargetP99Ms;
    std::printf("%s\n  samples %d   median %.3f ms   p99 %.3f ms   max %.3f ms   "
                "(target median <= %.0f ms, p99 <= %.0f ms: %s)\n",
                what, s.samples, s.median, s.p99, s.max, TargetMedianMs, TargetP99Ms, met ? "met" : "MISSED");
}

int inProcess(int frames)
{
    TZENU window(TZENU::PortLister{[] { return QStringList(); }}, [](const QUrl &) { return true; });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "bench_live: window not exposed, painting is not measured\n");
    prepareScope(window);

    QList<double> times;
    QElapsedTimer clock;
    for (int n = 0; n < frames; ++n) {
        const QByteArray frame = movingFrame(n);
        clock.start();
        window.liveDisplay().applyLiveFrame(frame);
        times << clock.nsecsElapsed() / 1e6;
        // Let the widgets paint and the scope tick, as between two polls.
        QApplication::processEvents();
    }
    print("ApplyLiveFrame on the window, scope running (one frame, in process)", SimFrameLog::summarize(times));
    return 0;
}

int againstSimulator(int cycles)
{
    QTemporaryDir config;
    if (!config.isValid()) {
        std::fprintf(stderr, "bench_live: no temporary folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    const QString logPath = config.filePath(QStringLiteral("frames.jsonl"));
    auto pollsSent = [&] { return int(SimFrameLog::select(SimFrameLog::read(logPath), true, PollCode).size()); };

    SimulatorProcess sim(QStringLiteral(ZENU_SIM_PATH), config.path());
    QString error;
    if (!sim.start(QStringLiteral("COM5"), logPath, {QStringLiteral("--pace"), QStringLiteral("--warm")}, &error)) {
        std::fprintf(stderr, "bench_live: %s\n", qPrintable(error));
        return 1;
    }
    // A listed fault keeps the banner blinking and the list rebuilt.
    sim.command(QStringLiteral("fault injector 3 on"));

    QStringList messages;
    UserMessage::setInterceptor([&messages](const QString &text) { messages << text; });
    TZENU window(TZENU::PortLister{}, [](const QUrl &) { return true; });
    window.show();
    prepareScope(window);
    window.polacz->trigger();

    Session &session = window.session();
    const bool connected = runUntil(
        [&] { return session.linkState() == Session::ReadCount || session.linkState() == Session::ReadCountRest; },
        15000, 50);
    if (!connected) {
        std::fprintf(stderr, "bench_live: no connection (%s)\n", qPrintable(messages.join(QStringLiteral(" | "))));
        return 1;
    }
    // About 320 ms a cycle at 7200 baud; allow twice that. Frames are counted
    // in the program: reading the log meanwhile would stall the loop and show
    // up in the figures.
    WindowLinkView &view = window.linkView();
    const int framesBefore = view.liveFramesApplied();
    const bool enough =
        runUntil([&] { return view.liveFramesApplied() - framesBefore > cycles + 1 || !messages.isEmpty(); },
                 cycles * 640 + 5000, 500);
    window.rozlacz1->trigger();
    sim.stop();
    UserMessage::setInterceptor({});
    if (!enough || !messages.isEmpty()) {
        std::fprintf(stderr, "bench_live: stopped after %d polls (%s)\n", pollsSent(),
                     qPrintable(messages.join(QStringLiteral(" | "))));
        return 1;
    }
    print("link poll cycle overhead with live decoding and the scope running (answer's last byte -> next "
          "poll's first byte, minus 240 ms)",
          SimFrameLog::summarize(SimFrameLog::pollOverheadsMs(SimFrameLog::read(logPath), Session::PollInterval)));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZENU"));
    const QStringList args = QApplication::arguments();

    const int result = inProcess(argument(args, "--frames", 2000, 100));
    if (result != 0)
        return result;
    return againstSimulator(argument(args, "--cycles", 120, 100));
}
