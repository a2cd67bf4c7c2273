#pragma once

#include <QByteArray>
#include <cstdint>

// The per-byte scrambling used on the controller's serial line.
//
// Every byte the program sends (except the raw 0xCC lead) goes through
// encodeSend(); every byte it receives goes through decodeReceive() before
// anything looks at it. The two codings use complementary masks, so they are
// not each other's inverse: decodeReceive(encodeSend(b)) == b ^ 0x01. The
// controller sends a byte b as encodeSend(b) ^ 0xFF, which decodeReceive()
// turns back into b.
class WireCodec
{
public:
    static constexpr uint8_t SendMask = 0x93;
    static constexpr uint8_t ReceiveMask = 0x6C;

    // The mask-free steps, exposed for the known-answer tests.
    static constexpr uint8_t rotateLeft(uint8_t b) { return uint8_t((b << 1) | (b >> 7)); }
    static constexpr uint8_t rotateRight(uint8_t b) { return uint8_t((b >> 1) | (b << 7)); }
    static constexpr uint8_t swapNibbles(uint8_t b) { return uint8_t((b << 4) | (b >> 4)); }
    // Inverts every bit but bit 1 when bit 1 is clear; undoes itself.
    static constexpr uint8_t foldBit1(uint8_t b) { return (b & 0x02) ? b : uint8_t(~b & 0xFD); }

    static constexpr uint8_t sendSteps(uint8_t b) { return swapNibbles(foldBit1(rotateLeft(b))); }
    static constexpr uint8_t receiveSteps(uint8_t x) { return rotateRight(foldBit1(swapNibbles(x))); }

    static constexpr uint8_t encodeSend(uint8_t b) { return uint8_t(sendSteps(b) ^ SendMask); }
    static constexpr uint8_t decodeReceive(uint8_t w) { return receiveSteps(uint8_t(w ^ ReceiveMask)); }

    // What a controller puts on the line for a plain byte b.
    static constexpr uint8_t encodeReply(uint8_t b) { return uint8_t(encodeSend(b) ^ 0xFF); }
    // What a controller reads back from a byte the program sent.
    static constexpr uint8_t decodeCommand(uint8_t w) { return rotateRight(foldBit1(swapNibbles(uint8_t(w ^ SendMask)))); }

    static QByteArray encodeSend(const QByteArray &plain);
    static void decodeReceiveInPlace(QByteArray &bytes);
    static QByteArray encodeReply(const QByteArray &plain);
    static QByteArray decodeCommand(const QByteArray &line);
};
