#include "app/settings/DataFileMenu.h"

#include "app/common/HandlerGuard.h"
#include "app/common/StatusNotice.h"
#include "app/common/UserMessage.h"

#include "link/CommandBodies.h"
#include "link/Session.h"

#include "settings/DataFile.h"
#include "settings/SettingsEdits.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QPointer>
#include <QTime>
#include <QTimer>

#include <memory>
#include <utility>

DataFileMenu::DataFileMenu(QWidget *window, Session &session, Texts texts)
    : m_window(window), m_session(session), m_texts(std::move(texts))
{
}

QString DataFileMenu::text(const char *key) const
{
    const QString k = QString::fromLatin1(key);
    return m_texts ? m_texts(k) : k;
}

QFileDialog *DataFileMenu::makeDialog(Dialog which, QWidget *parent)
{
    auto *dialog = new QFileDialog(parent);
    if (which == Dialog::Save) {
        dialog->setObjectName(QStringLiteral("SaveDialog1"));
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setNameFilter(QStringLiteral("*.zen data file (*.zen)"));
        // An existing file is replaced without a question; ".zen" is added
        // by the save itself, not by the dialog.
        dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog->setObjectName(QStringLiteral("OpenDialog1"));
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setNameFilter(QStringLiteral("*.zen  data file (*.zen)"));
    }
    return dialog;
}

QString DataFileMenu::defaultFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents.isEmpty() ? QDir::homePath() : documents).filePath(QStringLiteral("ZENU"));
}

QString DataFileMenu::dialogFolder() const
{
    if (!m_lastFolder.isEmpty() && QFileInfo(m_lastFolder).isDir())
        return m_lastFolder;
    const QString folder = defaultFolder();
    QDir().mkpath(folder);
    return folder;
}

QString DataFileMenu::chooseFile(Dialog which)
{
    QString chosen;
    if (m_choose) {
        chosen = m_choose(which);
    } else {
        std::unique_ptr<QFileDialog> dialog(makeDialog(which, m_window));
        // Not the folder the program happened to be started from.
        dialog->setDirectory(dialogFolder());
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return {};
        chosen = dialog->selectedFiles().constFirst();
    }
    if (!chosen.isEmpty())
        m_lastFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}

bool DataFileMenu::connectedOrSay(const char *offlineKey)
{
    if (m_session.acceptsCommands())
        return true;
    StatusNotice::show(m_window, text(offlineKey));
    return false;
}

void DataFileMenu::Zapis1Click(QObject *sender)
{
    HandlerGuard::run(m_window, [&] {
        if (sender)
            startSave();
        else
            writeFile();
    });
}

void DataFileMenu::Odczyt1Click(QObject *)
{
    HandlerGuard::run(m_window, [&] { load(); });
}

void DataFileMenu::startSave()
{
    if (!connectedOrSay("datafile.save_offline"))
        return;
    const QString chosen = chooseFile(Dialog::Save);
    if (chosen.isEmpty())
        return;
    const QString name = DataFile::nameForSaving(chosen);
    // A file that cannot be written is found now, before the controller is
    // asked for anything.
    const QString reason = DataFileStore::checkSavable(name);
    if (!reason.isEmpty()) {
        UserMessage::show(m_window, text("datafile.save_failed").arg(QDir::toNativeSeparators(name), reason));
        return;
    }
    // The dialog ran its own event loop; the link may have ended meanwhile.
    if (!connectedOrSay("datafile.save_offline"))
        return;
    m_bound = name;
    m_session.setCommandRetries(Retries);
    m_session.beginLongExchange();
    m_session.QueueCommand(CommandBodies::dataFileSave());
    // The window stays locked for a few seconds while the block is read.
    StatusNotice::show(m_window, text("datafile.saving"));
}

void DataFileMenu::writeFile()
{
    if (m_bound.isEmpty())
        return;
    const QString name = std::exchange(m_bound, QString());
    const int seconds = m_seconds ? m_seconds() : QTime::currentTime().second();
    const QString reason = DataFileStore::save(name, DataFile::encode(m_session.storedSettings(), seconds), m_write);
    const QString shown = QDir::toNativeSeparators(name);
    if (reason.isEmpty()) {
        StatusNotice::show(m_window, text("datafile.saved").arg(shown));
        return;
    }
    tellLater(text("datafile.save_failed").arg(shown, reason));
}

void DataFileMenu::tellLater(const QString &message)
{
    // This runs inside the link's poll tick: a modal box now would run the
    // link's events under a half-finished tick. It opens once the tick is done.
    QTimer::singleShot(0, m_window, [window = QPointer<QWidget>(m_window), message] {
        UserMessage::show(window, message);
    });
}

void DataFileMenu::saveDropped(LinkView::SaveDropped why)
{
    if (m_bound.isEmpty())
        return;
    m_bound.clear();
    tellLater(text(why == LinkView::SaveDropped::ShortAnswer ? "datafile.save_short_answer"
                                                             : "datafile.save_group_unfinished"));
}

void DataFileMenu::load()
{
    if (!connectedOrSay("datafile.load_offline"))
        return;
    const QString name = chooseFile(Dialog::Open);
    if (name.isEmpty())
        return;
    loadFile(name);
}

void DataFileMenu::loadFile(const QString &name)
{
    const DataFileStore::ReadResult file = DataFileStore::read(name);
    if (!file.ok()) {
        UserMessage::show(m_window, text("datafile.read_failed").arg(QDir::toNativeSeparators(name), file.error));
        return;
    }
    const DataFile::Decoded decoded = DataFile::decodeForWriteAll(file.bytes);
    if (!decoded.ok()) {
        UserMessage::show(m_window, DataFileError);
        return;
    }
    if (!connectedOrSay("datafile.load_offline"))
        return;
    m_session.setCommandRetries(Retries);
    m_session.beginLongExchange();
    m_session.QueueCommand(
        SettingsEdits::dataFileLoad(decoded, m_session.storedSettings(), m_gasInUse && m_gasInUse()));
    m_loading = name;
    StatusNotice::show(m_window, text("datafile.loading"));
}

void DataFileMenu::settingsApplied()
{
    if (m_loading.isEmpty())
        return;
    StatusNotice::show(m_window, text("datafile.loaded").arg(QDir::toNativeSeparators(std::exchange(m_loading, {}))));
}

void DataFileMenu::linkEnded()
{
    if (!m_loading.isEmpty())
        StatusNotice::show(m_window, text("datafile.load_broken").arg(QDir::toNativeSeparators(std::exchange(m_loading, {}))));
    else if (!m_bound.isEmpty())
        StatusNotice::show(m_window, text("datafile.save_broken").arg(QDir::toNativeSeparators(std::exchange(m_bound, {}))));
}
