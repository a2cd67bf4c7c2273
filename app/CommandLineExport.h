#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

// `zenu --export-csv FILE.zrec OUT.csv`: a recording to a table without a
// window (no display needed, so it also runs in scripts and on a server).
namespace CommandLineExport {

QCommandLineOption option();

// Whether the command line asks for the export; looked at before any
// application object exists, so the window's is never created for it.
bool asked(int argc, char **argv);

// Parses `arguments` with `parser` (which holds option()), exports, and
// returns the exit code: 0 done, 1 with the message on stderr. Needs a
// QCoreApplication.
int run(QCommandLineParser &parser, const QStringList &arguments);

} // namespace CommandLineExport
