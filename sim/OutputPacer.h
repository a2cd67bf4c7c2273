#pragma once

#include "sim/Transmission.h"

#include <QList>

#include <optional>

// Meters answers onto the line. Unpaced, each piece goes out as soon as the
// pause after the previous one is over; paced, bytes go out no faster than a
// 7200-baud line carries them (10 bits a byte), handed over the way a USB
// serial adapter hands them to the computer: in packets, one when the
// adapter's latency timer runs out or its packet is full, and the rest of a
// piece as soon as its last byte is in. A byte never leaves before the line
// has carried it, so the average rate is the line's. The caller writes what
// pending() offers and reports back how much the line took, so a slow reader
// never holds anything else up.
class OutputPacer
{
public:
    static constexpr qint64 ByteUs = 1389;    // 10 bits at 7200 baud
    static constexpr qint64 PacketUs = 16000; // an adapter's usual latency timer
    static constexpr int PacketBytes = 62;    // the payload of one of its USB packets
    static constexpr int MaxBurst = 8;        // catch-up after a late wake, in bytes, beyond a packet

    void setPaced(bool paced) { m_paced = paced; }
    bool paced() const { return m_paced; }

    // An answer ready at nowUs; on an idle line its first byte starts then.
    void enqueue(Transmission t, qint64 nowUs);
    QByteArray pending(qint64 nowUs) const;
    void wrote(int count, qint64 nowUs);
    // When pending() will next offer something; nullopt when idle.
    std::optional<qint64> nextUs(qint64 nowUs) const;
    QList<Transmission> takeFinished();
    void clear();
    bool busy() const { return !m_queue.isEmpty(); }

private:
    // Bytes of the current piece the line has carried by nowUs.
    qsizetype carried(qint64 nowUs) const;

    QList<Transmission> m_queue;
    QList<Transmission> m_done;
    int m_piece = 0;
    int m_offset = 0;
    // When the next byte not yet handed over has been carried by the line.
    qint64 m_notBefore = 0;
    bool m_paced = false;
};
