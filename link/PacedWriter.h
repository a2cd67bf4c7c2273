#pragma once

#include "link/FrameWriter.h"

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>

// A FrameWriter that never holds up the thread it runs on: a write with no
// pause pending goes to the line at once; a pause defers everything written
// after it to a single-shot timer, so the pieces of a long frame follow one
// another a millisecond apart while the window keeps handling its events.
// Pieces leave strictly in the order they were written and nothing written
// meanwhile overtakes a deferred piece.
//
// A deferred piece runs outside any handler, so its failure cannot be thrown
// to a caller: it goes to the failure handler, and the pieces still waiting
// are dropped (the line is gone). Pieces still waiting when the line is no
// longer open are dropped as well, never written to whatever opens next.
class PacedWriter : public FrameWriter
{
public:
    using Sink = std::function<void(const QByteArray &)>;
    using LineOpen = std::function<bool()>;
    using Failure = std::function<void(const QString &)>;

    PacedWriter(Sink sink, LineOpen lineOpen);

    void setFailureHandler(Failure failure) { m_failure = std::move(failure); }

    void write(const QByteArray &bytes) override;
    void pause(int milliseconds) override;

    // Pieces still waiting for their turn.
    int pendingPieces() const { return int(m_pending.size()); }
    // Drops whatever waits (the port was closed on purpose).
    void discard();

private:
    struct Piece {
        QByteArray bytes;
        int pauseAfterMs = 0;
    };

    void release();

    Sink m_sink;
    LineOpen m_lineOpen;
    Failure m_failure;
    QTimer m_timer;
    std::deque<Piece> m_pending;
};
