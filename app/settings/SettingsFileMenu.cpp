#include "app/settings/SettingsFileMenu.h"

#include "app/common/HandlerGuard.h"
#include "app/common/UserMessage.h"
#include "app/common/WindowShell.h"
#include "app/settings/DataFileMenu.h"
#include "app/settings/SettingsCompareDialog.h"
#include "app/settings/SettingsPanel.h"

#include "i18n/LanguageKey.h"
#include "i18n/LanguageTable.h"
#include "link/Session.h"
#include "settings/SettingTexts.h"
#include "settings/SettingsDecoder.h"
#include "settings/SettingsFile.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>

SettingsFileMenu::SettingsFileMenu(Window window, QObject *parent) : QObject(parent), m_window(window)
{
    WindowShell &shell = m_window.shell;
    SettingsFileView::Window hooks;
    hooks.connected = [this] { return connected(); };
    hooks.apply = [this](const QByteArray &block) { m_window.settings.applyBlock(block); };
    hooks.title = [&shell] { return shell.root()->windowTitle(); };
    hooks.setTitle = [&shell](const QString &t) { shell.root()->setWindowTitle(t); };
    hooks.statusText = [&shell] { return shell.statusPanelText(); };
    hooks.setStatusText = [&shell](const QString &t) { shell.setStatusPanelText(t); };
    hooks.message = [&shell](const QString &t) { UserMessage::show(shell.root(), t); };
    hooks.text = [this](const char *key) { return text(key); };
    m_view = std::make_unique<SettingsFileView>(std::move(hooks));

    // After "Odczyt", "Zapis" and "Reset": the other things done with a
    // settings file.
    QMenu *file = shell.fileMenu();
    QAction *before = nullptr;
    const QList<QAction *> items = file->actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i]->objectName() == QLatin1String("Reset1") && i + 1 < items.size())
            before = items[i + 1];
    }
    m_viewItem = new QAction(this);
    m_viewItem->setObjectName(QStringLiteral("PokazPlik1"));
    m_compareItem = new QAction(this);
    m_compareItem->setObjectName(QStringLiteral("Porownaj1"));
    file->insertAction(before, m_viewItem);
    file->insertAction(before, m_compareItem);
    connect(m_viewItem, &QAction::triggered, this, [this] { viewClick(); });
    connect(m_compareItem, &QAction::triggered, this, [this] { compareClick(); });
    connect(file, &QMenu::aboutToShow, this, [this] { refresh(); });
    retranslate();
    refresh();
}

SettingsFileMenu::~SettingsFileMenu() = default;

bool SettingsFileMenu::connected() const
{
    return m_window.session.acceptsCommands();
}

QString SettingsFileMenu::text(const char *key) const
{
    const QString k = QString::fromLatin1(key);
    LanguageTable *table = m_window.shell.languageTable();
    return table ? table->programText(k) : k;
}

SettingTexts SettingsFileMenu::settingTexts() const
{
    const int column =
        LanguageKey::column(m_window.shell.currentLanguageKey()).value_or(int(LanguageTable::Polish));
    return SettingTexts(*m_window.shell.languageTable(), column, QLocale().decimalPoint().at(0));
}

QString SettingsFileMenu::chooseFile(const char *titleKey)
{
    const QString title = text(titleKey);
    if (m_choose)
        return m_choose(title);
    return QFileDialog::getOpenFileName(m_window.shell.root(), title, QString(), text("offline.file_filter"));
}

bool SettingsFileMenu::viewFile(const QString &path)
{
    bool shown = false;
    HandlerGuard::run(m_window.shell.root(), [&] { shown = m_view->open(path); });
    refresh();
    return shown;
}

void SettingsFileMenu::viewClick()
{
    if (connected())
        return;
    const QString path = chooseFile("offline.open_title");
    if (!path.isEmpty())
        viewFile(path);
}

void SettingsFileMenu::compareClick()
{
    HandlerGuard::run(m_window.shell.root(), [&] {
        if (!m_window.shell.languageTable())
            return;
        SettingsCompareDialog::Side a;
        if (connected()) {
            a = {text("compare.controller"), controllerBlock()};
        } else if (m_view->viewing()) {
            a = {QFileInfo(m_view->path()).fileName(), m_view->block()};
        } else {
            return;
        }
        const QString path = chooseFile("compare.open_title");
        if (path.isEmpty())
            return;
        const SettingsFile::Loaded loaded = SettingsFile::load(path);
        if (loaded.failure == SettingsFile::Failure::Unreadable) {
            UserMessage::show(m_window.shell.root(),
                              text("datafile.read_failed").arg(QDir::toNativeSeparators(path), loaded.reason));
            return;
        }
        if (!loaded.ok()) {
            UserMessage::show(m_window.shell.root(), SettingsFileView::DataFileError);
            return;
        }
        // The file dialog ran its own event loop: the link may have changed.
        const bool canLoad = connected();
        if (canLoad)
            a.block = controllerBlock();
        const SettingsCompareDialog::Side b{QFileInfo(path).fileName(), loaded.block};
        SettingsCompareDialog dialog(a, b, settingTexts(), canLoad, m_window.shell.root());
        dialog.setOnLoad([this, path] {
            HandlerGuard::run(m_window.shell.root(), [&] { m_window.dataFile.loadFile(path); });
        });
        if (m_run)
            m_run(dialog);
        else
            dialog.exec();
    });
}

QByteArray SettingsFileMenu::controllerBlock() const
{
    // Each change went to the controller when it was made, and no read-all
    // followed it: the controls and the map say what it holds.
    QByteArray block = m_window.settings.shownBlock(m_window.session.storedSettings());
    if (m_window.mapPoint && block.size() >= SettingsDecoder::MinimumBlockSize) {
        for (int k = 1; k <= SettingsRecord::MapPoints; ++k)
            block[SettingsDecoder::CorrectionMapOffset + k - 1] = char(uint8_t(m_window.mapPoint(k)));
    }
    return block;
}

void SettingsFileMenu::controllerBlockApplied()
{
    m_view->end();
    refresh();
}

void SettingsFileMenu::refresh()
{
    const bool online = connected();
    m_viewItem->setEnabled(!online);
    m_compareItem->setEnabled(online || m_view->viewing());
}

void SettingsFileMenu::retranslate()
{
    m_viewItem->setText(text("offline.menu_view"));
    m_compareItem->setText(text("compare.menu"));
    m_view->retranslate();
}
