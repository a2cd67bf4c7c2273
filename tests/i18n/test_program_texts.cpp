// The program's own keyed texts: what a translator may write, what is refused
// with the place named, and that they follow the chosen language like the
// numbered message rows do.
#include "i18n/LanguageTable.h"
#include "i18n/TextTableError.h"
#include "i18n/TextTableParser.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>

#include <string>

namespace {

const QByteArray kNotSent = "settings.not_sent\tpl\t\"Nie wysłano\"\n"
                            "settings.not_sent\ten\t\"Not sent\"\n"
                            "settings.not_sent\tde\t\"Nicht gesendet\"\n"
                            "settings.not_sent\tcs\t\"Neodesláno\"\n";

std::string refusal(const QByteArray &file)
{
    try {
        TextTableParser::parseKeyed(file);
    } catch (const TextTableError &e) {
        return e.what();
    }
    return "accepted";
}

TEST(ProgramTexts, ReadsEveryLanguageAndStartsInPolish)
{
    const KeyedTextCells cells = TextTableParser::parseKeyed("# comment\n\n" + kNotSent + "settings.not_sent\tru\t\"Ru\"\n");
    ASSERT_EQ(cells.size(), 1);
    const auto &texts = cells.value(QStringLiteral("settings.not_sent"));
    EXPECT_EQ(texts[0], QStringLiteral("Nie wysłano"));
    EXPECT_EQ(texts[1], QStringLiteral("Nicht gesendet"));
    EXPECT_EQ(texts[2], QStringLiteral("Not sent"));
    EXPECT_EQ(texts[3], QStringLiteral("Nie wysłano"));
    EXPECT_EQ(texts[4], QStringLiteral("Ru"));
    EXPECT_EQ(texts[5], QStringLiteral("Neodesláno"));
}

struct BrokenCase
{
    const char *name;
    QByteArray file;
    const char *expected; // part of the message
};

// Listings and failures name the case, not its bytes.
void PrintTo(const BrokenCase &c, std::ostream *os)
{
    *os << c.name;
}

class ProgramTextsRefused : public ::testing::TestWithParam<BrokenCase>
{
};

TEST_P(ProgramTextsRefused, NamesWhatIsWrong)
{
    EXPECT_NE(refusal(GetParam().file).find(GetParam().expected), std::string::npos) << refusal(GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProgramTextsRefused,
    ::testing::Values(
        BrokenCase{"MissingCzech",
                   "a.b\tpl\t\"x\"\na.b\ten\t\"x\"\na.b\tde\t\"x\"\n", "\"a.b\" has no \"cs\" text"},
        BrokenCase{"SecondText", kNotSent + "settings.not_sent\ten\t\"Again\"\n", "line 5: \"settings.not_sent\" has a second \"en\""},
        BrokenCase{"UpperCaseKey", "Settings.x\tpl\t\"x\"\n", "line 1: expected a key"},
        BrokenCase{"NumberAsKey", "12\tpl\t\"x\"\n", "line 1: expected a key"},
        BrokenCase{"StartColumn", "a.b\tstart\t\"x\"\n", "no \"start\" text"},
        BrokenCase{"UnquotedText", "a.b\tpl\tx\n", "double quotes"}),
    [](const ::testing::TestParamInfo<BrokenCase> &info) { return std::string(info.param.name); });

TEST(ProgramTexts, FollowTheAppliedLanguage)
{
    QFile rows(QStringLiteral(":/i18n/texts.tsv"));
    LanguageTable builtIn = LanguageTable::builtIn(); // also loads the resource
    ASSERT_TRUE(rows.open(QIODevice::ReadOnly));
    LanguageTable table = LanguageTable::fromData(rows.readAll(), kNotSent);

    EXPECT_EQ(table.programText(u"settings.not_sent"), QStringLiteral("Nie wysłano"));
    ASSERT_TRUE(table.applyLanguageColumn(LanguageTable::English));
    EXPECT_EQ(table.programText(u"settings.not_sent"), QStringLiteral("Not sent"));
    EXPECT_EQ(table.programText(u"settings.not_sent", LanguageTable::Czech), QStringLiteral("Neodesláno"));
    // A slip in a key shows as the key, never as an empty text.
    EXPECT_EQ(table.programText(u"settings.no_such"), QStringLiteral("settings.no_such"));
    EXPECT_FALSE(table.hasProgramText(u"settings.no_such"));
}

} // namespace
