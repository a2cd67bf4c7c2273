#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The controller's block kept across runs. Written to a temporary file and
// renamed over the old one, so a reader (or a crash) never sees half a block.
namespace StateFile {

std::optional<QByteArray> load(const QString &path);
bool save(const QString &path, const QByteArray &bytes);

} // namespace StateFile
