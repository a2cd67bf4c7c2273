#pragma once

#include "record/Recording.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

// A recording as a table: one row per decodable live answer, its time in
// seconds and every decoded value in engineering units, comma-separated with
// a decimal point and a header row of the column names.
class CsvExport
{
public:
    static QStringList columnNames();
    // Rows written; -1 on a write error (then *error says why).
    static qint64 write(const Recording &recording, QIODevice &out, QString *error);
    // Reads `recordingPath` and writes `csvPath`; false and *error (a
    // message naming the file) when either fails.
    static bool exportFile(const QString &recordingPath, const QString &csvPath, QString *error);

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
    static Outcome exportRecording(const QString &recordingPath, const QString &csvPath);
};
