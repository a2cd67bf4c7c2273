// The language key (a "Język" menu item name) and the column it selects.
#include "i18n/LanguageKey.h"
#include "i18n/LanguageTable.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(LanguageKey, MapsEachMenuItemNameToItsColumn)
{
    struct Case
    {
        const char *key;
        std::optional<int> column;
        bool selectable;
    };
    const Case cases[] = {
        {"NiemieckiDE", LanguageTable::German, true},
        {"AngielskiGB", LanguageTable::English, true},
        {"PolskiPL", LanguageTable::Polish, true},
        {"Russian", LanguageTable::Russian, false},
        {"Ceski", LanguageTable::Czech, true},
        // The stored value is matched exactly.
        {"polskiPL", std::nullopt, false},
        {"POLSKIPL", std::nullopt, false},
        {"PolskiPL ", std::nullopt, false},
        {" Ceski", std::nullopt, false},
        {"Polski", std::nullopt, false},
        {"Czech", std::nullopt, false},
        {"", std::nullopt, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(LanguageKey::column(QString::fromLatin1(c.key)), c.column);
        EXPECT_EQ(LanguageKey::isSelectable(QString::fromLatin1(c.key)), c.selectable);
    }
}

TEST(LanguageKey, ColumnsMapBackToTheirKeys)
{
    for (int column = LanguageTable::German; column <= LanguageTable::Czech; ++column) {
        const QString key = LanguageKey::forColumn(column);
        EXPECT_FALSE(key.isEmpty()) << column;
        EXPECT_EQ(LanguageKey::column(key), column);
    }
    for (int column : {int(LanguageTable::Current), 6, -1})
        EXPECT_TRUE(LanguageKey::forColumn(column).isEmpty()) << column;
}

TEST(LanguageKey, DefaultIsPolish)
{
    EXPECT_EQ(LanguageKey::defaultKey(), QStringLiteral("PolskiPL"));
    EXPECT_EQ(LanguageKey::column(LanguageKey::defaultKey()), LanguageTable::Polish);
}

} // namespace
