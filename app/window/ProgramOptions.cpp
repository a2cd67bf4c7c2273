#include "app/window/ProgramOptions.h"

#include "app/chart/CommandLinePlot.h"
#include "app/recording/CommandLineExport.h"
#include "app/recording/RecordReplayOptions.h"
#include "app/window/FileArgument.h"

#include "record/Recording.h"

#include <QCommandLineParser>

void ProgramOptions::add(QCommandLineParser &parser)
{
    parser.setApplicationDescription(recordingText(u"record.cli.description"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(CommandLineExport::option());
    parser.addOption(CommandLineExport::styleOption());
    parser.addOption(QCommandLineOption(QStringLiteral("diff"), recordingText(u"compare.cli.diff")));
    RecordReplayOptions::add(parser);
    FileArgument::add(parser);
    parser.addOptions(CommandLinePlot::options());
}
