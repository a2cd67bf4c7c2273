#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Data files on disk, read or written whole. A save goes to a temporary file
// beside the target and replaces it only once complete, so a failed or
// interrupted save leaves the old file as it was. Failures come back as the
// system's reason, for the caller to show with the file's name.
namespace DataFileStore {

struct ReadResult
{
    QByteArray bytes;
    QString error; // empty when the whole file was read

    bool ok() const { return error.isEmpty(); }
};

// Puts bytes into the open temporary file; returns how many it wrote, or -1.
// Tests hand in one that fails part-way.
using WriteStep = std::function<qint64(QIODevice &file, const QByteArray &bytes)>;

ReadResult read(const QString &path);

// Empty on success, otherwise the reason.
QString save(const QString &path, const QByteArray &bytes, const WriteStep &write = {});

// Whether a save to `path` could start (the folder takes new files and an
// existing file may be replaced); empty when it could, otherwise the reason.
// Nothing is left behind.
QString checkSavable(const QString &path);

} // namespace DataFileStore
