#include "record/RecordingReader.h"

#include "record/RecordFormat.h"

#include <QFile>

#include <array>
#include <cstring>

namespace {

using namespace RecordFormat;

bool fail(RecordingError *error, RecordingError::Code code, QString detail = {}, qint64 offset = -1,
          bool endsInHeader = false)
{
    if (error) {
        error->code = code;
        error->detail = std::move(detail);
        error->offset = offset;
        error->endsInHeader = endsInHeader;
    }
    return false;
}

bool damaged(RecordingError *error, qint64 offset)
{
    return fail(error, RecordingError::Code::Damaged, QString::number(offset), offset);
}

bool endsInHeader(RecordingError *error, qint64 size)
{
    return fail(error, RecordingError::Code::Damaged, QString::number(size), size, true);
}

bool readString(const char *data, qsizetype end, qsizetype *pos, QString *out)
{
    quint64 size = 0;
    if (getVarint(data, end, pos, &size) != VarintResult::Ok || size > quint64(end - *pos))
        return false;
    *out = QString::fromUtf8(data + *pos, qsizetype(size));
    *pos += qsizetype(size);
    return true;
}

// The header; on success *pos is where the first record starts.
bool readHeader(const QByteArray &bytes, RecordingHeader *header, qsizetype *pos, RecordingError *error)
{
    const char *data = bytes.constData();
    const qsizetype size = bytes.size();
    // A file shorter than the magic is ours only if it is the magic's start.
    if (size < MagicSize) {
        if (size > 0 && memcmp(data, Magic, size_t(size)) != 0)
            return fail(error, RecordingError::Code::NotARecording);
        return endsInHeader(error, size);
    }
    if (memcmp(data, Magic, MagicSize) != 0)
        return fail(error, RecordingError::Code::NotARecording);
    if (size < MagicSize + 2)
        return endsInHeader(error, size);
    // The version is judged before anything after it: a newer program may
    // have laid out the rest differently.
    const int version = le16(data + MagicSize);
    if (version > Version)
        return fail(error, RecordingError::Code::NewerVersion, QString::number(version));
    if (version < 1)
        return damaged(error, MagicSize);
    if (size < FixedHeaderSize)
        return endsInHeader(error, size);
    const qsizetype end = FixedHeaderSize + le16(data + MagicSize + 2);
    if (end > size)
        return endsInHeader(error, size);
    if (end < FixedHeaderSize + 8 + 2 || crc16(data, end - 2) != le16(data + end - 2))
        return damaged(error, 0);

    qsizetype p = FixedHeaderSize;
    quint64 startMs = 0;
    for (int i = 0; i < 8; ++i)
        startMs |= quint64(uint8_t(data[p + i])) << (8 * i);
    p += 8;
    header->version = version;
    header->startedUtc = QDateTime::fromMSecsSinceEpoch(qint64(startMs), Qt::UTC);
    if (!readString(data, end - 2, &p, &header->programVersion) || !readString(data, end - 2, &p, &header->portName))
        return damaged(error, 0);
    *pos = end;
    return true;
}

} // namespace

std::optional<Recording> RecordingReader::read(const QString &path, RecordingError *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, RecordingError::Code::CannotOpen, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        fail(error, RecordingError::Code::CannotOpen, file.errorString());
        return std::nullopt;
    }
    return parse(bytes, error);
}

std::optional<Recording> RecordingReader::parse(const QByteArray &fileBytes, RecordingError *error)
{
    if (error)
        *error = RecordingError{};
    Recording recording;
    qsizetype pos = 0;
    if (!readHeader(fileBytes, &recording.header, &pos, error))
        return std::nullopt;

    const char *data = fileBytes.constData();
    const qsizetype size = fileBytes.size();
    // An hour of polling is ~30 000 records of ~25 bytes.
    recording.entries.reserve(qsizetype((size - pos) / 24));
    std::array<QByteArray, 4> previous;
    qint64 ms = 0;

    while (pos < size) {
        const qsizetype start = pos;
        // A record that runs past the end of the file is the one being
        // written when recording stopped: every record before it is whole.
        auto cutShort = [&] {
            recording.truncatedTail = true;
            return std::optional<Recording>(std::move(recording));
        };
        const uint8_t kindByte = uint8_t(data[pos++]);
        quint64 delta = 0;
        quint64 length = 0;
        VarintResult r = getVarint(data, size, &pos, &delta);
        if (r == VarintResult::Ok)
            r = getVarint(data, size, &pos, &length);
        if (r == VarintResult::Ended || (r == VarintResult::Ok && pos >= size))
            return cutShort();
        if (r == VarintResult::Broken || uint8_t(data[pos]) != crc8(data + start, pos - start)) {
            damaged(error, start);
            return std::nullopt;
        }
        ++pos;
        const int kind = kindByte & KindMask;
        if (kind < int(RecordKind::Settings) || kind > int(RecordKind::Command) || length > MaxPayload) {
            damaged(error, start);
            return std::nullopt;
        }
        if (quint64(size - pos) < length + 2)
            return cutShort();
        const qsizetype payloadAt = pos;
        pos += qsizetype(length);
        const bool intact = crc16(data + start, pos - start) == le16(data + pos);
        pos += 2;
        if (!intact) {
            // Only the last record may be spoilt by a crash (the end of a
            // file can be left with what was on the disk before).
            if (pos == size)
                return cutShort();
            damaged(error, start);
            return std::nullopt;
        }

        RecordEntry entry;
        entry.kind = RecordKind(kind);
        ms += unzigzag(delta);
        entry.ms = ms;
        QByteArray &last = previous[size_t(kind)];
        if (kindByte & ChangedFlag) {
            if (!applyChanges(last, data + payloadAt, qsizetype(length), &entry.bytes)) {
                damaged(error, start);
                return std::nullopt;
            }
        } else {
            entry.bytes = QByteArray(data + payloadAt, qsizetype(length));
        }
        last = entry.bytes;
        recording.entries.append(std::move(entry));
    }
    return recording;
}
