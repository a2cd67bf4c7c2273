#pragma once

#include "sim/Transmission.h"

#include <QList>
#include <optional>

// Meters answers onto the line. Unpaced, each piece goes out as soon as the
// pause after the previous one is over; paced, bytes go out no faster than a
// 7200-baud line carries them (10 bits a byte). The caller writes what
// pending() offers and reports back how much the line took, so a slow reader
// never holds anything else up.
class OutputPacer
{
public:
    static constexpr qint64 ByteUs = 1389; // 10 bits at 7200 baud
    static constexpr int MaxBurst = 8;     // catch-up after a late wake, in bytes

    void setPaced(bool paced) { m_paced = paced; }
    bool paced() const { return m_paced; }

    void enqueue(Transmission t);
    QByteArray pending(qint64 nowUs) const;
    void wrote(int count, qint64 nowUs);
    // When pending() will next offer something; nullopt when idle.
    std::optional<qint64> nextUs(qint64 nowUs) const;
    QList<Transmission> takeFinished();
    void clear();
    bool busy() const { return !m_queue.isEmpty(); }

private:
    QList<Transmission> m_queue;
    QList<Transmission> m_done;
    int m_piece = 0;
    int m_offset = 0;
    qint64 m_notBefore = 0;
    bool m_paced = false;
};
