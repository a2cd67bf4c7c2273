#include "settings/DataFileStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

QByteArray contentsOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class DataFileStoreTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList entries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot); }

    QTemporaryDir dir;
    const QByteArray oldBytes = QByteArray("the old file, which must survive");
    const QByteArray newBytes = QByteArray(1219, char(0x5A));
};

} // namespace

TEST_F(DataFileStoreTest, SaveCreatesOrReplacesTheWholeFile)
{
    EXPECT_EQ(DataFileStore::save(path("new.zen"), newBytes), QString());
    EXPECT_EQ(contentsOf(path("new.zen")), newBytes);

    put(path("old.zen"), oldBytes);
    EXPECT_EQ(DataFileStore::save(path("old.zen"), newBytes), QString());
    EXPECT_EQ(contentsOf(path("old.zen")), newBytes);
    EXPECT_EQ(entries(), QStringList({QStringLiteral("new.zen"), QStringLiteral("old.zen")}));

    const DataFileStore::ReadResult back = DataFileStore::read(path("old.zen"));
    EXPECT_TRUE(back.ok());
    EXPECT_EQ(back.bytes, newBytes);
}

TEST_F(DataFileStoreTest, SaveInterruptedMidWriteLeavesTheOldFileAndNoTemporaryOne)
{
    put(path("car.zen"), oldBytes);
    int calls = 0;
    const QString reason = DataFileStore::save(path("car.zen"), newBytes, [&](QIODevice &file, const QByteArray &bytes) {
        ++calls;
        // Half the file reaches the disk, then the write fails.
        file.write(bytes.left(bytes.size() / 2));
        return qint64(-1);
    });
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(contentsOf(path("car.zen")), oldBytes);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("car.zen")});
}

TEST_F(DataFileStoreTest, SaveIntoAReadOnlyFolderLeavesTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    put(path("car.zen"), oldBytes);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString check = DataFileStore::checkSavable(path("car.zen"));
    const QString reason = DataFileStore::save(path("car.zen"), newBytes);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(check.isEmpty());
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(contentsOf(path("car.zen")), oldBytes);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("car.zen")});
}

TEST_F(DataFileStoreTest, SaveWhereNoFileCanBeCreatedFailsWithAReason)
{
    // Even the superuser cannot create files in /proc, and the existing
    // file there stays what it was.
    const QString target = QStringLiteral("/proc/version");
    const QByteArray before = contentsOf(target);
    EXPECT_FALSE(DataFileStore::checkSavable(target).isEmpty());
    EXPECT_FALSE(DataFileStore::save(target, newBytes).isEmpty());
    EXPECT_EQ(contentsOf(target), before);
    EXPECT_FALSE(DataFileStore::save(path("no-such-folder/car.zen"), newBytes).isEmpty());
    EXPECT_FALSE(DataFileStore::checkSavable(path("no-such-folder/car.zen")).isEmpty());
}

TEST_F(DataFileStoreTest, CheckingASaveLeavesNothingBehind)
{
    put(path("car.zen"), oldBytes);
    EXPECT_EQ(DataFileStore::checkSavable(path("car.zen")), QString());
    EXPECT_EQ(DataFileStore::checkSavable(path("fresh.zen")), QString());
    EXPECT_EQ(contentsOf(path("car.zen")), oldBytes);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("car.zen")});
    EXPECT_FALSE(DataFileStore::checkSavable(dir.path()).isEmpty());
}

TEST_F(DataFileStoreTest, ReadingWhatIsNoReadableFileGivesAReason)
{
    const DataFileStore::ReadResult missing = DataFileStore::read(path("missing.zen"));
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.bytes.isEmpty());
    const DataFileStore::ReadResult folder = DataFileStore::read(dir.path());
    EXPECT_FALSE(folder.ok());
    put(path("empty.zen"), QByteArray());
    const DataFileStore::ReadResult empty = DataFileStore::read(path("empty.zen"));
    EXPECT_TRUE(empty.ok());
    EXPECT_TRUE(empty.bytes.isEmpty());
}
