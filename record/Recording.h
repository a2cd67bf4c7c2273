#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

// A recording of one session with the controller: what went over the line,
// each item stamped with the milliseconds since the recording began.
enum class RecordKind : uint8_t {
    Settings = 1, // the settings block of the handshake (or a later read-all)
    Answer = 2,   // a finished answer, as handed to the live displays
    Command = 3,  // a command frame as written to the line
};

struct RecordEntry
{
    qint64 ms = 0;
    RecordKind kind = RecordKind::Answer;
    QByteArray bytes;
};

struct RecordingHeader
{
    int version = 0;
    QDateTime startedUtc;
    QString programVersion;
    QString portName;
};

struct Recording
{
    RecordingHeader header;
    QVector<RecordEntry> entries;
    // The file ended inside its last record (a crash or an unplugged adapter
    // while recording); every complete record before it is in `entries`.
    bool truncatedTail = false;
};

// Polling answers come three times a second; a longer silence between two
// of them than this is a lost link.
constexpr qint64 LinkGapMs = 2000;
// A stretch without answers: from the last answer before a lost link to the
// first one after it was made again.
struct LinkGap
{
    qint64 fromMs = 0;
    qint64 toMs = 0;
    bool operator==(const LinkGap &) const = default;
};
// The gaps between the answers of `entries` (in time order), in order.
QVector<LinkGap> linkGapsOf(const QVector<RecordEntry> &entries);
// The one of `gaps` (in order) that `ms` lies in, if any; the answers at its
// two ends do not.
std::optional<LinkGap> linkGapAt(const QVector<LinkGap> &gaps, qint64 ms);

// Why a file could not be read as a recording.
struct RecordingError
{
    enum class Code {
        None,
        CannotOpen,   // missing, unreadable
        NotARecording, // foreign file
        NewerVersion,  // written by a newer program
        Damaged,       // a record before the last one is broken
    };
    Code code = Code::None;
    QString detail; // the system's reason, the version found, the offset...
    // Damaged: the byte where the first broken record starts, or -1.
    qint64 offset = -1;
    // Damaged: the file ends before its header does (an empty file, a copy
    // broken off at its start).
    bool endsInHeader = false;
};

class LanguageTable;

// The message a user reads, in the current language, naming the file.
QString recordingErrorText(const QString &path, const RecordingError &error);
// The same in the current language of `texts`.
QString recordingErrorText(const QString &path, const RecordingError &error, const LanguageTable &texts);

// The table whose current language the record library's messages (the
// two-argument recordingErrorText, the writer's and the export's errors)
// are read from. The window hands over its own table, so a language switch
// is followed at once; nullptr (the start) means the built-in texts, Polish.
// The table must outlive its use here.
void setRecordingTexts(const LanguageTable *texts);
const LanguageTable *recordingTexts();
// One of the record library's texts (key `record.*`) from that table.
QString recordingText(QStringView key);
