// `zenu --plot`: a recording drawn into a PNG without a window; a file that
// is no recording, or arguments that make no sense, give exit code 1 and the
// message.
#include "StepDrive.h"
#include "tests/chart/ChartSample.h"

#include "app/chart/ChartPainter.h"
#include "app/chart/CommandLinePlot.h"
#include "i18n/LanguageTable.h"
#include "record/RecordingReader.h"
#include "record/RecordingWriter.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CommandLinePlotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        english.applyLanguageColumn(LanguageTable::English);
    }

    QString writeDrive()
    {
        const QString path = dir.filePath(QStringLiteral("drive.zrec"));
        RecordingWriter writer;
        EXPECT_TRUE(writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc()));
        for (const RecordEntry &e : stepDrive().entries)
            writer.append(e.kind, e.ms, e.bytes);
        writer.close();
        return path;
    }

    CommandLinePlot::Result plot(const QStringList &args)
    {
        return CommandLinePlot::run(QStringList{QStringLiteral("zenu")} + args, &english, QString());
    }

    QTemporaryDir dir;
    LanguageTable english = LanguageTable::builtIn();
};

TEST_F(CommandLinePlotTest, ForeignFileFailsWithTheMessage)
{
    const QString foreign = dir.filePath(QStringLiteral("notes.zrec"));
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("These are notes, not a recording.\n");
    file.close();
    const QString out = dir.filePath(QStringLiteral("out.png"));

    const CommandLinePlot::Result result = plot({QStringLiteral("--plot"), foreign, out});

    RecordingError error;
    ASSERT_FALSE(RecordingReader::read(foreign, &error));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, recordingErrorText(foreign, error, english));
    EXPECT_TRUE(result.err.contains(QStringLiteral("notes.zrec")));
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(CommandLinePlotTest, MissingFileFailsNamingIt)
{
    const QString missing = dir.filePath(QStringLiteral("gone.zrec"));
    const CommandLinePlot::Result result = plot({QStringLiteral("--plot"), missing, dir.filePath("o.png")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(QStringLiteral("gone.zrec"))) << result.err.toStdString();
}

struct BadArguments
{
    const char *name;
    QStringList args; // after the recording
    const char *messageKey;
};

void PrintTo(const BadArguments &c, std::ostream *os)
{
    *os << c.name;
}

class CommandLinePlotArguments : public CommandLinePlotTest, public ::testing::WithParamInterface<BadArguments>
{};

TEST_P(CommandLinePlotArguments, AreRefusedWithTheirMessage)
{
    const QString drive = writeDrive();
    QStringList args{QStringLiteral("--plot"), drive};
    for (const QString &a : GetParam().args)
        args.append(a == QLatin1String("OUT") ? dir.filePath(QStringLiteral("out.png")) : a);
    const CommandLinePlot::Result result = plot(args);
    EXPECT_EQ(result.exitCode, 1);
    const QString expected = english.programText(QString::fromLatin1(GetParam().messageKey));
    EXPECT_TRUE(result.err.contains(expected.left(expected.indexOf(QLatin1Char('%'))))) << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out.png"))));
}

INSTANTIATE_TEST_SUITE_P(
    Plot, CommandLinePlotArguments,
    ::testing::Values(BadArguments{"NoOutput", {}, "chart.plot_usage"},
                      BadArguments{"TwoOutputs", {"OUT", "more.png"}, "chart.plot_usage"},
                      BadArguments{"FromNotANumber", {"OUT", "--from", "ten"}, "chart.plot_bad_time"},
                      BadArguments{"NegativeFrom", {"OUT", "--from", "-3"}, "chart.plot_bad_time"},
                      BadArguments{"ToBeforeFrom", {"OUT", "--from", "20", "--to", "10"}, "chart.plot_bad_time"}),
    [](const ::testing::TestParamInfo<BadArguments> &info) { return std::string(info.param.name); });

// The rpm line (the first pane's first colour) in a column of the picture:
// the row where it is drawn, -1 when it is not there.
int lineRow(const QImage &image, const QRect &pane, int x, QRgb colour)
{
    for (int y = pane.top() + 1; y < pane.bottom(); ++y)
        if (image.pixel(x, y) == colour)
            return y;
    return -1;
}

TEST_F(CommandLinePlotTest, DrawsTheSpeedStepsAtTheirTimes)
{
    const QString drive = writeDrive();
    const QString out = dir.filePath(QStringLiteral("drive.png"));
    const CommandLinePlot::Result result = plot({QStringLiteral("--plot"), drive, out});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("drive.png")));

    QImage image(out);
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.size(), QSize(1600, 900));
    QFont font;
    font.setPixelSize(13);
    const ChartPainter::Geometry g = ChartPainter::geometry(image.rect(), 4, font);
    const QRgb blue = qRgb(0x1f, 0x5f, 0xc4);
    auto xAt = [&g](double seconds) { return g.plot.left() + int(seconds / 30.0 * g.plot.width()); };
    const int idle = lineRow(image, g.panes[0], xAt(5), blue);
    const int high = lineRow(image, g.panes[0], xAt(15), blue);
    const int idleAgain = lineRow(image, g.panes[0], xAt(25), blue);
    ASSERT_GT(idle, 0);
    ASSERT_GT(high, 0);
    EXPECT_LT(high, idle); // 3000 rpm is higher up than 800
    EXPECT_EQ(idleAgain, idle);
    // The step is drawn at 10 s: flat before it, up after it.
    EXPECT_EQ(lineRow(image, g.panes[0], xAt(9.8), blue), idle);
    EXPECT_EQ(lineRow(image, g.panes[0], xAt(10.2), blue), high);
}

TEST_F(CommandLinePlotTest, FromAndToChooseThePartDrawn)
{
    const QString drive = writeDrive();
    const QString out = dir.filePath(QStringLiteral("part.png"));
    const CommandLinePlot::Result result =
        plot({QStringLiteral("--plot"), drive, out, QStringLiteral("--from"), QStringLiteral("10.5"),
              QStringLiteral("--to"), QStringLiteral("19.5")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    QImage image(out);
    ASSERT_FALSE(image.isNull());
    QFont font;
    font.setPixelSize(13);
    const ChartPainter::Geometry g = ChartPainter::geometry(image.rect(), 4, font);
    const QRgb blue = qRgb(0x1f, 0x5f, 0xc4);
    // Only the 3000 rpm part is in view: one flat line across the pane.
    const int left = lineRow(image, g.panes[0], g.plot.left() + 5, blue);
    ASSERT_GT(left, 0);
    EXPECT_EQ(lineRow(image, g.panes[0], g.plot.center().x(), blue), left);
    EXPECT_EQ(lineRow(image, g.panes[0], g.plot.right() - 5, blue), left);
}

// Two channels in one pane that swing over the same range (the two lambda
// sensors over a long drive) fill the same columns: the second must not hide
// the first, so where they overlap the picture shows both colours mixed.
TEST_F(CommandLinePlotTest, ASecondChannelOverTheSameRangeLetsTheFirstShowThrough)
{
    using namespace ChartSample;
    const QString path = dir.filePath(QStringLiteral("lambdas.zrec"));
    RecordingWriter writer;
    ASSERT_TRUE(writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc()));
    writer.append(RecordKind::Settings, 0, QByteArray(602, '\0'));
    for (qint64 ms = 100; ms <= 600000; ms += 100) {
        EngineSnapshot s = running(800, true);
        s.lambda1V = s.lambda2V = (ms / 100) % 2 ? 0.1 : 0.9;
        const RecordEntry e = answer(ms, s);
        writer.append(e.kind, e.ms, e.bytes);
    }
    writer.close();
    const QString out = dir.filePath(QStringLiteral("lambdas.png"));
    const CommandLinePlot::Result result = CommandLinePlot::run(
        {QStringLiteral("zenu"), QStringLiteral("--plot"), path, out}, &english, QStringLiteral("lambda1_v,lambda2_v"));
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    QImage image(out);
    ASSERT_FALSE(image.isNull());
    QFont font;
    font.setPixelSize(13);
    const QRect pane = ChartPainter::geometry(image.rect(), 1, font).panes.first();

    // The first channel is blue, the second red: alone, red carries little
    // blue; over blue, it carries much of it.
    const QRgb red = qRgb(0xd6, 0x27, 0x28);
    int pureRed = 0, mixed = 0;
    for (int y = pane.top() + 1; y < pane.bottom(); ++y) {
        for (int x = pane.left() + 1; x < pane.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            pureRed += c == red;
            mixed += qRed(c) > 0x60 && qBlue(c) > 0x50 && qGreen(c) < 0x60;
        }
    }
    EXPECT_EQ(pureRed, 0) << "the second channel is drawn over the first";
    EXPECT_GT(mixed, pane.width() * pane.height() / 4) << "the overlap shows both";
}

} // namespace
