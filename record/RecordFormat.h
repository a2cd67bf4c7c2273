#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>

// The byte layout of a .zrec file (docs/recording.md), shared by the writer
// and the reader so the two cannot drift apart.
namespace RecordFormat {

// "\x89ZREC\r\n\x1A": the high byte and the line ends show at once when a
// file went through a text-mode copy or a 7-bit channel.
inline constexpr char Magic[] = {'\x89', 'Z', 'R', 'E', 'C', '\r', '\n', '\x1A'};
inline constexpr int MagicSize = int(sizeof(Magic));
inline constexpr int Version = 1;
// Magic, version (2 bytes) and header length (2 bytes).
inline constexpr int FixedHeaderSize = MagicSize + 4;

// Set in a record's kind byte when its payload is stored as the bytes that
// changed since the previous record of the same kind.
inline constexpr uint8_t ChangedFlag = 0x80;
inline constexpr uint8_t KindMask = 0x7F;
// Nothing the controller sends comes near this; a larger length means the
// record's head is broken.
inline constexpr quint64 MaxPayload = 1u << 20;
// A varint of a 64-bit value never needs more than ten bytes.
inline constexpr int MaxVarintSize = 10;

inline void putVarint(QByteArray &out, quint64 value)
{
    while (value >= 0x80) {
        out.append(char(uint8_t(value) | 0x80));
        value >>= 7;
    }
    out.append(char(value));
}

enum class VarintResult { Ok, Ended, Broken };

// Reads a varint at *pos, moving *pos past it.
VarintResult getVarint(const char *data, qsizetype size, qsizetype *pos, quint64 *value);

inline quint64 zigzag(qint64 v)
{
    return (quint64(v) << 1) ^ quint64(v >> 63);
}

inline qint64 unzigzag(quint64 v)
{
    return qint64(v >> 1) ^ -qint64(v & 1);
}

// CRC-8 (polynomial 0x07, start 0xFF) of a record's head: a run of zero
// bytes does not pass.
uint8_t crc8(const char *data, qsizetype size);
// CRC-16 of a whole record or of the header.
uint16_t crc16(const char *data, qsizetype size);

inline void putLe16(QByteArray &out, uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

inline uint16_t le16(const char *p)
{
    return uint16_t(uint8_t(p[0]) | (uint8_t(p[1]) << 8));
}

QByteArray header(const QDateTime &startedUtc, const QString &programVersion, const QString &portName);

// `payload` as the bytes changed since `previous` (same length): a bitmap
// of changed offsets, then the new values. Empty when that is not shorter.
QByteArray changes(const QByteArray &previous, const QByteArray &payload);
// The inverse; false when `changes` does not fit `previous`.
bool applyChanges(const QByteArray &previous, const char *changes, qsizetype size, QByteArray *out);

} // namespace RecordFormat
