#include "LanguageKey.h"

#include "LanguageTable.h"

#include <array>

namespace {

struct KeyColumn
{
    QLatin1StringView key;
    int column;
};

constexpr std::array<KeyColumn, 5> Keys{{
    {QLatin1StringView("NiemieckiDE"), LanguageTable::German},
    {QLatin1StringView("AngielskiGB"), LanguageTable::English},
    {QLatin1StringView("PolskiPL"), LanguageTable::Polish},
    {QLatin1StringView("Russian"), LanguageTable::Russian},
    {QLatin1StringView("Ceski"), LanguageTable::Czech},
}};

} // namespace

std::optional<int> LanguageKey::column(const QString &key)
{
    for (const KeyColumn &k : Keys) {
        if (key == k.key)
            return k.column;
    }
    return std::nullopt;
}

QString LanguageKey::forColumn(int column)
{
    for (const KeyColumn &k : Keys) {
        if (k.column == column)
            return QString(k.key);
    }
    return {};
}

bool LanguageKey::isSelectable(const QString &key)
{
    const std::optional<int> c = column(key);
    return c.has_value() && *c != LanguageTable::Russian;
}
