#include "app/chart/CommandLinePlot.h"
#include "app/recording/CommandLineExport.h"
#include "app/recording/RecordReplayOptions.h"
#include "app/window/FileArgument.h"
#include "app/window/ProgramOptions.h"
#include "app/window/TZENU.h"
#include "widgets/CachedFrameStyle.h"

#include "i18n/LanguageTable.h"
#include "record/Recording.h"
#include "settings/DiffCommand.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

namespace {

// Help, version and the export need no window, so not even a display.
bool answeredWithoutWindow(int argc, char **argv)
{
    if (CommandLineExport::asked(argc, argv))
        return true;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            break;
        for (const char *name : {"-h", "--help", "-?", "--help-all", "-v", "--version"})
            if (argument == name)
                return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (DiffCommand::asked(argc, argv)) {
        // Two settings files compared for a script: no window, no display.
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("zenu"));
        return DiffCommand::run(QCoreApplication::arguments());
    }
    // The chart as a picture: drawn offscreen, no window, no display.
    if (CommandLinePlot::asked(argc, argv))
        return CommandLinePlot::main(argc, argv, [] { return CommandLineExport::chosenLanguageTexts(); });
    if (answeredWithoutWindow(argc, argv)) {
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("zenu"));
        QCoreApplication::setApplicationVersion(QStringLiteral(ZENU_VERSION_TEXT));
        // What is printed speaks the language last chosen in the window.
        const std::optional<LanguageTable> texts = CommandLineExport::chosenLanguageTexts();
        setRecordingTexts(texts ? &*texts : nullptr);
        QCommandLineParser parser;
        ProgramOptions::add(parser);
        if (!CommandLineExport::asked(argc, argv)) {
            parser.process(core); // prints help or version and exits
            return 0;
        }
        const int code = CommandLineExport::run(parser, QCoreApplication::arguments());
        setRecordingTexts(nullptr);
        return code;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZENU"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZENU"));
    // The installed menu entry (packaging/), so the desktop shows its icon
    // and name for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.zenu.ZENU"));
    // The platform's own style, with group box frames kept as pictures so a
    // changing gauge does not redraw the frame behind it from scratch.
    QApplication::setStyle(new CachedFrameStyle);

    TZENU window;
    QCommandLineParser parser;
    ProgramOptions::add(parser);
    // Qt's own options (-platform, -style) are gone from the arguments by now.
    parser.parse(QApplication::arguments());
    RecordReplayOptions::apply(parser, window.recording(), &window);
    FileArgument::apply(parser, window);
    window.show();
    return app.exec();
}
