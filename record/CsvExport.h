#pragma once

#include "record/Recording.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <optional>

// A recording as a table: one row per decodable live answer, its time in
// seconds and every decoded value in engineering units, with a header row of
// the column names.
//
// Two styles. Plain, the default, is for tools: comma-separated with a
// decimal point, whatever the language. Sheet is for a spreadsheet opened
// with a double click where the decimal separator is a comma (Polish,
// German, Czech): semicolons between the cells, decimal commas, a UTF-8 byte
// order mark, and beside the raw fault bytes a column with the current faults
// in words, in the program's language.
class CsvExport
{
public:
    enum class Style { Plain, Sheet };
    // "plain" or "sheet", as the command line names them.
    static std::optional<Style> styleNamed(QStringView name);

    static QStringList columnNames(Style style = Style::Plain);
    // Rows written; -1 on a write error (then *error says why).
    static qint64 write(const Recording &recording, QIODevice &out, QString *error, Style style = Style::Plain);
    // Reads `recordingPath` and writes `csvPath`; false and *error (a
    // message naming the file) when either fails.
    static bool exportFile(const QString &recordingPath, const QString &csvPath, QString *error,
                           Style style = Style::Plain);

    struct Outcome
    {
        bool ok = false;
        qint64 rows = 0;
        // The recording was cut inside its last record; the rest is exported.
        bool truncatedTail = false;
        QString error; // a message naming the file, when !ok
    };
    // exportFile, telling also how many rows and whether the recording was
    // cut short (worth a note to whoever exported it).
    static Outcome exportRecording(const QString &recordingPath, const QString &csvPath, Style style = Style::Plain);
};
