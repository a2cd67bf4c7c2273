// Qt's own texts (standard buttons, file dialogs) follow the window's language.
#include "app/window/QtTranslations.h"

#include "i18n/LanguageTable.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

QString cancelText() { return QCoreApplication::translate("QPlatformTheme", "Cancel"); }
QString lookInText() { return QCoreApplication::translate("QFileDialog", "Look in:"); }

struct LanguageCase {
    const char *name;
    int column;
    const char *locale;
    const char *cancel;
    const char *lookIn;
};

class QtTexts : public ::testing::TestWithParam<LanguageCase>
{
};

TEST_P(QtTexts, FollowTheLanguageAndComeBackToEnglish)
{
    const LanguageCase &c = GetParam();
    QtTranslations texts;
    ASSERT_TRUE(texts.apply(c.column)) << "Qt's catalogue for " << c.locale << " (Debian: qt6-translations-l10n)";
    EXPECT_EQ(texts.current(), QString::fromLatin1(c.locale));
    EXPECT_EQ(cancelText(), QString::fromUtf8(c.cancel));
    EXPECT_EQ(lookInText(), QString::fromUtf8(c.lookIn));
    // Another language replaces it; English is Qt's own.
    ASSERT_TRUE(texts.apply(LanguageTable::English));
    EXPECT_EQ(cancelText(), QStringLiteral("Cancel"));
    EXPECT_EQ(texts.current(), QStringLiteral("en"));
}

INSTANTIATE_TEST_SUITE_P(Languages, QtTexts,
                         ::testing::Values(LanguageCase{"Polish", LanguageTable::Polish, "pl", "Anuluj", "Szukaj w:"},
                                           LanguageCase{"German", LanguageTable::German, "de", "Abbrechen",
                                                        "Suchen in:"},
                                           LanguageCase{"Czech", LanguageTable::Czech, "cs", "Zrušit", "Hledat v:"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(QtTexts, AMissingCatalogueLeavesQtInEnglish)
{
    QtTranslations texts(QStringLiteral("/nonexistent"));
    EXPECT_FALSE(texts.apply(LanguageTable::Polish));
    EXPECT_EQ(texts.current(), QStringLiteral("en"));
    EXPECT_EQ(cancelText(), QStringLiteral("Cancel"));
    EXPECT_FALSE(texts.apply(LanguageTable::Russian)) << "a placeholder column is no language";
}

} // namespace
