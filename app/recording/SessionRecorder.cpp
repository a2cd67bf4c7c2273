#include "app/recording/SessionRecorder.h"

#include "record/RecordingWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>

namespace {

class FileSink : public RecordSink
{
public:
    bool open(const QString &path, const QString &portName, const QDateTime &startedUtc) override
    {
        return m_writer.open(path, portName, startedUtc);
    }
    void append(RecordKind kind, qint64 ms, const QByteArray &bytes) override { m_writer.append(kind, ms, bytes); }
    void close() override { m_writer.close(); }
    bool failed() const override { return m_writer.failed(); }
    QString errorText() const override { return m_writer.errorText(); }

private:
    RecordingWriter m_writer;
};

qint64 monotonicMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

} // namespace

SessionRecorder::SessionRecorder(SinkFactory sinks, Clock clock)
    : m_makeSink(std::move(sinks)), m_clock(std::move(clock))
{
    if (!m_makeSink)
        m_makeSink = [] { return std::make_unique<FileSink>(); };
    if (!m_clock)
        m_clock = monotonicMs;
}

SessionRecorder::~SessionRecorder()
{
    if (m_sink)
        m_sink->close();
}

bool SessionRecorder::start(const QString &path, const QString &portName, const QByteArray &storedSettings)
{
    stop();
    m_armedPath.clear();
    std::unique_ptr<RecordSink> sink = m_makeSink();
    if (!sink->open(path, portName, QDateTime::currentDateTimeUtc())) {
        m_lastError = sink->errorText();
        changed();
        return false;
    }
    m_lastError.clear();
    m_path = path;
    m_sink = std::move(sink);
    m_startMs = m_clock();
    if (!storedSettings.isEmpty())
        append(RecordKind::Settings, storedSettings);
    changed();
    return recording();
}

void SessionRecorder::stop()
{
    if (!m_sink)
        return;
    m_sink->close();
    m_sink.reset();
    changed();
}

void SessionRecorder::armForNextConnect(const QString &path)
{
    m_armedPath = path;
    changed();
}

qint64 SessionRecorder::elapsedMs() const
{
    return m_sink ? m_clock() - m_startMs : 0;
}

void SessionRecorder::commandWritten(const QByteArray &lineBytes)
{
    if (!m_sink && armed()) {
        const QString path = m_armedPath;
        if (!start(path, m_portName ? m_portName() : QString(), {}) && m_failure)
            m_failure(path, m_lastError);
    }
    append(RecordKind::Command, lineBytes);
}

void SessionRecorder::answerApplied(RecordKind kind, const QByteArray &bytes)
{
    append(kind, bytes);
}

void SessionRecorder::linkEnded()
{
    stop();
}

void SessionRecorder::append(RecordKind kind, const QByteArray &bytes)
{
    if (!m_sink)
        return;
    m_sink->append(kind, m_clock() - m_startMs, bytes);
    if (!m_sink->failed())
        return;
    // Closed by the writer itself; what reached the disk stays a readable
    // recording up to the last whole record.
    m_lastError = m_sink->errorText();
    m_sink->close();
    m_sink.reset();
    changed();
    if (m_failure)
        m_failure(m_path, m_lastError);
}

void SessionRecorder::changed()
{
    if (m_changed)
        m_changed();
}

QString SessionRecorder::fileNameFor(const QDateTime &localTime)
{
    return QStringLiteral("ZENU-%1.zrec").arg(localTime.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")));
}

QString SessionRecorder::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath(QStringLiteral("ZENU recordings"));
}

void RecordingFrameWriter::write(const QByteArray &bytes)
{
    // A write that fails throws to the session before anything is recorded:
    // the log holds what went out, not what was meant to.
    m_line.write(bytes);
    m_recorder.commandWritten(bytes);
    if (m_tap)
        m_tap(bytes);
}
