// The writer against the file system: every record is on its way to the disk
// when append() returns, and a full disk stops the recording with what was
// written still readable.
#include "RecordingFiles.h"
#include "SessionSample.h"

#include "record/RecordingReader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const QDateTime Start(QDate(2026, 12, 10), QTime(9, 0), Qt::UTC);

TEST(RecordingWriter, EachRecordIsInTheFileWhenAppendReturns)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("live.zrec"));
    RecordingWriter writer;
    ASSERT_TRUE(writer.open(path, QStringLiteral("COM5"), Start));
    EXPECT_EQ(QFileInfo(path).size(), writer.bytesWritten());

    const QVector<RecordEntry> entries = sessionSample(5);
    for (const RecordEntry &e : entries) {
        const qint64 before = writer.bytesWritten();
        writer.append(e.kind, e.ms, e.bytes);
        ASSERT_GT(writer.bytesWritten(), before);
        // Read by another handle, as a crash would leave it.
        QFile other(path);
        ASSERT_TRUE(other.open(QIODevice::ReadOnly));
        const std::optional<Recording> r = RecordingReader::parse(other.readAll(), nullptr);
        ASSERT_TRUE(r);
        EXPECT_FALSE(r->truncatedTail);
        ASSERT_FALSE(r->entries.isEmpty());
        EXPECT_TRUE(sameEntry(r->entries.last(), e));
    }
    EXPECT_FALSE(writer.failed());
}

TEST(RecordingWriter, AppendAfterCloseChangesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("closed.zrec"));
    RecordingWriter writer;
    ASSERT_TRUE(writer.open(path, QStringLiteral("COM5"), Start));
    writer.append(RecordKind::Answer, 5, QByteArray(57, '\x11'));
    writer.close();
    const qint64 size = QFileInfo(path).size();
    writer.append(RecordKind::Answer, 10, QByteArray(57, '\x12'));
    EXPECT_FALSE(writer.isOpen());
    EXPECT_FALSE(writer.failed());
    EXPECT_EQ(QFileInfo(path).size(), size);
}

TEST(RecordingWriter, AFolderThatIsNotThereIsRefusedNamingTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no/such/folder/x.zrec"));
    RecordingWriter writer;
    EXPECT_FALSE(writer.open(path, QStringLiteral("COM5"), Start));
    EXPECT_TRUE(writer.failed());
    EXPECT_FALSE(writer.isOpen());
    EXPECT_TRUE(writer.errorText().contains(QDir::toNativeSeparators(path)));
}

#ifdef Q_OS_LINUX

TEST(RecordingWriter, ADeviceWithNoRoomFailsTheOpenWithTheReason)
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    RecordingWriter writer;
    EXPECT_FALSE(writer.open(QStringLiteral("/dev/full"), QStringLiteral("COM5"), Start));
    EXPECT_TRUE(writer.failed());
    EXPECT_FALSE(writer.isOpen());
    EXPECT_TRUE(writer.errorText().contains(QStringLiteral("/dev/full")));
    EXPECT_TRUE(writer.errorText().contains(QStringLiteral("space"))) << writer.errorText().toStdString();
}

// The process may not write files past `bytes` while this lives: the
// kernel's way of saying the disk is full, at a byte of our choosing.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

TEST(RecordingWriter, AFullDiskStopsTheRecordingAndKeepsWhatWasWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.zrec"));
    const QVector<RecordEntry> entries = sessionSample(20);
    RecordingWriter writer;
    ASSERT_TRUE(writer.open(path, QStringLiteral("COM5"), Start));
    int before = 0;
    for (; before < 30; ++before)
        writer.append(entries[before].kind, entries[before].ms, entries[before].bytes);
    const qint64 kept = writer.bytesWritten();

    {
        // Room for part of the next record only.
        FileSizeLimit limit(rlim_t(kept + 5));
        ASSERT_TRUE(limit.ok());
        for (int i = before; i < entries.size(); ++i)
            writer.append(entries[i].kind, entries[i].ms, entries[i].bytes);
    }

    EXPECT_TRUE(writer.failed());
    EXPECT_FALSE(writer.isOpen());
    EXPECT_TRUE(writer.errorText().contains(QDir::toNativeSeparators(path))) << writer.errorText().toStdString();
    // Later appends (the recorder does not know yet) leave the file alone.
    writer.append(RecordKind::Answer, 1'000'000, entries.last().bytes);
    EXPECT_LE(QFileInfo(path).size(), kept + 5);

    RecordingError error;
    const std::optional<Recording> r = RecordingReader::read(path, &error);
    ASSERT_TRUE(r) << recordingErrorText(path, error).toStdString();
    EXPECT_TRUE(r->truncatedTail);
    ASSERT_EQ(r->entries.size(), before);
    for (int i = 0; i < before; ++i)
        EXPECT_TRUE(sameEntry(r->entries[i], entries[i])) << "record " << i;
}

#endif

} // namespace
