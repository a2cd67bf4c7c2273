#include "sim/LineFaults.h"

#include "link/CommandFrame.h"
#include "link/WireCodec.h"

#include <QStringList>

void LineFaults::clear()
{
    const int pieceBytes = m_config.pieceBytes;
    const int piecePause = m_config.piecePauseUs;
    m_config = Config{};
    m_config.pieceBytes = pieceBytes;
    m_config.piecePauseUs = piecePause;
}

QString LineFaults::describe() const
{
    QStringList f;
    if (m_config.silent)
        f << QStringLiteral("silent");
    if (m_config.firmware)
        f << QStringLiteral("firmware %1.%2.%3").arg((*m_config.firmware)[0]).arg((*m_config.firmware)[1]).arg((*m_config.firmware)[2]);
    if (m_config.wrongEcho)
        f << QStringLiteral("wrong-echo");
    if (m_config.dropEvery > 0)
        f << QStringLiteral("drop %1").arg(m_config.dropEvery);
    if (m_config.chunkBytes > 0)
        f << QStringLiteral("chunks %1 %2").arg(m_config.chunkBytes).arg(m_config.chunkPauseMs);
    if (m_config.noiseBytes > 0)
        f << QStringLiteral("noise %1").arg(m_config.noiseBytes);
    return f.isEmpty() ? QStringLiteral("none") : f.join(QStringLiteral(", "));
}

std::optional<Transmission> LineFaults::shape(QByteArray plain, bool settingsAnswer, bool queued)
{
    if (m_config.silent || plain.size() < 4)
        return std::nullopt;
    ++m_seen;
    if (m_config.dropEvery > 0 && m_seen % m_config.dropEvery == 0)
        return std::nullopt;

    bool touched = false;
    if (settingsAnswer && m_config.firmware && plain.size() > 6) {
        for (int i = 0; i < 3; ++i)
            plain[4 + i] = char((*m_config.firmware)[i]);
        touched = true;
    }
    if (queued && m_config.wrongEcho) {
        plain[3] = char(uint8_t(plain[3]) ^ 0xFF);
        touched = true;
    }
    if (touched)
        plain[plain.size() - 1] = char(CommandFrame::checksum(plain.left(plain.size() - 1)));

    QByteArray line;
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < m_config.noiseBytes; ++i)
        line.append(char(byte(m_rng)));
    line += WireCodec::encodeReply(plain);

    Transmission t;
    t.plain = plain;
    const bool chunked = m_config.chunkBytes > 0;
    const int size = chunked ? m_config.chunkBytes : m_config.pieceBytes;
    const qint64 pause = chunked ? qint64(m_config.chunkPauseMs) * 1000 : m_config.piecePauseUs;
    if (size <= 0) {
        t.pieces.append({line, 0});
    } else {
        for (qsizetype at = 0; at < line.size(); at += size)
            t.pieces.append({line.mid(at, size), pause});
        t.pieces.last().pauseAfterUs = 0;
    }
    return t;
}
