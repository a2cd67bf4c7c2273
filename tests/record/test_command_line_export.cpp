// `zenu --export-csv` on the built program, as a script would run it.
#include "RecordingFiles.h"
#include "SessionSample.h"

#include "i18n/LanguageKey.h"
#include "i18n/LanguageTable.h"
#include "link/RegistryKey.h"
#include "record/CsvExport.h"

#include <QBuffer>
#include <QDir>
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

class CommandLineExport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(config.isValid());
        entries = sessionSample(20);
        recording = writeRecording(dir, entries, QStringLiteral("road test.zrec"));
    }

    // The program in a settings store of its own where English was chosen,
    // and with a window system that does not exist: making a window would
    // end the program at once.
    ProgramRun zenu(const QStringList &arguments)
    {
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        {
            RegistryKey key(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\Lang"));
            key.writeString(QStringLiteral("CurLang"), LanguageKey::forColumn(LanguageTable::English));
            key.flush();
        }
        qputenv("XDG_CONFIG_HOME", oldConfig);

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-window-system"));
        env.remove(QStringLiteral("DISPLAY"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(ZENU_PROGRAM_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(60'000));
        ProgramRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }

    QTemporaryDir dir;
    QTemporaryDir config;
    QVector<RecordEntry> entries;
    WrittenRecording recording;
};

TEST_F(CommandLineExport, WritesTheTableAndExitsWithZero)
{
    const QString csv = dir.filePath(QStringLiteral("road test.csv"));
    const ProgramRun run = zenu({QStringLiteral("--export-csv"), recording.path, csv});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("20 rows written to"))) << run.out.toStdString();

    Recording expected;
    expected.entries = entries;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_EQ(CsvExport::write(expected, buffer, nullptr), 20);
    QFile out(csv);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), buffer.data());
}

TEST_F(CommandLineExport, TheOptionTakesItsValueAfterAnEqualsSignToo)
{
    const QString csv = dir.filePath(QStringLiteral("eq.csv"));
    const ProgramRun run = zenu({QStringLiteral("--export-csv=") + recording.path, csv});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(csv));
}

TEST_F(CommandLineExport, HelpAndVersionAnswerWithoutADisplayInTheChosenLanguage)
{
    const ProgramRun help = zenu({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    for (const char *option : {"--export-csv", "--record", "--replay"})
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option << "\n" << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("Replays the recording FILE on the window.")))
        << "English was chosen\n" << help.out.toStdString();

    const ProgramRun version = zenu({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("zenu "))) << version.out.toStdString();
}

struct FailureCase
{
    const char *name;
    QStringList arguments; // {rec} and {csv} stand for the test's files
    QString mustSay;       // {rec} likewise
};

class CommandLineExportFailure : public CommandLineExport, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(CommandLineExportFailure, ExitsWithOneAndSaysWhyOnStderr)
{
    const QString csv = dir.filePath(QStringLiteral("out.csv"));
    const QString missing = dir.filePath(QStringLiteral("missing.zrec"));
    const QString foreign = dir.filePath(QStringLiteral("foreign.zrec"));
    QFile f(foreign);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("time_s,rpm\r\n");
    f.close();
    auto fill = [&](QString s) {
        return s.replace(QLatin1String("{rec}"), recording.path)
            .replace(QLatin1String("{missing}"), missing)
            .replace(QLatin1String("{foreign}"), foreign)
            .replace(QLatin1String("{csv}"), csv);
    };
    QStringList arguments;
    for (const QString &a : GetParam().arguments)
        arguments.append(fill(a));

    const ProgramRun run = zenu(arguments);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(fill(GetParam().mustSay))) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(csv));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineExportFailure,
    ::testing::Values(
        FailureCase{"MissingRecording", {"--export-csv", "{missing}", "{csv}"}, "Cannot open the recording {missing}"},
        FailureCase{"ForeignFile", {"--export-csv", "{foreign}", "{csv}"}, "The file {foreign} is not a ZENU recording"},
        FailureCase{"NoOutputFile", {"--export-csv", "{rec}"}, "Usage: zenu --export-csv"},
        FailureCase{"TwoOutputFiles", {"--export-csv", "{rec}", "{csv}", "{csv}2"}, "Usage: zenu --export-csv"},
        FailureCase{"NoRecordingGiven", {"{csv}", "--export-csv"}, "Usage: zenu --export-csv"}),
    [](const ::testing::TestParamInfo<FailureCase> &info) { return std::string(info.param.name); });

} // namespace
