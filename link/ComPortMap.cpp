#include "link/ComPortMap.h"

#include "link/RegistryKey.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

ComPortMap::ComPortMap(const QMap<QString, QString> &entries)
    : m_entries(entries)
{
}

ComPortMap ComPortMap::read(const RegistryKey &key)
{
    QMap<QString, QString> entries;
    for (const QString &name : key.valueNames())
        entries.insert(name, key.readString(name).value_or(QString()));
    return ComPortMap(entries);
}

void ComPortMap::writeAdded(RegistryKey &key) const
{
    for (auto it = m_added.cbegin(); it != m_added.cend(); ++it)
        key.writeString(it.key(), it.value());
}

int ComPortMap::comNumber(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^COM([1-9][0-9]{0,8})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QStringList ComPortMap::assign(const QStringList &enumerated, const Resolver &resolve)
{
    QSet<QString> covered; // canonical paths that already have a name
    QSet<int> used;
    QStringList names;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        const int n = comNumber(it.key());
        if (n == 0)
            continue;
        used.insert(n);
        const QString canonical = resolve(it.value());
        if (canonical.isEmpty())
            continue;
        covered.insert(canonical);
        names << QStringLiteral("COM%1").arg(n);
    }

    // Sorted so that several new devices get their numbers in a stable order.
    QStringList fresh = enumerated;
    fresh.sort();
    for (const QString &device : std::as_const(fresh)) {
        const QString canonical = resolve(device);
        if (canonical.isEmpty() || covered.contains(canonical))
            continue;
        int n = 1;
        while (n <= kMaxNumber && used.contains(n))
            ++n;
        if (n > kMaxNumber)
            break; // the port menu has no item beyond COM30
        const QString name = QStringLiteral("COM%1").arg(n);
        used.insert(n);
        covered.insert(canonical);
        m_entries.insert(name, device);
        m_added.insert(name, device);
        names << name;
    }

    names.removeDuplicates();
    names.sort(Qt::CaseSensitive);
    return names;
}

QString ComPortMap::deviceFor(const QString &comName) const
{
    const int wanted = comNumber(comName);
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (it.key().compare(comName, Qt::CaseInsensitive) == 0
            || (wanted != 0 && comNumber(it.key()) == wanted))
            return it.value();
    }
    return {};
}
