#include "app/recording/RecordReplayOptions.h"

#include "app/common/HandlerGuard.h"
#include "app/recording/RecordingRoom.h"
#include "app/recording/ReplayPanel.h"
#include "record/Recording.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QPointer>
#include <QTimer>
#include <QWidget>

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

void RecordReplayOptions::apply(const QCommandLineParser &parser, RecordingRoom &recording, QWidget *window)
{
    if (parser.isSet(RecordOption))
        recording.recordAtFirstConnect(parser.value(RecordOption));
    if (parser.isSet(ReplayOption)) {
        const QString path = parser.value(ReplayOption);
        // The room lives as long as the window, which is the context here.
        QTimer::singleShot(0, window, [w = QPointer<QWidget>(window), &recording, path] {
            if (w)
                HandlerGuard::run(w, [&] { recording.replay().open(path); });
        });
    }
}
