// `zenu --diff` as a function: its output lines and exit codes.
#include "SettingsBlockBytes.h"

#include "i18n/LanguageTable.h"
#include "settings/DataFile.h"
#include "settings/DiffCommand.h"
#include "settings/SettingTexts.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class DiffCommandTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString zen(const QString &name, const std::vector<std::pair<int, uint8_t>> &bytes, int seconds = 7)
    {
        QByteArray block = settingsBlock(bytes);
        block[601] = char(0x5C); // a check byte, the file's key
        return write(name, DataFile::encode(block, seconds));
    }

    DiffCommand::Outcome diff(const QString &a, const QString &b)
    {
        return DiffCommand::compareFiles(a, b, english);
    }

    QTemporaryDir dir;
    const LanguageTable table = LanguageTable::builtIn();
    const SettingTexts english{table, LanguageTable::English, QLatin1Char('.')};
};

TEST_F(DiffCommandTest, SameSettingsExitZeroAndPrintNothing)
{
    // Saved at different seconds and with a different fault log: the same
    // settings all the same.
    const QString a = zen(QStringLiteral("a.zen"), {{23, 25}, {561, 3}}, 7);
    const QString b = zen(QStringLiteral("b.zen"), {{23, 25}}, 41);
    const DiffCommand::Outcome o = diff(a, b);
    EXPECT_EQ(o.exitCode, DiffCommand::Same);
    EXPECT_TRUE(o.out.isEmpty()) << o.out.toStdString();
    EXPECT_TRUE(o.err.isEmpty()) << o.err.toStdString();
}

TEST_F(DiffCommandTest, DifferencesOneTabSeparatedLineEachAndTheMapAsOne)
{
    std::vector<std::pair<int, uint8_t>> map;
    for (int k = 0; k < 246; ++k)
        map.push_back({66 + k, 100});
    auto changed = map;
    changed.push_back({23, 30});
    changed.push_back({34, 0x08});
    changed.push_back({80, 97});
    changed.push_back({81, 104});
    auto original = map;
    original.push_back({23, 25});
    const DiffCommand::Outcome o = diff(zen(QStringLiteral("before.zen"), original), zen(QStringLiteral("after.zen"), changed));
    EXPECT_EQ(o.exitCode, DiffCommand::Differ);
    EXPECT_EQ(o.out.toStdString(), "Engine Type\tStandard\tTurbo\n"
                                   "Parameters switchover to LPG: Switch-over engine speed\t2500 rpm\t3000 rpm\n"
                                   "Map\t2 points differ\tlargest 0.04\n");
    EXPECT_TRUE(o.err.isEmpty());
}

struct FailureCase
{
    const char *name;
    int broken;     // 0: the first file, 1: the second
    QByteArray bytes; // the broken file's contents; empty: it does not exist
    const char *mustSay;
};

class DiffCommandFailure : public DiffCommandTest, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(DiffCommandFailure, ExitTwoWithAMessageOnStderrAndNothingOnStdout)
{
    const FailureCase &c = GetParam();
    const QString good = zen(QStringLiteral("good.zen"), {});
    const QString bad = c.bytes.isEmpty() ? dir.filePath(QStringLiteral("missing.zen"))
                                          : write(QStringLiteral("bad.zen"), c.bytes);
    const DiffCommand::Outcome o = c.broken == 0 ? diff(bad, good) : diff(good, bad);
    EXPECT_EQ(o.exitCode, DiffCommand::Failed);
    EXPECT_TRUE(o.out.isEmpty()) << o.out.toStdString();
    EXPECT_TRUE(o.err.contains(QDir::toNativeSeparators(bad))) << o.err.toStdString();
    EXPECT_TRUE(o.err.contains(QLatin1String(c.mustSay))) << o.err.toStdString();
}

QByteArray shortZen()
{
    // A whole header but only half a block after it.
    return DataFile::encode(settingsBlock({}, 602), 3).left(700);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DiffCommandFailure,
    ::testing::Values(FailureCase{"FirstMissing", 0, {}, "Cannot read"},
                      FailureCase{"SecondMissing", 1, {}, "Cannot read"},
                      FailureCase{"NotADataFile", 1, QByteArray("ZENU settings, honest"), "is not a ZENU settings file"},
                      FailureCase{"HeaderWithoutABlock", 0, shortZen(), "is not a ZENU settings file"},
                      FailureCase{"LastHeaderCharacterWrong", 1,
                                  QByteArray("ZENU DATA FILE v3.07.08") + QByteArray(1200, '\x01'),
                                  "is not a ZENU settings file"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DiffCommandArguments, TwoFilesAfterTheOption)
{
    const QString zenu = QStringLiteral("zenu");
    const QString opt = QStringLiteral("--diff");
    EXPECT_EQ(DiffCommand::files({zenu, opt, QStringLiteral("a.zen"), QStringLiteral("b.zen")}),
              (QStringList{QStringLiteral("a.zen"), QStringLiteral("b.zen")}));
    EXPECT_TRUE(DiffCommand::files({zenu, opt, QStringLiteral("a.zen")}).isEmpty());
    EXPECT_TRUE(DiffCommand::files({zenu, opt, QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}).isEmpty());
    EXPECT_TRUE(DiffCommand::files({zenu, QStringLiteral("a.zen"), QStringLiteral("b.zen")}).isEmpty());
}

// The block a file gives back is the block that was saved, check byte and all.
TEST(SettingsFile, GivesBackTheSavedBlock)
{
    QByteArray block = settingsBlock({{23, 25}, {45, 9}, {100, 77}, {600, 0x12}});
    block[601] = char(0xC3);
    const SettingsFile::Loaded loaded = SettingsFile::fromBytes(DataFile::encode(block, 59));
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.block, block);
    EXPECT_EQ(SettingsFile::fromBytes(QByteArray()).failure, SettingsFile::Failure::NotSettings);
}

} // namespace
