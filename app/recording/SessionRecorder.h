#pragma once

#include "link/FrameWriter.h"
#include "record/Recording.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

// Where a recording's records go: the recording file in the program, a list
// in the tests (which can also make it fail like a full disk).
class RecordSink
{
public:
    virtual ~RecordSink() = default;
    virtual bool open(const QString &path, const QString &portName, const QDateTime &startedUtc) = 0;
    virtual void append(RecordKind kind, qint64 ms, const QByteArray &bytes) = 0;
    virtual void close() = 0;
    virtual bool failed() const = 0;
    // Why open() or append() failed, naming the file.
    virtual QString errorText() const = 0;
};

// Keeps a recording of the session as it goes over the line: each command as
// written, each finished answer as handed to the displays, stamped with the
// milliseconds since the recording began on a clock that never goes back.
//
// It only listens: the window hands it what passes (RecordingFrameWriter for
// commands, the link view's answer tap for answers), and nothing here can
// hold up or fail the link. A failed write (a full disk) ends the recording,
// keeps the file as far as it got and reports it once.
class SessionRecorder
{
public:
    using SinkFactory = std::function<std::unique_ptr<RecordSink>()>;
    // Monotonic milliseconds; only differences count.
    using Clock = std::function<qint64()>;
    using Failure = std::function<void(const QString &path, const QString &reason)>;
    using Changed = std::function<void()>;

    // Without a factory or a clock: the recording file and a QElapsedTimer.
    explicit SessionRecorder(SinkFactory sinks = {}, Clock clock = {});
    ~SessionRecorder();

    // Starts a recording into `path`. `storedSettings` is the settings block
    // the session holds: when it is not empty (the link is already up) it is
    // the file's first record, so the file says what it was recorded with.
    // False, with lastError() naming the file, when the file cannot be made.
    bool start(const QString &path, const QString &portName, const QByteArray &storedSettings);
    // Closes the file; everything appended so far stays.
    void stop();
    // The next connect starts a recording into `path` (`zenu --record`): the
    // first command written, which is the handshake, opens it.
    void armForNextConnect(const QString &path);

    bool recording() const { return bool(m_sink); }
    bool armed() const { return !m_armedPath.isEmpty(); }
    // The file being recorded, or the last one.
    QString path() const { return m_path; }
    QString lastError() const { return m_lastError; }
    // Milliseconds since the recording began; 0 when none runs.
    qint64 elapsedMs() const;

    // Where the port name of an armed start comes from.
    void setPortName(std::function<QString()> portName) { m_portName = std::move(portName); }
    void setFailureHandler(Failure failure) { m_failure = std::move(failure); }
    // Started or stopped, for whatever shows it.
    void setChangedHook(Changed changed) { m_changed = std::move(changed); }

    // --- what passes
    void commandWritten(const QByteArray &lineBytes);
    void answerApplied(RecordKind kind, const QByteArray &bytes);
    // The disconnect sequence begins: the recording ends with the link.
    void linkEnded();

    // The file name of a recording begun at `localTime`, e.g.
    // "ZENU-2026-12-10_08-15-30.zrec".
    static QString fileNameFor(const QDateTime &localTime);
    // The "ZENU recordings" folder in the user's documents (not created here).
    static QString defaultFolder();

private:
    void append(RecordKind kind, const QByteArray &bytes);
    void changed();

    SinkFactory m_makeSink;
    Clock m_clock;
    std::unique_ptr<RecordSink> m_sink;
    qint64 m_startMs = 0;
    QString m_path;
    QString m_armedPath;
    QString m_lastError;
    std::function<QString()> m_portName;
    Failure m_failure;
    Changed m_changed;
};

// The line's writer with the recorder listening: each write is handed on
// first and then recorded as one Command record, exactly the bytes written
// (the raw lead and the coded frame). A frame longer than the controller's
// 80-byte piece goes out, and is recorded, as several pieces in order; the
// pauses between them are not recorded.
class RecordingFrameWriter : public FrameWriter
{
public:
    RecordingFrameWriter(FrameWriter &line, SessionRecorder &recorder) : m_line(line), m_recorder(recorder) {}

    void write(const QByteArray &bytes) override;
    void pause(int milliseconds) override { m_line.pause(milliseconds); }
    // Hears every write after the recorder (the live chart's fuel requests).
    void setCommandTap(std::function<void(const QByteArray &)> tap) { m_tap = std::move(tap); }

private:
    FrameWriter &m_line;
    SessionRecorder &m_recorder;
    std::function<void(const QByteArray &)> m_tap;
};
