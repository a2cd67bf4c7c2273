#include "link/WireCodec.h"

namespace {
template <typename F>
QByteArray mapBytes(const QByteArray &in, F f)
{
    QByteArray out(in.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < in.size(); ++i)
        out[i] = char(f(uint8_t(in[i])));
    return out;
}
} // namespace

QByteArray WireCodec::encodeSend(const QByteArray &plain)
{
    return mapBytes(plain, [](uint8_t b) { return encodeSend(b); });
}

void WireCodec::decodeReceiveInPlace(QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(decodeReceive(uint8_t(bytes[i])));
}

QByteArray WireCodec::encodeReply(const QByteArray &plain)
{
    return mapBytes(plain, [](uint8_t b) { return encodeReply(b); });
}

QByteArray WireCodec::decodeCommand(const QByteArray &line)
{
    return mapBytes(line, [](uint8_t w) { return decodeCommand(w); });
}
