#pragma once

#include "record/Recording.h"

#include <QVector>

#include <functional>

// What a replay needs from time: a monotonic clock and one single-shot
// wake-up. The window gives it a QTimer and a QElapsedTimer; tests give it a
// clock they move by hand.
class ReplayTimer
{
public:
    virtual ~ReplayTimer() = default;
    // Milliseconds of a clock that never goes back.
    virtual qint64 nowMs() const = 0;
    // Calls ReplayClock::wake() once, `ms` from now; replaces a pending wake.
    virtual void wakeIn(int ms) = 0;
    virtual void cancel() = 0;
};

enum class ReplaySpeed { Half, Normal, Four, Sixteen };
inline constexpr ReplaySpeed AllReplaySpeeds[] = {ReplaySpeed::Half, ReplaySpeed::Normal, ReplaySpeed::Four,
                                                  ReplaySpeed::Sixteen};
// Recording milliseconds per wall-clock millisecond.
double replayFactor(ReplaySpeed speed);

// Plays the entries of a recording against a clock: each entry is handed on
// when the replay position reaches its time, the position running at the
// chosen speed. It knows nothing of windows or displays.
//
// The entries handed on (or given back by a seek) are always exactly those at
// or before the position, in the file's order, so whatever is built from the
// stream ends up as it was at that moment of the recording.
class ReplayClock
{
public:
    using EntrySink = std::function<void(const RecordEntry &)>;
    // After a seek: the entries that rebuild the displays' state at the new
    // position, in the file's order.
    using Rebuild = std::function<void(const QVector<RecordEntry> &)>;
    using Notify = std::function<void()>;

    // A seek re-applies at most this many answers before the new position
    // (plus the last settings block): at 4 answers a second that is well
    // over a minute of the stream, enough to refill the learned curves
    // (three of 256 entries a frame) and the scope's trace, while a seek in
    // an hour-long recording stays quick.
    static constexpr int CatchUpAnswers = 400;
    // Longest sleep while playing, so the position shown keeps moving over a
    // gap in the recording.
    static constexpr int MaxWakeMs = 250;

    ReplayClock(QVector<RecordEntry> entries, ReplayTimer &timer);

    void setSink(EntrySink sink) { m_sink = std::move(sink); }
    void setRebuild(Rebuild rebuild) { m_rebuild = std::move(rebuild); }
    // After every move of the position (a wake, a seek).
    void setProgressHook(Notify hook) { m_progress = std::move(hook); }
    // The last entry has been handed on; the replay is paused at the end.
    void setEndedHook(Notify hook) { m_ended = std::move(hook); }

    const QVector<RecordEntry> &entries() const { return m_entries; }
    // The time of the last entry.
    qint64 duration() const;
    qint64 position() const;
    bool playing() const { return m_playing; }
    bool atEnd() const { return m_next >= m_entries.size() && position() >= duration(); }
    ReplaySpeed speed() const { return m_speed; }
    // How many entries have been handed on (or rebuilt) so far.
    int nextIndex() const { return int(m_next); }

    // At the end, play starts again from the beginning.
    void play();
    void pause();
    void setSpeed(ReplaySpeed speed);
    // Moves to `ms` (clamped to the recording), rebuilding the state there.
    void seek(qint64 ms);
    // The timer's wake-up: hands on what is due and sleeps until the next.
    void wake();

    // The entries that rebuild the state just after entry `end - 1`: the
    // last settings block before `end` and the last `maxAnswers` answers,
    // in the file's order. Commands change no display and are left out.
    static QVector<RecordEntry> catchUp(const QVector<RecordEntry> &entries, qsizetype end, int maxAnswers);

private:
    void restartAnchor();

    QVector<RecordEntry> m_entries;
    ReplayTimer &m_timer;
    EntrySink m_sink;
    Rebuild m_rebuild;
    Notify m_progress;
    Notify m_ended;

    ReplaySpeed m_speed = ReplaySpeed::Normal;
    bool m_playing = false;
    qsizetype m_next = 0;
    // Paused: the position. Playing: the position at m_anchorWall.
    qint64 m_position = 0;
    qint64 m_anchorWall = 0;
};
