#pragma once

class QCommandLineParser;

// Every option the program takes, described in the texts in use: the window's
// file, recording and replay, and the commands that need no window (the CSV
// export, the chart as a picture, the settings comparison). One list for the
// program's entry, its help and its manual page.
namespace ProgramOptions {

void add(QCommandLineParser &parser);

} // namespace ProgramOptions
