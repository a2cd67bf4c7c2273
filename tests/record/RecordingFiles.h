#pragma once

#include "record/RecordingWriter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

// Writes entries through the real writer into a temporary folder and keeps
// where each record starts, so tests can cut or spoil the file at exact
// record boundaries.
struct WrittenRecording
{
    QString path;
    QByteArray bytes;
    qint64 headerSize = 0;
    std::vector<qint64> recordStarts; // one per entry, then the file's end
};

inline WrittenRecording writeRecording(const QTemporaryDir &dir, const QVector<RecordEntry> &entries,
                                       const QString &name = QStringLiteral("session.zrec"))
{
    WrittenRecording out;
    out.path = dir.filePath(name);
    RecordingWriter writer;
    writer.setProgramVersion(QStringLiteral("1.03-test"));
    EXPECT_TRUE(writer.open(out.path, QStringLiteral("COM5"),
                            QDateTime(QDate(2026, 12, 10), QTime(8, 30, 15, 250), Qt::UTC)))
        << writer.errorText().toStdString();
    out.headerSize = writer.bytesWritten();
    for (const RecordEntry &e : entries) {
        out.recordStarts.push_back(writer.bytesWritten());
        writer.append(e.kind, e.ms, e.bytes);
    }
    out.recordStarts.push_back(writer.bytesWritten());
    writer.close();
    QFile file(out.path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    out.bytes = file.readAll();
    EXPECT_EQ(out.bytes.size(), out.recordStarts.back());
    return out;
}

inline bool sameEntry(const RecordEntry &a, const RecordEntry &b)
{
    return a.ms == b.ms && a.kind == b.kind && a.bytes == b.bytes;
}
