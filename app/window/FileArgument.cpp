#include "app/window/FileArgument.h"

#include "app/common/HandlerGuard.h"
#include "app/common/UserMessage.h"
#include "app/recording/RecordingRoom.h"
#include "app/recording/ReplayPanel.h"
#include "app/window/TZENU.h"
#include "i18n/LanguageTable.h"
#include "record/RecordFormat.h"
#include "record/Recording.h"
#include "settings/DataFile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

#include <string_view>

namespace FileArgument {

namespace {

// The start of a settings file's header without its version, as the
// desktop's file type (packaging/zenu-mime.xml.in) matches it.
constexpr QByteArrayView SettingsHead("ZENU DATA FILE v");
static_assert(SettingsHead.size() <= HeadSize && RecordFormat::MagicSize <= HeadSize);
static_assert(std::string_view(DataFile::Magic).starts_with(std::string_view(SettingsHead.data(), 16)));

QString text(const LanguageTable *texts, QStringView key)
{
    return texts ? texts->programText(key) : key.toString();
}

} // namespace

Kind kindOf(QStringView fileName, QByteArrayView head)
{
    if (head.startsWith(QByteArrayView(RecordFormat::Magic, RecordFormat::MagicSize)))
        return Kind::Recording;
    if (head.startsWith(SettingsHead))
        return Kind::SettingsFile;
    if (fileName.endsWith(u".zrec", Qt::CaseInsensitive))
        return Kind::Recording;
    if (fileName.endsWith(u".zen", Qt::CaseInsensitive))
        return Kind::SettingsFile;
    return Kind::Unknown;
}

void open(const QStringList &files, const Actions &actions, const LanguageTable *texts)
{
    if (files.isEmpty())
        return;
    if (files.size() > 1) {
        QStringList shown;
        for (const QString &f : files)
            shown << QDir::toNativeSeparators(f);
        actions.tell(text(texts, u"open.one_file").arg(shown.join(QLatin1Char('\n'))));
        return;
    }
    const QString &path = files.first();
    const QString shownPath = QDir::toNativeSeparators(path);
    QFile file(path);
    // A folder opens on some systems; it is no file to read either way.
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        const QString reason = QFileInfo(path).isDir() ? QString() : file.errorString();
        actions.tell(text(texts, u"open.cannot_read").arg(shownPath, reason));
        return;
    }
    const QByteArray head = file.read(HeadSize);
    file.close();
    switch (kindOf(QFileInfo(path).fileName(), head)) {
    case Kind::Recording:
        actions.replay(path);
        return;
    case Kind::SettingsFile:
        actions.viewSettings(path);
        return;
    case Kind::Unknown:
        actions.tell(text(texts, u"open.unknown").arg(shownPath));
        return;
    }
}

void add(QCommandLineParser &parser)
{
    // The help text speaks the texts in use, as the other options do.
    parser.addPositionalArgument(QStringLiteral("FILE"), recordingText(u"open.cli.file"), QStringLiteral("[FILE]"));
}

void apply(const QCommandLineParser &parser, TZENU &window)
{
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return;
    QTimer::singleShot(0, &window, [w = QPointer<TZENU>(&window), files] {
        if (!w)
            return;
        HandlerGuard::run(w, [&] {
            const LanguageTable *texts = w->languageTable();
            Actions actions;
            actions.replay = [&](const QString &path) { w->recording().replay().open(path); };
            actions.viewSettings = [&](const QString &path) { w->viewSettingsFile(path); };
            actions.tell = [&](const QString &message) { UserMessage::show(w, message); };
            open(files, actions, texts);
        });
    });
}

} // namespace FileArgument
