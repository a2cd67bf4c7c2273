#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

class RegistryKey;

// COM names ("COM1".."COM30") for serial devices on systems that have none.
// Each entry maps a COM name to a device path ("/dev/ttyUSB0"). A device seen
// without an entry gets the lowest free number, so it keeps that name from
// run to run; entries whose device is absent stay but are not listed, which
// keeps a number reserved for an adapter that is only unplugged. The user may
// edit the entries; anything not of the form COMn is left alone.
class ComPortMap
{
public:
    static constexpr int kMaxNumber = 30;

    // Where the map lives in the settings store.
    static QString storeKeyPath() { return QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\SERIALCOMM"); }

    // Turns a device path into its canonical form, or "" when it is absent.
    using Resolver = std::function<QString(const QString &devicePath)>;

    ComPortMap() = default;
    explicit ComPortMap(const QMap<QString, QString> &entries);

    static ComPortMap read(const RegistryKey &key);
    // Writes the entries given out by assign() since construction.
    void writeAdded(RegistryKey &key) const;

    // Names of the present devices, sorted as text. Present are the
    // enumerated devices and every entry whose device resolves; a present
    // device that no entry names is given a new entry.
    QStringList assign(const QStringList &enumerated, const Resolver &resolve);

    // Device path of a COM name (case-insensitive), "" when there is no entry.
    QString deviceFor(const QString &comName) const;

    QMap<QString, QString> entries() const { return m_entries; }
    QMap<QString, QString> added() const { return m_added; }

    // 1..n for "COMn" (any case), 0 for every other name.
    static int comNumber(const QString &name);

private:
    QMap<QString, QString> m_entries;
    QMap<QString, QString> m_added;
};
