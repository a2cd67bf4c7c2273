// The recording reader over any bytes: never reads past the file (the
// sanitizers watch), never returns a recording and an error at once, and
// whatever it returns is what the format allows.
#include "record/RecordFormat.h"
#include "record/RecordingReader.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "recording reader invariant broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    RecordingError error;
    const std::optional<Recording> r = RecordingReader::parse(file, &error);
    if (r.has_value() == (error.code != RecordingError::Code::None))
        fail("a recording and an error, or neither");
    if (r) {
        if (r->header.version != RecordFormat::Version)
            fail("a recording of a version the reader does not know");
        for (const RecordEntry &e : r->entries) {
            if (e.kind < RecordKind::Settings || e.kind > RecordKind::Command)
                fail("an unknown record kind");
            if (quint64(e.bytes.size()) > RecordFormat::MaxPayload)
                fail("a payload over the limit");
        }
        if (r->entries.size() > file.size())
            fail("more records than bytes");
    } else if (error.code == RecordingError::Code::Damaged && !error.endsInHeader) {
        if (error.offset < 0 || error.offset >= file.size())
            fail("damage outside the file");
    } else if (error.code == RecordingError::Code::NewerVersion) {
        if (error.detail.toInt() <= RecordFormat::Version)
            fail("a version the reader knows refused as newer");
    }
    return 0;
}
