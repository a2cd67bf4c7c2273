#pragma once

#include "record/Recording.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Reads a recording. A file cut inside its last record reads every complete
// record and says so in Recording::truncatedTail; anything else that is not
// a whole recording of a version this program knows is refused.
class RecordingReader
{
public:
    static std::optional<Recording> read(const QString &path, RecordingError *error);
    static std::optional<Recording> parse(const QByteArray &fileBytes, RecordingError *error);
};
