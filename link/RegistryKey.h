#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// One key of the per-machine settings store, addressed like a registry path:
// "HKEY_LOCAL_MACHINE\\Software\\ZENU\\ComPort1" (root name matched without
// regard to case; HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER are accepted).
//
// On Windows this is the native registry. Elsewhere both roots map to one
// INI file in the user's configuration folder (QStandardPaths
// GenericConfigLocation + "/ZENU/ZENU.ini"); key paths, value names, types and
// texts are unchanged. The key is opened (created if missing) at construction
// and closed when the object goes away, as each use opens and closes it.
//
// Failures (unknown root, store not writable or unreadable) throw
// std::runtime_error; callers turn them into their own fixed messages.
class RegistryKey
{
public:
    explicit RegistryKey(const QString &path);
    ~RegistryKey();
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    bool contains(const QString &name) const;
    std::optional<QString> readString(const QString &name) const;
    std::optional<int> readInt(const QString &name) const;
    void writeString(const QString &name, const QString &value);
    void writeInt(const QString &name, int value);
    void remove(const QString &name);
    QStringList valueNames() const;
    // Pushes the writes to the backing store; throws when that fails.
    void flush();

    // Where the store lives on this platform (for the README and tests).
    static QString storeLocation();

private:
    struct Private;
    Private *d;
};
