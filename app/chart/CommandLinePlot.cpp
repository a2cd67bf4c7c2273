#include "app/chart/CommandLinePlot.h"

#include "app/chart/ChartLayoutStore.h"
#include "app/chart/ChartPainter.h"
#include "i18n/LanguageTable.h"
#include "record/Recording.h"
#include "record/RecordingReader.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

const QString PlotName = QStringLiteral("plot");
const QString FromName = QStringLiteral("from");
const QString ToName = QStringLiteral("to");
// The picture: wide enough for a screen or a forum post.
constexpr int ImageWidth = 1600;
constexpr int ImageHeight = 900;

ChartTexts textsOf(const LanguageTable *table)
{
    ChartTexts texts;
    texts.text = [table](QStringView key) { return table ? table->programText(key) : recordingText(key); };
    texts.message = [table](int row) {
        if (table)
            return table->text(row, LanguageTable::Current);
        const LanguageTable *fallback = recordingTexts();
        return fallback ? fallback->text(row, LanguageTable::Current) : QString();
    };
    texts.decimal = QLocale().decimalPoint().isEmpty() ? QLatin1Char('.') : QLocale().decimalPoint().at(0);
    return texts;
}

std::optional<double> seconds(const QString &text)
{
    bool ok = false;
    const double s = text.toDouble(&ok);
    if (!ok || !std::isfinite(s) || s < 0)
        return std::nullopt;
    return s;
}

} // namespace

namespace CommandLinePlot {

QList<QCommandLineOption> options()
{
    return {QCommandLineOption(PlotName, recordingText(u"chart.cli.plot"), QStringLiteral("FILE")),
            QCommandLineOption(FromName, recordingText(u"chart.cli.from"), QStringLiteral("S")),
            QCommandLineOption(ToName, recordingText(u"chart.cli.to"), QStringLiteral("S"))};
}

bool asked(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (std::strcmp(a, "--") == 0)
            return false;
        if (std::strcmp(a, "--plot") == 0 || std::strncmp(a, "--plot=", 7) == 0)
            return true;
    }
    return false;
}

Result run(const QStringList &arguments, const LanguageTable *table, const QString &layoutText)
{
    const ChartTexts texts = textsOf(table);
    auto text = [&texts](const char *key) { return texts.text(QString::fromLatin1(key)); };
    Result result;
    QCommandLineParser parser;
    parser.addOptions(options());
    const bool parsed = parser.parse(arguments);
    const QString recordingPath = parser.value(PlotName);
    const QStringList outputs = parser.positionalArguments();
    if (!parsed || recordingPath.isEmpty() || outputs.size() != 1) {
        result.exitCode = 1;
        if (!parsed)
            result.err = parser.errorText() + QLatin1Char('\n');
        result.err += text("chart.plot_usage");
        return result;
    }
    std::optional<double> from = 0.0;
    std::optional<double> to;
    if (parser.isSet(FromName) && !(from = seconds(parser.value(FromName)))) {
        result.exitCode = 1;
        result.err = text("chart.plot_bad_time").arg(parser.value(FromName));
        return result;
    }
    if (parser.isSet(ToName) && (!(to = seconds(parser.value(ToName))) || *to <= *from)) {
        result.exitCode = 1;
        result.err = text("chart.plot_bad_time").arg(parser.value(ToName));
        return result;
    }

    RecordingError error;
    const std::optional<Recording> recording = RecordingReader::read(recordingPath, &error);
    if (!recording) {
        result.exitCode = 1;
        result.err = table ? recordingErrorText(recordingPath, error, *table) : recordingErrorText(recordingPath, error);
        return result;
    }
    const ChartData data = ChartData::fromRecording(*recording);
    const ChartLayout layout = ChartLayout::fromText(layoutText);
    TimeAxis axis;
    axis.setWhole(data.firstMs(), data.lastMs());
    axis.showAll();
    axis.setView(*from * 1000.0, to ? *to * 1000.0 : axis.wholeTo());

    QFont font;
    font.setPixelSize(13);
    const QImage image = ChartPainter::image({&data, &layout, &axis, std::nullopt, &texts},
                                             QSize(ImageWidth, ImageHeight), 1.0, font);
    const QString outPath = outputs.first();
    QImageWriter writer(outPath, "png");
    if (!writer.write(image)) {
        result.exitCode = 1;
        result.err = text("chart.plot_failed").arg(QDir::toNativeSeparators(outPath), writer.errorString());
        return result;
    }
    if (recording->truncatedTail)
        result.err = texts.text(u"record.truncated_tail").arg(QDir::toNativeSeparators(recordingPath));
    result.out = text("chart.plot_written").arg(QDir::toNativeSeparators(outPath));
    return result;
}

int main(int argc, char **argv, const std::function<std::optional<LanguageTable>()> &chosenTexts)
{
    // No display needed: the picture is drawn in memory.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zenu"));
    const std::optional<LanguageTable> texts = chosenTexts ? chosenTexts() : std::nullopt;
    setRecordingTexts(texts ? &*texts : nullptr);
    const Result result = run(QCoreApplication::arguments(), texts ? &*texts : nullptr, ChartLayoutStore::load());
    setRecordingTexts(nullptr);
    if (!result.out.isEmpty())
        std::fputs((result.out + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
    if (!result.err.isEmpty())
        std::fputs((result.err + QLatin1Char('\n')).toLocal8Bit().constData(), stderr);
    return result.exitCode;
}

} // namespace CommandLinePlot
