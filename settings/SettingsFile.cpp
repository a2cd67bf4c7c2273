#include "settings/SettingsFile.h"

#include "settings/DataFile.h"
#include "settings/DataFileStore.h"
#include "settings/SettingsDecoder.h"

namespace SettingsFile {

namespace {

constexpr char Header = char(0xAA);
constexpr char ReadAllCode = 0x66;

} // namespace

Loaded fromBytes(const QByteArray &file)
{
    Loaded out;
    const DataFile::Decoded decoded = DataFile::decode(file);
    const int length = DataFile::FirstBlockOffset + int(decoded.fromOffset4.size()) + 1;
    if (!decoded.ok() || length < SettingsDecoder::MinimumBlockSize || length > 0xFFFF) {
        out.failure = Failure::NotSettings;
        return out;
    }
    out.block.reserve(length);
    out.block.append(Header);
    out.block.append(char(length >> 8));
    out.block.append(char(length & 0xFF));
    out.block.append(ReadAllCode);
    out.block.append(decoded.fromOffset4);
    out.block.append(char(decoded.key));
    return out;
}

Loaded load(const QString &path)
{
    const DataFileStore::ReadResult read = DataFileStore::read(path);
    if (!read.ok()) {
        Loaded out;
        out.failure = Failure::Unreadable;
        out.reason = read.error;
        return out;
    }
    return fromBytes(read.bytes);
}

} // namespace SettingsFile
