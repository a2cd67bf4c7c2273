#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;

// The "Porty" menu: one item per serial port (component names "COM1".."COM30")
// followed by the connect and disconnect items, which always stay last.
// The rules here depend only on the menu, so they run without a window or
// a port.
class PortMenu
{
public:
    explicit PortMenu(QMenu *menu);

    // Every item but the last two.
    QList<QAction *> portItems() const;
    // Name of the first item of the menu, whatever it is.
    QString firstItemName() const;

    // Items named after a present port take that name as their caption.
    void captionPresentPorts(const QStringList &presentPorts);
    // Going from the last port item to the first, items whose caption does
    // not begin with "COM" are taken out of the menu and destroyed.
    void removeAbsentPorts();
    // Checks every port item named portName; others keep their mark.
    void checkPortNamed(const QString &portName);
    // Unchecks every port item, then checks item.
    void checkOnly(QAction *item);

private:
    QMenu *m_menu;
};
