#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

// The window's components by objectName, below one root widget. A live frame
// reaches some forty displays four times a second, so each name is searched
// for once and remembered; a component that has gone away is searched again.
class NamedComponents
{
public:
    explicit NamedComponents(QWidget *root) : m_root(root) {}

    QWidget *root() const { return m_root; }

    // nullptr when nothing of that name and type is there.
    template <class T = QWidget>
    T *find(const QString &name)
    {
        return qobject_cast<T *>(lookup(name));
    }

private:
    QObject *lookup(const QString &name);

    QPointer<QWidget> m_root;
    QHash<QString, QPointer<QObject>> m_cache;
};
