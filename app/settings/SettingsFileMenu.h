#pragma once

#include "app/settings/SettingsFileView.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class DataFileMenu;
class QAction;
class Session;
class SettingTexts;
class SettingsCompareDialog;
class SettingsPanel;
class WindowShell;

// "Plik" > "Pokaż plik ustawień…" and "Porównaj z plikiem…": settings data
// files looked at without writing them into a controller. Viewing is offered
// while no controller is connected (also from the command line); comparing
// while connected (the controller's block against a file) or while a file is
// viewed (that file against another). Connecting ends the view.
class SettingsFileMenu : public QObject
{
public:
    struct Window
    {
        WindowShell &shell;
        Session &session;
        SettingsPanel &settings;
        DataFileMenu &dataFile;
        // Point k (1..246) of the correction map the window holds, edits included.
        std::function<int(int k)> mapPoint;
    };
    // The file the user chose (the dialog's title given); empty when
    // cancelled. Tests answer instead of the dialog.
    using FileChooser = std::function<QString(const QString &title)>;
    // Runs the comparison dialog; modal unless a test runs it otherwise.
    using DialogRunner = std::function<void(SettingsCompareDialog &dialog)>;

    explicit SettingsFileMenu(Window window, QObject *parent = nullptr);
    ~SettingsFileMenu() override;

    void setFileChooser(FileChooser chooser) { m_choose = std::move(chooser); }
    void setDialogRunner(DialogRunner runner) { m_run = std::move(runner); }

    // Shows a settings file on the window (the menu's item, `zenu FILE.zen`).
    // False, with the window unchanged, while connected or for a file that is
    // not a settings file (the user is told).
    bool viewFile(const QString &path);
    void viewClick();
    void compareClick();

    // The controller's block is on the controls: a file shown gives way.
    void controllerBlockApplied();
    // After a language change.
    void retranslate();

    SettingsFileView &view() { return *m_view; }
    QAction *viewItem() const { return m_viewItem; }
    QAction *compareItem() const { return m_compareItem; }

private:
    bool connected() const;
    // Offers each item when it makes sense; each time "Plik" opens.
    void refresh();
    QString text(const char *key) const;
    SettingTexts settingTexts() const;
    QString chooseFile(const char *titleKey);
    // The controller's block as the window holds it now.
    QByteArray controllerBlock() const;

    Window m_window;
    std::unique_ptr<SettingsFileView> m_view;
    QAction *m_viewItem = nullptr;
    QAction *m_compareItem = nullptr;
    FileChooser m_choose;
    DialogRunner m_run;
};
