// What a user waits for when replaying: opening an hour-long recording (read
// and start) and a seek in it, on the real main window (offscreen, shown, the
// scope running). A seek re-applies the last settings block and up to
// ReplayClock::CatchUpAnswers answers through ApplyLiveFrame.
//
//   bench_replay [--minutes N] [--seeks N]     (defaults 60 and 20)
#include "bench/LiveWindowBench.h"

#include "app/recording/RecordingRoom.h"
#include "app/recording/ReplayPanel.h"
#include "app/window/TZENU.h"
#include "app/common/UserMessage.h"

#include "record/RecordingWriter.h"
#include "record/ReplayClock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace {

using namespace LiveWindowBench;

constexpr int PollMs = 240;
constexpr double TargetSeekMs = 500.0;
constexpr double TargetOpenMs = 1000.0;

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int minutes = argument(args, "--minutes", 60, 1);
    const int seeks = argument(args, "--seeks", 20, 1);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "bench_replay: no temporary folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    const QString path = dir.filePath(QStringLiteral("hour.zrec"));
    const int answers = minutes * 60 * 1000 / PollMs;
    {
        RecordingWriter writer;
        if (!writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc())) {
            std::fprintf(stderr, "bench_replay: %s\n", qPrintable(writer.errorText()));
            return 1;
        }
        writer.append(RecordKind::Settings, 0, QByteArray(602, '\x01'));
        for (int n = 0; n < answers; ++n) {
            writer.append(RecordKind::Command, qint64(n) * PollMs + 1, QByteArray::fromHex("cc55aa01ff"));
            writer.append(RecordKind::Answer, qint64(n) * PollMs + 80, movingFrame(n));
        }
        writer.close();
    }

    QStringList messages;
    UserMessage::setInterceptor([&messages](const QString &text) { messages << text; });
    TZENU window(TZENU::PortLister{[] { return QStringList(); }}, [](const QUrl &) { return true; });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "bench_replay: window not exposed, painting is not measured\n");
    prepareScope(window);

    ReplayPanel &replay = window.recording().replay();
    QElapsedTimer clock;
    clock.start();
    if (!replay.open(path)) {
        std::fprintf(stderr, "bench_replay: %s\n", qPrintable(messages.join(QStringLiteral(" | "))));
        return 1;
    }
    replay.clock()->pause();
    const double openMs = clock.nsecsElapsed() / 1e6;
    QApplication::processEvents();

    QList<double> times;
    QRandomGenerator random(7);
    for (int i = 0; i < seeks; ++i) {
        const qint64 to = random.bounded(replay.clock()->duration());
        clock.start();
        replay.clock()->seek(to);
        times << clock.nsecsElapsed() / 1e6;
        // The displays paint between two seeks, as a user's drags are apart.
        QApplication::processEvents();
    }
    const double seekMs = median(times);
    const double worst = *std::max_element(times.cbegin(), times.cend());
    std::printf("Replay of a %d-minute recording (%d answers) on the window, scope running\n"
                "  open %.1f ms (target <= %.0f ms: %s)\n"
                "  seek median %.1f ms, max %.1f ms over %d seeks, up to %d answers re-applied "
                "(target median <= %.0f ms: %s)\n",
                minutes, answers, openMs, TargetOpenMs, openMs <= TargetOpenMs ? "met" : "MISSED", seekMs, worst,
                seeks, ReplayClock::CatchUpAnswers, TargetSeekMs, seekMs <= TargetSeekMs ? "met" : "MISSED");
    replay.end();
    return 0;
}
