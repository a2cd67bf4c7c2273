#pragma once

#include <QByteArray>
#include <QString>

// A settings data file read back into the block it was saved from, for
// showing or comparing it without a controller. The block is rebuilt as the
// controller's read-all answer carries it: header, length, code, the file's
// offsets 4 onwards and the key as the check byte.
namespace SettingsFile {

enum class Failure {
    None,
    Unreadable,  // the file could not be read; `reason` says why
    NotSettings, // no data file header, or too short to hold a whole block
};

struct Loaded
{
    QByteArray block;
    Failure failure = Failure::None;
    QString reason;

    bool ok() const { return failure == Failure::None; }
};

// The block a file's bytes hold; NotSettings unless it is a whole one.
Loaded fromBytes(const QByteArray &file);
Loaded load(const QString &path);

} // namespace SettingsFile
