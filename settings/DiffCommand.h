#pragma once

#include <QString>
#include <QStringList>

class SettingTexts;

// `zenu --diff A.zen B.zen`: the settings two data files differ in, one line
// each, "name<TAB>value in A<TAB>value in B", the correction map as one line
// "<map><TAB><n> points differ<TAB>largest <d>". Nothing else goes to
// standard output, so a script can read it. No window, no display.
namespace DiffCommand {

enum ExitCode : int {
    Same = 0,
    Differ = 1,
    Failed = 2, // a file could not be read or is no settings file; the message is on stderr
};

struct Outcome
{
    int exitCode = Failed;
    QString out; // every line ends with '\n'
    QString err;
};

// Whether the command line asks for a comparison; looked at before any
// application object exists.
bool asked(int argc, char **argv);

// The two files named after "--diff" in `arguments` (the program's name
// first); empty unless there are exactly two.
QStringList files(const QStringList &arguments);

Outcome compareFiles(const QString &a, const QString &b, const SettingTexts &texts);

// The command as the program runs it: the texts in the language last chosen
// in the window, the system's decimal separator, the result printed.
// Returns the exit code.
int run(const QStringList &arguments);

} // namespace DiffCommand
