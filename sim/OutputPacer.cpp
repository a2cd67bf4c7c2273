#include "sim/OutputPacer.h"

#include <algorithm>

void OutputPacer::enqueue(Transmission t)
{
    if (t.pieces.isEmpty())
        return;
    m_queue.append(std::move(t));
}

QByteArray OutputPacer::pending(qint64 nowUs) const
{
    if (m_queue.isEmpty() || nowUs < m_notBefore)
        return {};
    const QByteArray &piece = m_queue.first().pieces[m_piece].bytes;
    qsizetype count = piece.size() - m_offset;
    if (m_paced)
        count = std::min<qsizetype>(count, std::min<qint64>(MaxBurst, 1 + (nowUs - m_notBefore) / ByteUs));
    return piece.mid(m_offset, count);
}

void OutputPacer::wrote(int count, qint64 nowUs)
{
    if (m_queue.isEmpty() || count <= 0)
        return;
    Transmission &t = m_queue.first();
    if (t.firstUs < 0)
        t.firstUs = nowUs;
    m_offset += count;
    if (m_paced)
        m_notBefore = std::max(m_notBefore, nowUs - MaxBurst * ByteUs) + count * ByteUs;
    const Transmission::Piece &piece = t.pieces[m_piece];
    if (m_offset < piece.bytes.size())
        return;
    m_offset = 0;
    m_notBefore = std::max(m_paced ? m_notBefore : nowUs, nowUs) + piece.pauseAfterUs;
    if (++m_piece < t.pieces.size())
        return;
    t.lastUs = nowUs;
    m_done.append(std::move(t));
    m_queue.removeFirst();
    m_piece = 0;
}

std::optional<qint64> OutputPacer::nextUs(qint64 nowUs) const
{
    if (m_queue.isEmpty())
        return std::nullopt;
    return std::max(nowUs, m_notBefore);
}

QList<Transmission> OutputPacer::takeFinished()
{
    QList<Transmission> out;
    out.swap(m_done);
    return out;
}

void OutputPacer::clear()
{
    m_queue.clear();
    m_piece = 0;
    m_offset = 0;
}
