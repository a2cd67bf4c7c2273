#include "record/RecordingWriter.h"

#include "record/RecordFormat.h"

#include <QDir>

#ifndef ZENU_PROGRAM_VERSION
#define ZENU_PROGRAM_VERSION "?"
#endif

RecordingWriter::~RecordingWriter()
{
    close();
}

bool RecordingWriter::open(const QString &path, const QString &portName, const QDateTime &startedUtc)
{
    close();
    m_failed = false;
    m_error.clear();
    m_written = 0;
    m_lastMs = 0;
    for (QByteArray &previous : m_previous)
        previous.clear();
    if (m_programVersion.isEmpty())
        m_programVersion = QStringLiteral(ZENU_PROGRAM_VERSION);

    m_file.setFileName(path);
    // Unbuffered: each record goes to the operating system in one write as
    // append() is called, so a crash of the program loses nothing written.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        m_failed = true;
        m_error = recordingText(u"record.cannot_create").arg(QDir::toNativeSeparators(path), m_file.errorString());
        return false;
    }
    if (!writeOut(RecordFormat::header(startedUtc.toUTC(), m_programVersion, portName))) {
        m_error = recordingText(u"record.cannot_create").arg(QDir::toNativeSeparators(path), m_reason);
        return false;
    }
    return true;
}

bool RecordingWriter::isOpen() const
{
    return m_file.isOpen();
}

void RecordingWriter::append(RecordKind kind, qint64 ms, const QByteArray &bytes)
{
    // A reader takes a longer record for a broken one; nothing the link
    // hands over comes near the limit.
    if (!m_file.isOpen() || quint64(bytes.size()) > RecordFormat::MaxPayload)
        return;
    const int k = int(kind) & RecordFormat::KindMask;
    QByteArray &previous = m_previous[size_t(k) % m_previous.size()];
    const QByteArray changed = RecordFormat::changes(previous, bytes);
    const QByteArray &payload = changed.isEmpty() ? bytes : changed;

    m_record.clear();
    m_record.append(char(k | (changed.isEmpty() ? 0 : RecordFormat::ChangedFlag)));
    RecordFormat::putVarint(m_record, RecordFormat::zigzag(ms - m_lastMs));
    RecordFormat::putVarint(m_record, quint64(payload.size()));
    m_record.append(char(RecordFormat::crc8(m_record.constData(), m_record.size())));
    m_record.append(payload);
    RecordFormat::putLe16(m_record, RecordFormat::crc16(m_record.constData(), m_record.size()));

    if (writeOut(m_record)) {
        m_lastMs = ms;
        previous = bytes;
    }
}

void RecordingWriter::close()
{
    if (m_file.isOpen())
        m_file.close();
}

bool RecordingWriter::writeOut(const QByteArray &bytes)
{
    const qint64 n = m_file.write(bytes);
    if (n > 0)
        m_written += n;
    if (n != bytes.size() || !m_file.flush()) {
        fail(m_file.errorString());
        return false;
    }
    return true;
}

void RecordingWriter::fail(const QString &reason)
{
    // What reached the file stays there: a reader takes every whole record
    // and drops the one cut short.
    m_failed = true;
    m_reason = reason;
    m_error = recordingText(u"record.write_failed").arg(QDir::toNativeSeparators(m_file.fileName()), reason);
    m_file.close();
}
