#include "app/window/PortMenu.h"

#include <QAction>
#include <QMenu>

PortMenu::PortMenu(QMenu *menu) : m_menu(menu) {}

QList<QAction *> PortMenu::portItems() const
{
    QList<QAction *> items = m_menu->actions();
    items.resize(qMax<qsizetype>(0, items.size() - 2));
    return items;
}

QString PortMenu::firstItemName() const
{
    const QList<QAction *> items = m_menu->actions();
    return items.isEmpty() ? QString() : items.first()->objectName();
}

void PortMenu::captionPresentPorts(const QStringList &presentPorts)
{
    const QList<QAction *> items = portItems();
    for (const QString &port : presentPorts) {
        for (QAction *item : items) {
            if (item->objectName() == port)
                item->setText(port);
        }
    }
}

void PortMenu::removeAbsentPorts()
{
    const QList<QAction *> items = portItems();
    for (auto it = items.crbegin(); it != items.crend(); ++it) {
        QAction *item = *it;
        if (!item->text().startsWith(QLatin1String("COM"))) {
            m_menu->removeAction(item);
            delete item;
        }
    }
}

void PortMenu::checkPortNamed(const QString &portName)
{
    for (QAction *item : portItems()) {
        if (item->objectName() == portName)
            item->setChecked(true);
    }
}

void PortMenu::checkOnly(QAction *item)
{
    for (QAction *other : portItems())
        other->setChecked(false);
    item->setChecked(true);
}
