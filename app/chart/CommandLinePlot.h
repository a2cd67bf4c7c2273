#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "i18n/LanguageTable.h"

// `zenu --plot FILE.zrec OUT.png [--from S --to S]`: the chart of a
// recording as a picture, without a window and without a display (the
// picture is drawn on Qt's offscreen platform), for a report or a forum post.
namespace CommandLinePlot {

// --plot, --from and --to, described in the texts in use (setRecordingTexts).
QList<QCommandLineOption> options();

// Whether the command line asks for a plot; looked at before any
// application object exists.
bool asked(int argc, char **argv);

struct Result
{
    int exitCode = 0;
    QString out; // what goes to standard output
    QString err; // what goes to standard error
};

// Parses `arguments` (the program name first), reads the recording and writes
// the PNG. `texts` gives the messages, units and names (nullptr: the built-in
// Polish texts); `layoutText` the panes as the chart window keeps them. Needs
// a QGuiApplication.
Result run(const QStringList &arguments, const LanguageTable *texts, const QString &layoutText);

// The whole of it for main(): makes an offscreen QGuiApplication, reads the
// remembered panes, runs and prints. `chosenTexts` gives the table in the
// language last chosen (as the CSV export loads it), once the application
// exists; empty for the built-in texts.
int main(int argc, char **argv, const std::function<std::optional<LanguageTable>()> &chosenTexts);

} // namespace CommandLinePlot
