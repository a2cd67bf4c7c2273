#include "sim/ComMap.h"

#include "link/RegistryKey.h"

namespace ComMap {

void add(const QString &comName, const QString &device)
{
    RegistryKey key(MapKey);
    key.writeString(comName, device);
    key.flush();
}

void select(const QString &comName)
{
    RegistryKey key(PortKey);
    key.writeString(QStringLiteral("Port"), comName);
    key.writeString(QStringLiteral("BaudRate"), QStringLiteral("Custom"));
    key.writeInt(QStringLiteral("CustomBaudRate"), 7200);
    key.writeString(QStringLiteral("StopBits"), QStringLiteral("1"));
    key.writeString(QStringLiteral("DataBits"), QStringLiteral("8"));
    key.writeString(QStringLiteral("Parity"), QStringLiteral("None"));
    key.writeString(QStringLiteral("FlowControl"), QStringLiteral("None"));
    key.flush();
}

void remove(const QString &comName, const QString &device)
{
    RegistryKey key(MapKey);
    if (key.readString(comName) == device) {
        key.remove(comName);
        key.flush();
    }
}

} // namespace ComMap
