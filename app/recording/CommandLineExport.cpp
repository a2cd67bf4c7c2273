#include "app/recording/CommandLineExport.h"

#include "i18n/LanguageKey.h"
#include "i18n/LanguageTable.h"
#include "link/RegistryKey.h"
#include "record/CsvExport.h"
#include "record/Recording.h"

#include <QDir>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

const QString OptionName = QStringLiteral("export-csv");
const QString StyleOptionName = QStringLiteral("csv-style");

void print(FILE *stream, const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

namespace CommandLineExport {

std::optional<LanguageTable> chosenLanguageTexts()
{
    try {
        std::optional<LanguageTable> texts(LanguageTable::builtIn());
        // Where the window stores its language choice.
        const std::optional<QString> key =
            RegistryKey(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\Lang")).readString(QStringLiteral("CurLang"));
        if (key) {
            if (const std::optional<int> column = LanguageKey::column(*key))
                texts->applyLanguageColumn(*column);
        }
        return texts;
    } catch (...) {
        // No settings store or no texts: Polish built-ins, or the keys.
        return std::nullopt;
    }
}

QCommandLineOption option()
{
    return QCommandLineOption(OptionName, recordingText(u"record.cli.export_csv"), QStringLiteral("FILE"));
}

QCommandLineOption styleOption()
{
    return QCommandLineOption(StyleOptionName, recordingText(u"record.cli.csv_style"), QStringLiteral("STYLE"),
                              QStringLiteral("plain"));
}

bool asked(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (std::strcmp(a, "--") == 0)
            return false;
        if (std::strcmp(a, "--export-csv") == 0 || std::strncmp(a, "--export-csv=", 13) == 0)
            return true;
    }
    return false;
}

int run(QCommandLineParser &parser, const QStringList &arguments)
{
    const bool parsed = parser.parse(arguments);
    const QStringList outputs = parser.positionalArguments();
    const QString recording = parser.value(OptionName);
    if (!parsed || recording.isEmpty() || outputs.size() != 1) {
        if (!parsed)
            print(stderr, parser.errorText());
        print(stderr, recordingText(u"record.export_usage"));
        return 1;
    }

    const std::optional<CsvExport::Style> style = CsvExport::styleNamed(parser.value(StyleOptionName));
    if (!style) {
        print(stderr, recordingText(u"record.cli.csv_style_unknown").arg(parser.value(StyleOptionName)));
        print(stderr, recordingText(u"record.export_usage"));
        return 1;
    }
    const CsvExport::Outcome outcome = CsvExport::exportRecording(recording, outputs.first(), *style);
    if (!outcome.ok) {
        print(stderr, outcome.error);
        return 1;
    }
    if (outcome.truncatedTail)
        print(stderr, recordingText(u"record.truncated_tail").arg(QDir::toNativeSeparators(recording)));
    print(stdout, recordingText(u"record.exported")
                      .arg(QString::number(outcome.rows), QDir::toNativeSeparators(outputs.first())));
    return 0;
}

} // namespace CommandLineExport
