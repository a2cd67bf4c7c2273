#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;

// The "Porty" menu: one item per serial port (component names "COM1".."COM30")
// followed by the connect and disconnect items (and, after them, the
// window's own options, such as reconnecting by itself).
// The rules here depend only on the menu, so they run without a window or
// a port.
class PortMenu
{
public:
    explicit PortMenu(QMenu *menu);

    // Every item before the connect item.
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

    // The menu follows the adapters: it is listed again each time it opens.
    // The names of `presentPorts` the menu can hold ("COM1".."COM30"), in
    // number order.
    static QStringList menuPorts(const QStringList &presentPorts);
    // Port items for exactly `ports` (in that order, before the connect
    // item), checked when named `current`. Items that stay are kept as they
    // are (with their connections); each new one is handed to `added`.
    void relist(const QStringList &ports, const QString &current, const std::function<void(QAction *)> &added);

private:
    QMenu *m_menu;
};
