#include "sim/EngineFault.h"

#include <QStringList>

namespace EngineFault {
namespace {
constexpr Info table[Count] = {
    {"voltage", 34, 2, 2},
    {"pressure-high", 34, 3, 3},
    {"pressure-low", 34, 4, 4},
    {"ignition-voltage", 34, 5, 5},
    {"petrol-injection", 34, 6, 6},
    {"petrol-system", 34, 7, 7},
    {"settings", 48, 0, -1},
    {"supply", 48, 1, 8},
    {"injector", 35, 0, 0},
};
} // namespace

const Info &info(Id id) { return table[id]; }

std::optional<Id> byName(const QString &name)
{
    for (int i = 0; i < Count; ++i)
        if (name == QLatin1String(table[i].name))
            return Id(i);
    return std::nullopt;
}

QString names()
{
    QStringList n;
    for (const Info &i : table)
        n << QLatin1String(i.name);
    return n.join(QLatin1String(", "));
}

} // namespace EngineFault
