#include "record/RecordFormat.h"

#include <QtAlgorithms>

#include <array>

namespace RecordFormat {

namespace {

constexpr std::array<uint16_t, 256> makeCrc16Table()
{
    // CRC-16/CCITT: polynomial 0x1021, most significant bit first.
    std::array<uint16_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        uint16_t c = uint16_t(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 0x8000) ? uint16_t((c << 1) ^ 0x1021) : uint16_t(c << 1);
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint16_t, 256> Crc16Table = makeCrc16Table();

void putString(QByteArray &out, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    putVarint(out, quint64(utf8.size()));
    out.append(utf8);
}

} // namespace

VarintResult getVarint(const char *data, qsizetype size, qsizetype *pos, quint64 *value)
{
    quint64 result = 0;
    for (int i = 0; i < MaxVarintSize; ++i) {
        if (*pos >= size)
            return VarintResult::Ended;
        const uint8_t b = uint8_t(data[(*pos)++]);
        result |= quint64(b & 0x7F) << (7 * i);
        if (!(b & 0x80)) {
            *value = result;
            return VarintResult::Ok;
        }
    }
    return VarintResult::Broken;
}

uint8_t crc8(const char *data, qsizetype size)
{
    uint8_t c = 0xFF;
    for (qsizetype i = 0; i < size; ++i) {
        c ^= uint8_t(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 0x80) ? uint8_t((c << 1) ^ 0x07) : uint8_t(c << 1);
    }
    return c;
}

uint16_t crc16(const char *data, qsizetype size)
{
    uint16_t c = 0xFFFF;
    for (qsizetype i = 0; i < size; ++i)
        c = uint16_t((c << 8) ^ Crc16Table[((c >> 8) ^ uint8_t(data[i])) & 0xFF]);
    return c;
}

QByteArray header(const QDateTime &startedUtc, const QString &programVersion, const QString &portName)
{
    QByteArray fields;
    const qint64 ms = startedUtc.isValid() ? startedUtc.toMSecsSinceEpoch() : 0;
    for (int i = 0; i < 8; ++i)
        fields.append(char(uint8_t(quint64(ms) >> (8 * i))));
    putString(fields, programVersion);
    putString(fields, portName);

    QByteArray out(Magic, MagicSize);
    putLe16(out, uint16_t(Version));
    putLe16(out, uint16_t(fields.size() + 2));
    out.append(fields);
    putLe16(out, crc16(out.constData(), out.size()));
    return out;
}

QByteArray changes(const QByteArray &previous, const QByteArray &payload)
{
    const qsizetype n = payload.size();
    if (previous.size() != n || n == 0)
        return {};
    const qsizetype bitmapSize = (n + 7) / 8;
    const char *p = previous.constData();
    const char *q = payload.constData();
    qsizetype changed = 0;
    for (qsizetype i = 0; i < n; ++i)
        changed += p[i] != q[i];
    if (bitmapSize + changed >= n)
        return {};

    QByteArray out(bitmapSize + changed, '\0');
    char *bitmap = out.data();
    char *values = bitmap + bitmapSize;
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] != q[i]) {
            bitmap[i >> 3] = char(uint8_t(bitmap[i >> 3]) | (1u << (i & 7)));
            *values++ = q[i];
        }
    }
    return out;
}

bool applyChanges(const QByteArray &previous, const char *changes, qsizetype size, QByteArray *out)
{
    const qsizetype n = previous.size();
    const qsizetype bitmapSize = (n + 7) / 8;
    if (n == 0 || size < bitmapSize)
        return false;
    // Bits past the payload's end are never set by the writer.
    if (n % 8 && (uint8_t(changes[bitmapSize - 1]) >> (n % 8)))
        return false;
    qsizetype count = 0;
    for (qsizetype i = 0; i < bitmapSize; ++i)
        count += qPopulationCount(uint8_t(changes[i]));
    if (bitmapSize + count != size)
        return false;

    *out = previous;
    char *o = out->data();
    const char *values = changes + bitmapSize;
    for (qsizetype i = 0; i < n; ++i) {
        if (uint8_t(changes[i >> 3]) & (1u << (i & 7)))
            o[i] = *values++;
    }
    return true;
}

} // namespace RecordFormat
