#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

class LanguageTable;
class QCommandLineParser;
class TZENU;

// `zenu FILE`: the file the desktop's file manager hands the program (the
// menu entry runs `zenu %f`) or the user names in a terminal. A recording is
// replayed as with --replay, a settings file is shown, and anything else is
// refused with a message instead of a silent empty window.
namespace FileArgument {

enum class Kind {
    Recording,    // .zrec
    SettingsFile, // .zen
    Unknown,      // neither
};

// The file's first bytes decide; a name ending in .zrec or .zen (any case)
// decides only when they say nothing, so a renamed file still opens as what
// it is, and a damaged one still reaches the reader that says what is wrong.
Kind kindOf(QStringView fileName, QByteArrayView head);

// How many first bytes kindOf() needs to see.
inline constexpr int HeadSize = 16;

// What the window does with each kind; the dispatch itself needs no window.
struct Actions
{
    std::function<void(const QString &path)> replay;
    std::function<void(const QString &path)> viewSettings;
    std::function<void(const QString &text)> tell;
};

// Reads the head of the one file in `files` and hands it to its action; tells
// the user when there are several files, when the file cannot be read or when
// it is neither kind. Nothing for an empty list. `texts` may be null (keys).
void open(const QStringList &files, const Actions &actions, const LanguageTable *texts);

// The positional FILE in the help text.
void add(QCommandLineParser &parser);

// Once the window stands: opens the file named on the command line as soon
// as the event loop runs, so a refusal is shown in a box over the window.
void apply(const QCommandLineParser &parser, TZENU &window);

} // namespace FileArgument
