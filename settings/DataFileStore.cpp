#include "settings/DataFileStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace DataFileStore {

namespace {

QString reasonOf(const QFileDevice &file)
{
    const QString reason = file.errorString();
    return reason.isEmpty() ? QStringLiteral("Unknown error") : reason;
}

} // namespace

ReadResult read(const QString &path)
{
    ReadResult out;
    if (QFileInfo(path).isDir()) {
        out.error = QStringLiteral("Is a directory");
        return out;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.error = reasonOf(file);
        return out;
    }
    out.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        out.error = reasonOf(file);
        out.bytes.clear();
    }
    return out;
}

QString save(const QString &path, const QByteArray &bytes, const WriteStep &write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return reasonOf(file);
    const qint64 written = write ? write(file, bytes) : file.write(bytes);
    if (written != bytes.size()) {
        // Without a commit the temporary file goes and the target stays.
        const QString reason = file.error() != QFileDevice::NoError ? reasonOf(file)
                                                                    : QStringLiteral("Incomplete write");
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return reasonOf(file);
    return {};
}

QString checkSavable(const QString &path)
{
    if (QFileInfo(path).isDir())
        return QStringLiteral("Is a directory");
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return reasonOf(probe);
    probe.cancelWriting();
    return {};
}

} // namespace DataFileStore
