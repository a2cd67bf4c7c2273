#include "link/PacedWriter.h"

#include "link/ESerialPort.h"

#include <exception>

PacedWriter::PacedWriter(Sink sink, LineOpen lineOpen)
    : m_sink(std::move(sink)), m_lineOpen(std::move(lineOpen))
{
    m_timer.setSingleShot(true);
    // A coarse timer may add several milliseconds to each gap; a long frame
    // has up to seven of them.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { release(); });
}

void PacedWriter::write(const QByteArray &bytes)
{
    if (m_timer.isActive() || !m_pending.empty()) {
        m_pending.push_back(Piece{bytes, 0});
        return;
    }
    m_sink(bytes);
}

void PacedWriter::pause(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    if (!m_pending.empty()) {
        m_pending.back().pauseAfterMs += milliseconds;
        return;
    }
    // Nothing waits: the pause follows a piece already on the line.
    if (!m_timer.isActive())
        m_timer.start(milliseconds);
}

void PacedWriter::discard()
{
    m_timer.stop();
    m_pending.clear();
}

void PacedWriter::release()
{
    if (m_lineOpen && !m_lineOpen()) {
        m_pending.clear();
        return;
    }
    try {
        while (!m_pending.empty()) {
            const Piece piece = m_pending.front();
            m_pending.pop_front();
            m_sink(piece.bytes);
            if (piece.pauseAfterMs > 0) {
                m_timer.start(piece.pauseAfterMs);
                return;
            }
        }
    } catch (const ESerialPort &e) {
        m_pending.clear();
        if (m_failure)
            m_failure(e.message());
    } catch (const std::exception &e) {
        m_pending.clear();
        if (m_failure)
            m_failure(QString::fromUtf8(e.what()));
    }
}
