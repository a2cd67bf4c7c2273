#include "app/CommandLineExport.h"
#include "app/RecordReplayOptions.h"
#include "app/TZENU.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QCommandLineParser parser;
    parser.addOption(CommandLineExport::option());
    RecordReplayOptions::add(parser);

    // The export needs no window, so not even a display.
    if (CommandLineExport::asked(argc, argv)) {
        QCoreApplication core(argc, argv);
        return CommandLineExport::run(parser, QCoreApplication::arguments());
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZENU"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZENU"));
    // Qt's own options (-platform, -style) are gone from the arguments by now.
    parser.parse(QApplication::arguments());

    TZENU window;
    RecordReplayOptions::apply(parser, window);
    window.show();
    return app.exec();
}
