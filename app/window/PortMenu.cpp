#include "app/window/PortMenu.h"

#include <QAction>
#include <QMenu>

PortMenu::PortMenu(QMenu *menu) : m_menu(menu) {}

QList<QAction *> PortMenu::portItems() const
{
    QList<QAction *> items;
    for (QAction *item : m_menu->actions()) {
        if (item->objectName() == QLatin1String("polacz"))
            break;
        items << item;
    }
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

namespace {

constexpr int MenuPortCount = 30;

// 1..30 for "COM1".."COM30", 0 for any other name.
int comNumber(const QString &name)
{
    if (!name.startsWith(QLatin1String("COM")))
        return 0;
    bool ok = false;
    const int n = name.mid(3).toInt(&ok);
    return ok && n >= 1 && n <= MenuPortCount && name == QStringLiteral("COM%1").arg(n) ? n : 0;
}

} // namespace

QStringList PortMenu::menuPorts(const QStringList &presentPorts)
{
    QStringList ports;
    for (int n = 1; n <= MenuPortCount; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        if (presentPorts.contains(name))
            ports << name;
    }
    return ports;
}

void PortMenu::relist(const QStringList &ports, const QString &current, const std::function<void(QAction *)> &added)
{
    for (QAction *item : portItems()) {
        if (!ports.contains(item->objectName())) {
            m_menu->removeAction(item);
            delete item;
        }
    }
    // Each wanted port in order: kept where it is, or made and put before
    // the first item of a higher number (or the connect item).
    for (qsizetype i = 0; i < ports.size(); ++i) {
        const QList<QAction *> items = portItems();
        QAction *item = nullptr;
        for (QAction *a : items) {
            if (a->objectName() == ports[i])
                item = a;
        }
        if (!item) {
            QAction *before = nullptr;
            for (QAction *a : m_menu->actions()) {
                const int n = comNumber(a->objectName());
                if (a->objectName() == QLatin1String("polacz") || (n > comNumber(ports[i]))) {
                    before = a;
                    break;
                }
            }
            item = new QAction(ports[i], m_menu);
            item->setObjectName(ports[i]);
            item->setCheckable(true);
            m_menu->insertAction(before, item);
            if (added)
                added(item);
        }
        item->setText(ports[i]);
        item->setChecked(ports[i] == current);
    }
}
