// The wire codec and the frames: every coding round-trips, SendFrame's pieces
// are the frame's line bytes cut at 80, an answer header reads back its length.
#include "link/CommandFrame.h"
#include "link/FrameWriter.h"
#include "link/SendFrame.h"
#include "link/WireCodec.h"

#include <QByteArray>
#include <QList>

#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "codec invariant broken: %s\n", what);
    std::abort();
}

struct Pieces : FrameWriter
{
    QList<QByteArray> writes;
    int pausesBetween = 0;
    void write(const QByteArray &bytes) override { writes << bytes; }
    void pause(int ms) override
    {
        if (ms != SendFrameRules::PauseMs)
            fail("a pause of another length");
        ++pausesBetween;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // The controller's coding undone by the program's receive coding.
    QByteArray received = WireCodec::encodeReply(bytes);
    WireCodec::decodeReceiveInPlace(received);
    if (received != bytes)
        fail("decodeReceive(encodeReply(b)) != b");
    if (WireCodec::decodeCommand(WireCodec::encodeSend(bytes)) != bytes)
        fail("decodeCommand(encodeSend(b)) != b");

    // A frame of the input as body: valid, its body comes back.
    if (!bytes.isEmpty()) {
        const QByteArray frame = CommandFrame::frame(bytes);
        if (!CommandFrame::isValidFrame(frame) || CommandFrame::body(frame) != bytes)
            fail("frame/body do not round-trip");
        Pieces pieces;
        SendFrame(pieces, frame);
        const QByteArray line = lineBytesOf(frame);
        if (pieces.writes.join() != line)
            fail("the pieces do not make up the line bytes");
        for (int i = 0; i < pieces.writes.size(); ++i) {
            const qsizetype n = pieces.writes[i].size();
            if (n == 0 || n > SendFrameRules::PieceSize)
                fail("a piece is empty or longer than 80 bytes");
            if (i + 1 < pieces.writes.size() && n != SendFrameRules::PieceSize)
                fail("a piece before the last is short");
        }
        if (uint8_t(line[0]) != CommandFrame::Lead)
            fail("the line does not start with the raw lead");
    }

    // Any bytes as an answer header.
    const int length = CommandFrame::answerLength(bytes);
    if (bytes.size() < 3 ? length != -1 : length != uint8_t(bytes[1]) * 256 + uint8_t(bytes[2]))
        fail("answerLength does not read the header");
    return 0;
}
