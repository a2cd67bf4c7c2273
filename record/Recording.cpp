#include "record/Recording.h"

#include "i18n/LanguageTable.h"
#include "record/RecordFormat.h"

#include <QDir>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

const LanguageTable *g_texts = nullptr;

// Built on first use only: the window hands over its own table before it
// ever needs a message, and the command line export loads one itself.
const LanguageTable *builtInTexts()
{
    static const std::optional<LanguageTable> table = []() -> std::optional<LanguageTable> {
        try {
            return LanguageTable::builtIn();
        } catch (...) {
            return std::nullopt; // the key itself is shown instead
        }
    }();
    return table ? &*table : nullptr;
}

} // namespace

QVector<LinkGap> linkGapsOf(const QVector<RecordEntry> &entries)
{
    QVector<LinkGap> gaps;
    std::optional<qint64> last;
    for (const RecordEntry &entry : entries) {
        if (entry.kind != RecordKind::Answer)
            continue;
        if (last && entry.ms - *last > LinkGapMs)
            gaps.append({*last, entry.ms});
        last = entry.ms;
    }
    return gaps;
}

std::optional<LinkGap> linkGapAt(const QVector<LinkGap> &gaps, qint64 ms)
{
    // The last gap that begins before `ms`.
    const auto after = std::lower_bound(gaps.cbegin(), gaps.cend(), ms,
                                        [](const LinkGap &gap, qint64 t) { return gap.fromMs < t; });
    if (after == gaps.cbegin() || ms >= (after - 1)->toMs)
        return std::nullopt;
    return *(after - 1);
}

void setRecordingTexts(const LanguageTable *texts)
{
    g_texts = texts;
}

const LanguageTable *recordingTexts()
{
    return g_texts;
}

QString recordingText(QStringView key)
{
    const LanguageTable *texts = g_texts ? g_texts : builtInTexts();
    return texts ? texts->programText(key) : key.toString();
}

static QString errorText(const QString &path, const RecordingError &error,
                         const std::function<QString(QStringView)> &text)
{
    const QString file = QDir::toNativeSeparators(path);
    switch (error.code) {
    case RecordingError::Code::None:
        return {};
    case RecordingError::Code::CannotOpen:
        return text(u"record.cannot_open").arg(file, error.detail);
    case RecordingError::Code::NotARecording:
        return text(u"record.not_a_recording").arg(file);
    case RecordingError::Code::NewerVersion:
        return text(u"record.newer_version").arg(file, error.detail, QString::number(RecordFormat::Version));
    case RecordingError::Code::Damaged:
        if (error.endsInHeader)
            return text(u"record.ends_in_header").arg(file);
        return text(u"record.damaged").arg(file, QString::number(qMax<qint64>(error.offset, 0)));
    }
    return {};
}

QString recordingErrorText(const QString &path, const RecordingError &error)
{
    return errorText(path, error, [](QStringView key) { return recordingText(key); });
}

QString recordingErrorText(const QString &path, const RecordingError &error, const LanguageTable &texts)
{
    return errorText(path, error, [&texts](QStringView key) { return texts.programText(key); });
}
