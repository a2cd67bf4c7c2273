#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <optional>

class LanguageTable;

// `zenu --export-csv FILE.zrec OUT.csv`: a recording to a table without a
// window (no display needed, so it also runs in scripts and on a server).
namespace CommandLineExport {

// Its description comes from the texts in use (setRecordingTexts).
QCommandLineOption option();
// `--csv-style plain|sheet`: plain (commas, decimal point) unless asked.
QCommandLineOption styleOption();

// The text table in the language the user last chose in the window, for
// what the program prints without one; empty when it cannot be loaded.
std::optional<LanguageTable> chosenLanguageTexts();

// Whether the command line asks for the export; looked at before any
// application object exists, so the window's is never created for it.
bool asked(int argc, char **argv);

// Parses `arguments` with `parser` (which holds option()), exports, and
// returns the exit code: 0 done, 1 with the message on stderr. Needs a
// QCoreApplication; the messages speak the texts in use (setRecordingTexts).
int run(QCommandLineParser &parser, const QStringList &arguments);

} // namespace CommandLineExport
