#pragma once

#include <QList>
#include <QtGlobal>

// Line errors (garbled answers, wrong echoes, time-outs, port failures) seen
// while a link rides them out, counted over a sliding minute: the window shows
// the count while it is above zero, so the note goes away by itself after a
// minute without errors.
class LineQuality
{
public:
    static constexpr qint64 WindowMs = 60000;

    void errorAt(qint64 nowMs);
    // Errors seen in the minute up to `nowMs` (an error exactly a minute old
    // no longer counts).
    int errorsInLastMinute(qint64 nowMs);
    void clear() { m_errors.clear(); }

private:
    QList<qint64> m_errors; // times, oldest first
};
