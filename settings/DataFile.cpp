#include "settings/DataFile.h"

#include "link/CommandBodies.h"

#include <QFileInfo>

#include <algorithm>
#include <stdexcept>

namespace DataFile {

namespace {

// The shift as the file format fixes it, including what happens to counts a
// 64-bit shift cannot take: 64..127 clear the value, 128..255 wrap to 0..31.
uint64_t shift(int64_t value, unsigned count, bool left)
{
    const uint64_t u = uint64_t(value);
    if (count >= 64 && count < 128)
        return 0;
    if (count >= 128)
        count %= 32;
    return left ? u << count : u >> count;
}

// ((base - b x index) OR index) in 32-bit signed arithmetic, sign-extended.
int64_t mixed(int32_t base, uint8_t b, int index)
{
    const uint32_t product = uint32_t(b) * uint32_t(index);
    const int32_t difference = int32_t(uint32_t(base) - product);
    return int64_t(difference | int32_t(index));
}

uint8_t mask(uint8_t key, int n)
{
    return uint8_t(key + FirstBlockOffset + 1 + n);
}

} // namespace

QByteArray Decoded::writeAllSettings() const
{
    if (fromOffset4.size() < BytesForWriteAll)
        return {};
    return fromOffset4.mid(WriteAllFirstOffset - FirstBlockOffset, WriteAllBytes);
}

uint8_t fillerByte(int index, uint8_t b)
{
    // Each later rule replaces what an earlier one gave.
    uint8_t f = uint8_t(index ^ 0x55);
    if (index % 5 == 0)
        f = uint8_t(shift(mixed(255, b, index), b, true));
    if (index % 6 == 0)
        f = uint8_t(shift(mixed(170, b, index), b, false));
    if (index % 9 == 0)
        f = uint8_t(shift(mixed(87, b, index), b, true));
    if (index % 7 == 0)
        f = uint8_t(shift(mixed(127, b, index), unsigned(index % 256), true));
    return f;
}

QByteArray encode(const QByteArray &block, int seconds)
{
    if (seconds < 0 || seconds > MaxSeconds)
        throw std::invalid_argument("data file seconds out of range");
    const int length = int(block.size());
    const uint8_t key = length > 0 ? uint8_t(block[length - 1]) : 0;
    const int pairs = std::max(0, length - FirstBlockOffset - 1);

    QByteArray file;
    file.reserve(FirstPairPosition + 2 * pairs);
    file.append(Magic, MagicSize);
    file.append(char(uint8_t(4 * seconds + 3)));
    file.append(char(uint8_t(key ^ uint8_t(seconds))));
    for (int n = 0; n < pairs; ++n) {
        const int index = FirstBlockOffset + 1 + n;
        const uint8_t b = uint8_t(block[index - 1]);
        file.append(char(fillerByte(index, b)));
        file.append(char(uint8_t(b ^ mask(key, n))));
    }
    return file;
}

Decoded decode(const QByteArray &file)
{
    Decoded out;
    if (file.size() < MagicSize || !file.startsWith(QByteArrayView(Magic, MagicSize))) {
        out.refusal = Refusal::BadHeader;
        return out;
    }
    if (file.size() < FirstPairPosition) {
        out.refusal = Refusal::TooShort;
        return out;
    }
    // A header byte that is not 4 x S + 3 still gives some S: round, halves
    // to even, and keep the low 8 bits for the key as a saved file would.
    const int s = int(CommandBodies::roundHalfEven((double(uint8_t(file[SecondsPosition])) - 3.0) / 4.0));
    out.seconds = s;
    out.key = uint8_t(uint8_t(file[KeyPosition]) ^ uint8_t(s));

    const int pairs = int(file.size() - FirstPairPosition) / 2;
    out.fromOffset4.resize(pairs);
    for (int n = 0; n < pairs; ++n)
        out.fromOffset4[n] = char(uint8_t(file[FirstPairPosition + 1 + 2 * n]) ^ mask(out.key, n));
    return out;
}

Decoded decodeForWriteAll(const QByteArray &file)
{
    Decoded out = decode(file);
    if (out.ok() && out.fromOffset4.size() < BytesForWriteAll)
        out.refusal = Refusal::TooShort;
    return out;
}

QString nameForSaving(const QString &chosen)
{
    if (chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty())
        return chosen;
    return chosen + QStringLiteral(".zen");
}

} // namespace DataFile
