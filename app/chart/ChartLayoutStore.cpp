#include "app/chart/ChartLayoutStore.h"

#include "link/RegistryKey.h"

#include <optional>
#include <stdexcept>

namespace {

const QString KeyPath = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\Chart");
const QString ValueName = QStringLiteral("Panes");

} // namespace

namespace ChartLayoutStore {

QString load()
{
    try {
        return RegistryKey(KeyPath).readString(ValueName).value_or(QString());
    } catch (const std::exception &) {
        return {};
    }
}

void save(const QString &layoutText)
{
    try {
        RegistryKey key(KeyPath);
        key.writeString(ValueName, layoutText);
        key.flush();
    } catch (const std::exception &) {
        // The choice is not worth a message box; it is simply not kept.
    }
}

} // namespace ChartLayoutStore
