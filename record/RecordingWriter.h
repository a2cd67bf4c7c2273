#pragma once

#include "record/Recording.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <array>

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

    // The program version written into new files' headers (the build's own
    // version until set; tests set it to see it come back).
    void setProgramVersion(const QString &version) { m_programVersion = version; }

private:
    bool writeOut(const QByteArray &bytes);
    void fail(const QString &reason);

    QFile m_file;
    QString m_programVersion;
    QString m_reason; // the system's, kept past close()
    QByteArray m_record; // reused, so append() allocates nothing in the steady state
    qint64 m_lastMs = 0;
    // The last payload of each kind, which the next one is stored against.
    std::array<QByteArray, 4> m_previous;
    bool m_failed = false;
    QString m_error;
    qint64 m_written = 0;
};
