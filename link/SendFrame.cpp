#include "link/SendFrame.h"

#include "link/CommandFrame.h"
#include "link/FrameWriter.h"
#include "link/WireCodec.h"

QByteArray lineBytesOf(const QByteArray &frame)
{
    QByteArray line;
    line.reserve(frame.size() + 1);
    line.append(char(CommandFrame::Lead));
    line.append(WireCodec::encodeSend(frame));
    return line;
}

void SendFrame(FrameWriter &writer, const QByteArray &frame)
{
    using namespace SendFrameRules;
    const QByteArray line = lineBytesOf(frame);
    if (line.size() <= PieceSize) {
        writer.write(line);
        return;
    }
    const qsizetype fullPieces = line.size() / PieceSize;
    for (qsizetype i = 0; i < fullPieces; ++i) {
        writer.write(line.mid(i * PieceSize, PieceSize));
        writer.pause(PauseMs);
    }
    const qsizetype rest = line.size() - fullPieces * PieceSize;
    if (rest > 0)
        writer.write(line.right(rest));
}
