#include "app/window/MainMenu.h"

#include "app/common/FlagIcon.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction *item(QMenu *menu, const QString &name, const QString &text)
{
    auto *a = new QAction(text, menu);
    a->setObjectName(name);
    menu->addAction(a);
    return a;
}

QMenu *topMenu(QMainWindow *window, const QString &name, const QString &title)
{
    auto *m = new QMenu(title, window);
    m->setObjectName(name);
    window->menuBar()->addMenu(m);
    return m;
}

} // namespace

MainMenu MainMenu::build(QMainWindow *window)
{
    window->menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu menus;

    menus.file = topMenu(window, QStringLiteral("Pliki1"), QStringLiteral("Plik"));
    // Loading, saving and the factory reset make sense only once connected.
    for (const auto &[name, text] : {std::pair{"Odczyt1", "Odczyt"}, {"Zapis1", "Zapis"}, {"Reset1", "Reset"}}) {
        QAction *a = item(menus.file, QString::fromLatin1(name), QString::fromLatin1(text));
        a->setVisible(false);
        a->setEnabled(false);
    }
    menus.file->addSeparator()->setObjectName(QStringLiteral("N1"));
    item(menus.file, QStringLiteral("Exit1"), QStringLiteral("Exit"));

    menus.ports = topMenu(window, QStringLiteral("PortCOM"), QStringLiteral("Porty"));
    for (int n = 1; n <= 30; ++n)
        item(menus.ports, QStringLiteral("COM%1").arg(n), QString::number(n))->setCheckable(true);
    item(menus.ports, QStringLiteral("polacz"), QStringLiteral("Połącz"));
    item(menus.ports, QStringLiteral("rozlacz1"), QStringLiteral("Rozłącz"));

    menus.language = topMenu(window, QStringLiteral("Jazyk"), QStringLiteral("Język"));
    const std::pair<const char *, const char *> languages[] = {
        {"NiemieckiDE", "Deutsch"}, {"AngielskiGB", "English"}, {"PolskiPL", "Polski"},
        {"Russian", "Russian"},     {"Ceski", "Ceski"}};
    for (const auto &[name, text] : languages) {
        QAction *a = item(menus.language, QString::fromLatin1(name), QString::fromLatin1(text));
        a->setCheckable(true);
        a->setIcon(FlagIcon::forLanguage(a->objectName()));
    }
    menus.language->findChild<QAction *>(QStringLiteral("PolskiPL"))->setChecked(true);
    menus.language->findChild<QAction *>(QStringLiteral("Russian"))->setEnabled(false);
    return menus;
}
