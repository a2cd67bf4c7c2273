#include "link/SessionLanguageStore.h"

#include "link/ESerialPort.h"
#include "link/RegistryKey.h"

#include <exception>

void SessionLanguageStore::storeLanguageKey(const QString &key)
{
    try {
        RegistryKey lang(KeyPath);
        lang.writeString(ValueName, key);
        lang.flush();
    } catch (const std::exception &) {
        // Same words as the port settings' store failure one step earlier.
        throw ESerialPort(QStringLiteral("Failed to store settings"));
    }
}
