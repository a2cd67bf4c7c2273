#include "settings/DiffCommand.h"

#include "settings/SettingTexts.h"
#include "settings/SettingsComparison.h"
#include "settings/SettingsDecoder.h"
#include "settings/SettingsFile.h"

#include "i18n/LanguageKey.h"
#include "i18n/LanguageTable.h"
#include "link/RegistryKey.h"
#include "link/SessionLanguageStore.h"

#include <QDir>
#include <QLocale>

#include <cstdio>
#include <cstring>
#include <optional>

namespace DiffCommand {

namespace {

const char OptionName[] = "--diff";

// The block of one file, or the message saying why there is none.
std::optional<SettingsRecord> recordOf(const QString &path, const SettingTexts &texts, QString &error)
{
    const SettingsFile::Loaded loaded = SettingsFile::load(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (loaded.failure == SettingsFile::Failure::Unreadable) {
        error = texts.programText("datafile.read_failed").arg(shown, loaded.reason);
        return std::nullopt;
    }
    std::optional<SettingsRecord> record;
    if (loaded.ok())
        record = SettingsDecoder::decode(loaded.block);
    if (!record)
        error = texts.programText("compare.not_settings_file").arg(shown);
    return record;
}

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

bool asked(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strcmp(argv[i], OptionName) == 0)
            return true;
    }
    return false;
}

QStringList files(const QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(QLatin1String(OptionName));
    if (at < 1 || arguments.size() != at + 3)
        return {};
    return arguments.mid(at + 1, 2);
}

Outcome compareFiles(const QString &a, const QString &b, const SettingTexts &texts)
{
    Outcome out;
    const std::optional<SettingsRecord> ra = recordOf(a, texts, out.err);
    if (!ra)
        return out;
    const std::optional<SettingsRecord> rb = recordOf(b, texts, out.err);
    if (!rb)
        return out;

    const SettingsComparison::Result result = SettingsComparison::compare(*ra, *rb);
    for (const SettingsComparison::Line &line : SettingsComparison::lines(result, texts))
        out.out += line.name + QLatin1Char('\t') + line.a + QLatin1Char('\t') + line.b + QLatin1Char('\n');
    out.exitCode = result.same() ? Same : Differ;
    return out;
}

int run(const QStringList &arguments)
{
    std::optional<LanguageTable> table;
    try {
        table.emplace(LanguageTable::builtIn());
    } catch (...) {
        print(stderr, QStringLiteral("zenu: the program's texts cannot be loaded\n"));
        return Failed;
    }
    int column = LanguageTable::Polish;
    try {
        const std::optional<QString> key =
            RegistryKey(SessionLanguageStore::KeyPath).readString(SessionLanguageStore::ValueName);
        if (key && LanguageKey::isSelectable(*key)) {
            if (const std::optional<int> chosen = LanguageKey::column(*key))
                column = *chosen;
        }
    } catch (...) {
        // No settings store: Polish, as the window starts.
    }
    const SettingTexts texts(*table, column, QLocale().decimalPoint().at(0));

    const QStringList pair = files(arguments);
    if (pair.size() != 2) {
        print(stderr, texts.programText("compare.diff_usage") + QLatin1Char('\n'));
        return Failed;
    }
    const Outcome outcome = compareFiles(pair[0], pair[1], texts);
    if (!outcome.err.isEmpty())
        print(stderr, outcome.err + QLatin1Char('\n'));
    print(stdout, outcome.out);
    return outcome.exitCode;
}

} // namespace DiffCommand
