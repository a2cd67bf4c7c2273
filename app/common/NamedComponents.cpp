#include "app/common/NamedComponents.h"

#include <QWidget>

QObject *NamedComponents::lookup(const QString &name)
{
    if (!m_root)
        return nullptr;
    auto it = m_cache.find(name);
    if (it != m_cache.end() && *it)
        return *it;
    // A control wins over a non-widget object (timer, layout) of the same name.
    QObject *found = m_root->objectName() == name ? m_root.data() : m_root->findChild<QWidget *>(name);
    if (!found)
        found = m_root->findChild<QObject *>(name);
    m_cache.insert(name, found);
    return found;
}
