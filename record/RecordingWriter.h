#pragma once

#include "record/Recording.h"

#include <QFile>
#include <QString>

// Appends records to a recording file as they happen. Each record reaches
// the operating system before append() returns, so a crash or an unplugged
// adapter loses at most the record being written. A failed write (a full
// disk) closes the file, keeps what was written and leaves failed() set.
class RecordingWriter
{
public:
    RecordingWriter() = default;
    ~RecordingWriter();

    // Creates (or replaces) the file and writes its header. On failure
    // returns false and errorText() says why, naming the file.
    bool open(const QString &path, const QString &portName, const QDateTime &startedUtc);
    bool isOpen() const;
    void append(RecordKind kind, qint64 ms, const QByteArray &bytes);
    void close();

    bool failed() const { return m_failed; }
    QString errorText() const { return m_error; }
    QString path() const { return m_file.fileName(); }
    qint64 bytesWritten() const { return m_written; }

private:
    QFile m_file;
    bool m_failed = false;
    QString m_error;
    qint64 m_written = 0;
};
