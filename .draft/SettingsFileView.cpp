#include "SettingsFileView.h"

#include "settings/SettingsFile.h"

#include <QDir>
#include <QFileInfo>

SettingsFileView::SettingsFileView(Window window) : m_window(std::move(window)) {}

bool SettingsFileView::open(const QString &path)
{
    if (m_window.connected && m_window.connected())
        return false;
    const SettingsFile::Loaded loaded = SettingsFile::load(path);
    if (loaded.failure == SettingsFile::Failure::Unreadable) {
        m_window.message(m_window.text("datafile.read_failed").arg(QDir::toNativeSeparators(path), loaded.reason));
        return false;
    }
    if (!loaded.ok()) {
        m_window.message(DataFileError);
        return false;
    }
    if (!viewing()) {
        m_ownTitle = m_window.title();
        m_ownStatus = m_window.statusText();
    }
    m_path = path;
    m_block = loaded.block;
    m_window.apply(m_block);
    showNames();
    return true;
}

void SettingsFileView::showNames()
{
    const QString name = QFileInfo(m_path).fileName();
    m_window.setTitle(m_window.text("offline.title").arg(name));
    m_window.setStatusText(m_window.text("offline.status").arg(QDir::toNativeSeparators(m_path)));
}

void SettingsFileView::retranslate()
{
    if (viewing())
        showNames();
}

void SettingsFileView::end()
{
    if (!viewing())
        return;
    const QString shownTitle = m_window.text("offline.title").arg(QFileInfo(m_path).fileName());
    const QString shownStatus = m_window.text("offline.status").arg(QDir::toNativeSeparators(m_path));
    m_path.clear();
    m_block.clear();
    // A new connection may have written the status panel already (the
    // controller's version); only the file's own texts are taken back.
    if (m_window.title() == shownTitle)
        m_window.setTitle(m_ownTitle);
    if (m_window.statusText() == shownStatus)
        m_window.setStatusText(m_ownStatus);
}
