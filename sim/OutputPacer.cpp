#include "sim/OutputPacer.h"

#include <algorithm>

void OutputPacer::enqueue(Transmission t, qint64 nowUs)
{
    if (t.pieces.isEmpty())
        return;
    if (m_queue.isEmpty())
        m_notBefore = std::max(m_notBefore, nowUs);
    m_queue.append(std::move(t));
}

qsizetype OutputPacer::carried(qint64 nowUs) const
{
    const qsizetype left = m_queue.first().pieces[m_piece].bytes.size() - m_offset;
    return std::min<qsizetype>(left, 1 + (nowUs - m_notBefore) / ByteUs);
}

QByteArray OutputPacer::pending(qint64 nowUs) const
{
    if (m_queue.isEmpty() || nowUs < m_notBefore)
        return {};
    const QByteArray &piece = m_queue.first().pieces[m_piece].bytes;
    qsizetype count = piece.size() - m_offset;
    if (m_paced) {
        const qsizetype ready = carried(nowUs);
        // The adapter holds what it has until its packet is full, its
        // latency timer runs out, or the line has gone quiet after the piece.
        const bool send = ready == count || ready >= PacketBytes || nowUs >= m_notBefore + PacketUs;
        if (!send)
            return {};
        count = std::min<qsizetype>(ready, PacketBytes);
    }
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
    if (m_paced) // after a late wake the line is taken to have been idle, less a packet and a little
        m_notBefore = std::max(m_notBefore, nowUs - PacketUs - MaxBurst * ByteUs) + count * ByteUs;
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
    if (!m_paced)
        return std::max(nowUs, m_notBefore);
    // The first of: the latency timer, a full packet, the piece's last byte.
    const qsizetype left = m_queue.first().pieces[m_piece].bytes.size() - m_offset;
    const qsizetype packet = std::min<qsizetype>(left, PacketBytes);
    return std::max(nowUs, std::min(m_notBefore + PacketUs, m_notBefore + (packet - 1) * ByteUs));
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
