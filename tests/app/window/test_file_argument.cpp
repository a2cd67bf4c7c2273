// `zenu FILE`: what a file is comes from its first bytes before its name, each
// kind reaches its own action, and a file that cannot be opened never starts
// the window silently.
#include "tests/app/WindowFixture.h"

#include "app/recording/RecordingRoom.h"
#include "app/recording/ReplayPanel.h"
#include "app/settings/SettingsFileMenu.h"
#include "app/settings/SettingsFileView.h"
#include "app/window/FileArgument.h"
#include "i18n/LanguageTable.h"
#include "record/RecordingWriter.h"
#include "settings/DataFile.h"
#include "tests/live/LiveFrameBytes.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <ostream>
#include <string>

namespace {

using FileArgument::Kind;

const QByteArray RecordingHead("\x89ZREC\r\n\x1A\x01\x00", 10);
const QByteArray SettingsHead("ZENU DATA FILE v3.07.07\x13", 24);

struct KindCase
{
    const char *name;
    const char *fileName;
    QByteArray head;
    Kind expected;
};

void PrintTo(const KindCase &c, std::ostream *os)
{
    *os << c.name;
}

class FileKind : public ::testing::TestWithParam<KindCase>
{
};

TEST_P(FileKind, ComesFromTheFirstBytesThenTheName)
{
    EXPECT_EQ(FileArgument::kindOf(QString::fromUtf8(GetParam().fileName), GetParam().head), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileKind,
    ::testing::Values(
        // By content: the name says nothing, or says something else.
        KindCase{"RecordingWithoutExtension", "road-test", RecordingHead, Kind::Recording},
        KindCase{"SettingsWithoutExtension", "golf", SettingsHead, Kind::SettingsFile},
        KindCase{"SettingsOfAnotherVersion", "golf.bin", "ZENU DATA FILE v3.07.08", Kind::SettingsFile},
        KindCase{"RecordingNamedZen", "golf.zen", RecordingHead, Kind::Recording},
        KindCase{"SettingsNamedZrec", "drive.zrec", SettingsHead, Kind::SettingsFile},
        KindCase{"RecordingNamedTxt", "notes.txt", RecordingHead, Kind::Recording},
        // By extension: the content is not one of ours (a damaged or empty
        // file still goes to the reader that says what is wrong with it).
        KindCase{"EmptyZrec", "drive.zrec", "", Kind::Recording},
        KindCase{"DamagedZrec", "drive.zrec", "\x89ZREX\r\n\x1A", Kind::Recording},
        KindCase{"EmptyZen", "golf.zen", "", Kind::SettingsFile},
        KindCase{"UpperCaseExtension", "DRIVE.ZREC", "junk", Kind::Recording},
        KindCase{"MixedCaseZen", "Golf.Zen", "junk", Kind::SettingsFile},
        // Neither.
        KindCase{"Text", "notes.txt", "hello", Kind::Unknown},
        KindCase{"EmptyWithoutExtension", "empty", "", Kind::Unknown},
        KindCase{"MagicCutShort", "cut", "\x89ZREC", Kind::Unknown},
        KindCase{"SettingsHeaderCutShort", "cut", "ZENU DATA FILE", Kind::Unknown},
        KindCase{"ExtensionOnlyAlike", "golf.zenu", "junk", Kind::Unknown},
        KindCase{"ExtensionNotLast", "golf.zen.txt", "junk", Kind::Unknown},
        KindCase{"NameIsTheExtension", "zrec", "junk", Kind::Unknown}),
    [](const ::testing::TestParamInfo<KindCase> &info) { return std::string(info.param.name); });

// The dispatch on real files, with the window's actions recorded.
class FileDispatch : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString put(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QString recording(const QString &name)
    {
        const QString path = dir.filePath(name);
        RecordingWriter writer;
        EXPECT_TRUE(writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc()));
        writer.append(RecordKind::Settings, 0, QByteArray(602, '\x01'));
        writer.append(RecordKind::Answer, 240, liveFrame());
        writer.close();
        return path;
    }

    void open(const QStringList &files)
    {
        FileArgument::Actions actions;
        actions.replay = [this](const QString &p) { done << QStringLiteral("replay ") + p; };
        actions.viewSettings = [this](const QString &p) { done << QStringLiteral("view ") + p; };
        actions.tell = [this](const QString &t) { done << QStringLiteral("tell ") + t; };
        FileArgument::open(files, actions, &texts);
    }

    QString text(const char *key) const { return texts.programText(QString::fromLatin1(key)); }

    QTemporaryDir dir;
    LanguageTable texts = LanguageTable::builtIn();
    QStringList done;
};

TEST_F(FileDispatch, EachKindGoesToItsOwnActionOnly)
{
    const QString drive = recording(QStringLiteral("drive.zrec"));
    const QString renamed = recording(QStringLiteral("drive-copy"));
    const QString golf = put(QStringLiteral("golf.zen"), DataFile::encode(QByteArray(602, '\x02'), 17));
    const QString golfRenamed = put(QStringLiteral("golf.dat"), DataFile::encode(QByteArray(602, '\x02'), 17));
    for (const QString &path : {drive, renamed, golf, golfRenamed})
        open({path});
    EXPECT_EQ(done, (QStringList{QStringLiteral("replay ") + drive, QStringLiteral("replay ") + renamed,
                                 QStringLiteral("view ") + golf, QStringLiteral("view ") + golfRenamed}));
}

TEST_F(FileDispatch, AForeignFileIsRefusedByName)
{
    const QString notes = put(QStringLiteral("notes.txt"), "shopping list");
    open({notes});
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done[0], QStringLiteral("tell ") + text("open.unknown").arg(QDir::toNativeSeparators(notes)));
    EXPECT_TRUE(done[0].contains(QLatin1String("notes.txt")));
}

TEST_F(FileDispatch, AFileThatCannotBeReadIsNamedWithTheReason)
{
    const QString missing = dir.filePath(QStringLiteral("gone.zrec"));
    open({missing});
    open({dir.path()});
    ASSERT_EQ(done.size(), 2);
    const QString start = QStringLiteral("tell ") + text("open.cannot_read").arg(QDir::toNativeSeparators(missing), QString());
    EXPECT_TRUE(done[0].startsWith(start)) << done[0].toStdString();
    EXPECT_GT(done[0].size(), start.size()) << "no reason given";
    EXPECT_EQ(done[1], QStringLiteral("tell ") + text("open.cannot_read").arg(QDir::toNativeSeparators(dir.path()), QString()));
}

TEST_F(FileDispatch, SeveralFilesOpenNoneAndSayWhich)
{
    const QString a = recording(QStringLiteral("a.zrec"));
    const QString b = recording(QStringLiteral("b.zrec"));
    open({a, b});
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done[0], QStringLiteral("tell ") + text("open.one_file").arg(QDir::toNativeSeparators(a) + QLatin1Char('\n') +
                                                                          QDir::toNativeSeparators(b)));
    open({});
    EXPECT_EQ(done.size(), 1) << "no file, nothing to do";
}

TEST_F(FileDispatch, MessagesSpeakTheChosenLanguage)
{
    ASSERT_TRUE(texts.applyLanguageColumn(2)); // English
    const QString notes = put(QStringLiteral("notes.txt"), "shopping list");
    open({notes});
    ASSERT_EQ(done.size(), 1);
    EXPECT_TRUE(done[0].contains(QLatin1String("is neither a ZENU settings file"))) << done[0].toStdString();
}

// The whole way from the command line to the window, as main() does it.
class FileArgumentWindow : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ASSERT_TRUE(files.isValid());
        start({QStringLiteral("COM5")});
    }

    void applyCommandLine(const QStringList &arguments)
    {
        QCommandLineParser parser;
        FileArgument::add(parser);
        ASSERT_TRUE(parser.parse(QStringList{QStringLiteral("zenu")} + arguments));
        FileArgument::apply(parser, *window);
    }

    QTemporaryDir files;
};

TEST_F(FileArgumentWindow, ARecordingIsReplayedOnceTheEventLoopRuns)
{
    const QString path = files.filePath(QStringLiteral("drive.zrec"));
    RecordingWriter writer;
    ASSERT_TRUE(writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc()));
    writer.append(RecordKind::Settings, 0, QByteArray(602, '\x01'));
    writer.append(RecordKind::Answer, 1000, liveFrame());
    writer.close();

    applyCommandLine({path});
    EXPECT_FALSE(window->recording().replay().replaying()) << "opened before the window stands";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->recording().replay().replaying(); }, 5000));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(FileArgumentWindow, ASettingsFileIsShownAndAForeignFileIsToldInABox)
{
    const QString golf = files.filePath(QStringLiteral("golf.zen"));
    QFile f(golf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(DataFile::encode(QByteArray(602, '\x02'), 17));
    f.close();
    const QString notes = files.filePath(QStringLiteral("notes.txt"));
    QFile n(notes);
    ASSERT_TRUE(n.open(QIODevice::WriteOnly));
    n.write("shopping list");
    n.close();

    applyCommandLine({golf});
    EXPECT_FALSE(window->settingsFile().view().viewing()) << "shown before the window stands";
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->settingsFile().view().viewing(); }, 5000));
    EXPECT_EQ(window->settingsFile().view().path(), golf);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    applyCommandLine({notes});
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.size() == 1; }, 5000));
    EXPECT_EQ(messages[0], window->languageTable()->programText(u"open.unknown").arg(QDir::toNativeSeparators(notes)));
    EXPECT_FALSE(window->recording().replay().replaying());
}

TEST_F(FileArgumentWindow, NoFileOpensNothing)
{
    applyCommandLine({});
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(window->recording().replay().replaying());
}

} // namespace
