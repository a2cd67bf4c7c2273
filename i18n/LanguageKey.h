#pragma once

#include <QString>

#include <optional>

// The language key is the name of a "Język" menu item, stored as "CurLang".
// Keys compare exactly (case-sensitive), as the stored value is matched
// against the menu item names.
class LanguageKey
{
public:
    // The key used when nothing is stored.
    static QString defaultKey() { return QStringLiteral("PolskiPL"); }

    // The LanguageTable column of a key; nothing for an unknown key.
    static std::optional<int> column(const QString &key);

    // The key of a language column (German .. Czech); empty for any other column.
    static QString forColumn(int column);

    // Whether the key names a language the user can choose; the Russian
    // column is only a placeholder, its menu item is disabled.
    static bool isSelectable(const QString &key);
};
