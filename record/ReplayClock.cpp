#include "record/ReplayClock.h"

#include <algorithm>
#include <cmath>

double replayFactor(ReplaySpeed speed)
{
    switch (speed) {
    case ReplaySpeed::Half:
        return 0.5;
    case ReplaySpeed::Normal:
        return 1.0;
    case ReplaySpeed::Four:
        return 4.0;
    case ReplaySpeed::Sixteen:
        return 16.0;
    }
    return 1.0;
}

ReplayClock::ReplayClock(QVector<RecordEntry> entries, ReplayTimer &timer)
    : m_entries(std::move(entries)), m_timer(timer)
{
    // The writer stamps in order; a file edited by hand might not be, and a
    // stable sort keeps equal times in the file's order.
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const RecordEntry &a, const RecordEntry &b) { return a.ms < b.ms; });
}

qint64 ReplayClock::duration() const
{
    return m_entries.isEmpty() ? 0 : std::max<qint64>(0, m_entries.constLast().ms);
}

qint64 ReplayClock::position() const
{
    if (!m_playing)
        return m_position;
    const qint64 wall = m_timer.nowMs() - m_anchorWall;
    const auto advanced = qint64(std::floor(double(wall) * replayFactor(m_speed)));
    return std::min(duration(), m_position + std::max<qint64>(0, advanced));
}

void ReplayClock::restartAnchor()
{
    m_position = position();
    m_anchorWall = m_timer.nowMs();
}

void ReplayClock::play()
{
    if (m_playing)
        return;
    if (atEnd()) {
        // Played through: again from the start, which rebuilds everything
        // as it goes.
        m_position = 0;
        m_next = 0;
    }
    m_anchorWall = m_timer.nowMs();
    m_playing = true;
    wake();
}

void ReplayClock::pause()
{
    if (!m_playing)
        return;
    m_position = position();
    m_playing = false;
    m_timer.cancel();
    if (m_progress)
        m_progress();
}

void ReplayClock::setSpeed(ReplaySpeed speed)
{
    if (speed == m_speed)
        return;
    if (m_playing) {
        restartAnchor();
        m_speed = speed;
        wake();
    } else {
        m_speed = speed;
    }
}

void ReplayClock::seek(qint64 ms)
{
    const qint64 target = std::clamp<qint64>(ms, 0, duration());
    const auto after = std::upper_bound(m_entries.cbegin(), m_entries.cend(), target,
                                        [](qint64 t, const RecordEntry &e) { return t < e.ms; });
    m_next = after - m_entries.cbegin();
    m_position = target;
    m_anchorWall = m_timer.nowMs();
    if (m_rebuild)
        m_rebuild(catchUp(m_entries, m_next, CatchUpAnswers));
    if (m_playing)
        wake();
    else if (m_progress)
        m_progress();
}

void ReplayClock::wake()
{
    if (!m_playing)
        return;
    const qint64 now = position();
    // The index moves before the sink runs, so a sink that pauses or seeks
    // finds the clock already past this entry.
    while (m_playing && m_next < m_entries.size() && m_entries[m_next].ms <= now) {
        const RecordEntry &entry = m_entries[m_next++];
        if (m_sink)
            m_sink(entry);
    }
    if (!m_playing)
        return;
    if (m_next >= m_entries.size()) {
        m_position = duration();
        m_playing = false;
        m_timer.cancel();
        if (m_progress)
            m_progress();
        if (m_ended)
            m_ended();
        return;
    }
    const double due = double(m_entries[m_next].ms - now) / replayFactor(m_speed);
    m_timer.wakeIn(std::clamp(int(std::ceil(due)), 1, MaxWakeMs));
    if (m_progress)
        m_progress();
}

QVector<RecordEntry> ReplayClock::catchUp(const QVector<RecordEntry> &entries, qsizetype end, int maxAnswers)
{
    end = std::clamp<qsizetype>(end, 0, entries.size());
    qsizetype settings = -1;
    QVector<qsizetype> answers;
    for (qsizetype i = end - 1; i >= 0; --i) {
        const RecordKind kind = entries[i].kind;
        if (kind == RecordKind::Answer && answers.size() < maxAnswers)
            answers.append(i);
        else if (kind == RecordKind::Settings && settings < 0)
            settings = i;
        if (settings >= 0 && answers.size() >= maxAnswers)
            break;
    }
    if (settings >= 0)
        answers.append(settings);
    std::sort(answers.begin(), answers.end());
    QVector<RecordEntry> out;
    out.reserve(answers.size());
    for (qsizetype i : answers)
        out.append(entries[i]);
    return out;
}
