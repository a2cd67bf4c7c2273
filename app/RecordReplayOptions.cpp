#include "app/RecordReplayOptions.h"

#include "app/HandlerGuard.h"
#include "app/RecordingRoom.h"
#include "app/ReplayPanel.h"
#include "app/TZENU.h"
#include "record/Recording.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QPointer>
#include <QTimer>

namespace {

const QString RecordOption = QStringLiteral("record");
const QString ReplayOption = QStringLiteral("replay");

} // namespace

void RecordReplayOptions::add(QCommandLineParser &parser)
{
    parser.addOption(QCommandLineOption(RecordOption, recordingText(u"recording.cli.record"),
                                        QStringLiteral("FILE")));
    parser.addOption(QCommandLineOption(ReplayOption, recordingText(u"replay.cli.replay"),
                                        QStringLiteral("FILE")));
}

void RecordReplayOptions::apply(const QCommandLineParser &parser, TZENU &window)
{
    if (parser.isSet(RecordOption))
        window.recording().recordAtFirstConnect(parser.value(RecordOption));
    if (parser.isSet(ReplayOption)) {
        const QString path = parser.value(ReplayOption);
        QTimer::singleShot(0, &window, [w = QPointer<TZENU>(&window), path] {
            if (w)
                HandlerGuard::run(w, [&] { w->recording().replay().open(path); });
        });
    }
}
