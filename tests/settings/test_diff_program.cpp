// `zenu --diff` on the built program, as a script would run it: no display,
// the language chosen in the window, only the differences on stdout.
#include "SettingsBlockBytes.h"

#include "i18n/LanguageKey.h"
#include "i18n/LanguageTable.h"
#include "link/RegistryKey.h"
#include "link/SessionLanguageStore.h"
#include "settings/DataFile.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

class DiffProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(config.isValid());
    }

    QString zen(const char *name, const std::vector<std::pair<int, uint8_t>> &bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(DataFile::encode(settingsBlock(bytes), 5));
        return path;
    }

    // With `languageColumn` chosen in the window, and a window system that
    // does not exist: making a window would end the program at once.
    ProgramRun zenu(const QStringList &arguments, int languageColumn)
    {
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        {
            RegistryKey key(SessionLanguageStore::KeyPath);
            key.writeString(SessionLanguageStore::ValueName, LanguageKey::forColumn(languageColumn));
            key.flush();
        }
        qputenv("XDG_CONFIG_HOME", oldConfig);

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-window-system"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        env.remove(QStringLiteral("DISPLAY"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(ZENU_PROGRAM_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(60'000));
        ProgramRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    QTemporaryDir dir;
    QTemporaryDir config;
};

TEST_F(DiffProgram, SameFilesExitZeroWithNothingPrinted)
{
    const QString a = zen("a.zen", {{23, 20}});
    const ProgramRun run = zenu({QStringLiteral("--diff"), a, a}, LanguageTable::English);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST_F(DiffProgram, DifferencesInTheChosenLanguageExitOne)
{
    const QString a = zen("a.zen", {{23, 20}, {35, 40}});
    const QString b = zen("b.zen", {{23, 20}, {35, 45}, {66, 100}});
    const ProgramRun english = zenu({QStringLiteral("--diff"), a, b}, LanguageTable::English);
    EXPECT_EQ(english.exitCode, 1) << english.err.toStdString();
    EXPECT_EQ(english.out.toStdString(), "Parameters switchover to LPG: Temperature\t40 °C\t45 °C\n"
                                         "Map\t1 point differs\tlargest 1.00\n");
    EXPECT_TRUE(english.err.isEmpty()) << english.err.toStdString();

    const ProgramRun czech = zenu({QStringLiteral("--diff"), a, b}, LanguageTable::Czech);
    EXPECT_EQ(czech.exitCode, 1);
    EXPECT_TRUE(czech.out.contains(QStringLiteral("1 bod se liší"))) << czech.out.toStdString();
}

TEST_F(DiffProgram, UnreadableFileOrMissingArgumentExitTwoWithAMessage)
{
    const QString a = zen("a.zen", {});
    const ProgramRun missing = zenu({QStringLiteral("--diff"), a, dir.filePath(QStringLiteral("none.zen"))},
                             LanguageTable::English);
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.out.isEmpty()) << missing.out.toStdString();
    EXPECT_TRUE(missing.err.contains(QStringLiteral("none.zen"))) << missing.err.toStdString();

    const ProgramRun usage = zenu({QStringLiteral("--diff"), a}, LanguageTable::English);
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.out.isEmpty());
    EXPECT_TRUE(usage.err.startsWith(QStringLiteral("Usage: zenu --diff"))) << usage.err.toStdString();
}

} // namespace
