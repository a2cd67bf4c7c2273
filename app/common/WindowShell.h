#pragma once

#include <QString>
#include <QWidget>

class LanguageTable;
class QMenu;
class QTabWidget;

// What a room may ask of the main window it is part of: the window itself (a
// parent for boxes, and the root below which every component is found by its
// name), its texts, its status panel, and the menus and pages that rooms add
// to or lock. The main window implements it; a room is handed it and never
// includes the main window.
class WindowShell
{
public:
    virtual QWidget *root() const = 0;
    // The program's texts; absent only if the built-in table could not be read.
    virtual LanguageTable *languageTable() = 0;
    // Name of the chosen language menu item ("PolskiPL" unless stored otherwise).
    virtual QString currentLanguageKey() const = 0;
    // Panel 0 of the status bar.
    virtual QString statusPanelText() const = 0;
    virtual void setStatusPanelText(const QString &text) = 0;
    // "Plik", "Porty" and "Język".
    virtual QMenu *fileMenu() const = 0;
    virtual QMenu *portMenu() const = 0;
    virtual QMenu *languageMenu() const = 0;
    // The page control and the panel above it (`Panel1Gora`).
    virtual QTabWidget *pages() const = 0;
    virtual QWidget *topPanel() const = 0;

    // Any component by its name, e.g. component<QComboBox>("Sel_cyl").
    template <class T = QWidget>
    T *component(const QString &name) const
    {
        return root()->findChild<T *>(name);
    }

protected:
    ~WindowShell() = default;
};
