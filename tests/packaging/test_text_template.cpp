// The package's text files take their words from the program's text table:
// each language lands in its place, escaped for the file it goes into, and
// a placeholder that cannot be filled stops the build instead of shipping.
#include "i18n/TextTableParser.h"
#include "packaging/TextTemplate.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include <ostream>
#include <string>

namespace {

const KeyedTextCells &table()
{
    static const KeyedTextCells cells = TextTableParser::parseKeyed(
        "a.name\tpl\t\"Polski\"\n"
        "a.name\ten\t\"English\"\n"
        "a.name\tde\t\"Deutsch\"\n"
        "a.name\tcs\t\"Česky\"\n"
        "a.marks\tpl\t\"A & B <c> \\\"d\\\"\"\n"
        "a.marks\ten\t\"back\\\\slash\\ttab\\nline\"\n"
        "a.marks\tde\t\"x;y;\"\n"
        "a.marks\tcs\t\"-\"\n");
    return cells;
}

struct FillCase
{
    const char *name;
    const char *templ;
    TextTemplate::Escape escape;
    const char *expected;
};

void PrintTo(const FillCase &c, std::ostream *os)
{
    *os << c.name;
}

class TextTemplateFills : public ::testing::TestWithParam<FillCase>
{
};

TEST_P(TextTemplateFills, PutsEachLanguageInItsPlace)
{
    const TextTemplate::Result r = TextTemplate::fill(QString::fromUtf8(GetParam().templ), table(), GetParam().escape);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.text.toStdString(), std::string(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextTemplateFills,
    ::testing::Values(
        FillCase{"EveryLanguage",
                 "Name=@{a.name:en}\nName[pl]=@{a.name:pl}\nName[de]=@{a.name:de}\nName[cs]=@{a.name:cs}\n",
                 TextTemplate::Escape::Desktop, "Name=English\nName[pl]=Polski\nName[de]=Deutsch\nName[cs]=Česky\n"},
        FillCase{"TwoOnALine", "<@{a.name:pl}|@{a.name:de}>", TextTemplate::Escape::Xml, "<Polski|Deutsch>"},
        FillCase{"NoPlaceholder", "plain @ text {}", TextTemplate::Escape::Xml, "plain @ text {}"},
        FillCase{"XmlMarks", "<p>@{a.marks:pl}</p>", TextTemplate::Escape::Xml,
                 "<p>A &amp; B &lt;c&gt; &quot;d&quot;</p>"},
        FillCase{"DesktopControlCharacters", "Comment=@{a.marks:en}", TextTemplate::Escape::Desktop,
                 "Comment=back\\\\slash\\ttab\\r\\nline"},
        FillCase{"DesktopListKeepsSeparators", "Keywords=@{a.marks:de}", TextTemplate::Escape::Desktop,
                 "Keywords=x;y;"}),
    [](const ::testing::TestParamInfo<FillCase> &info) { return std::string(info.param.name); });

struct RefusedCase
{
    const char *name;
    const char *templ;
    const char *expected; // part of the error
};

void PrintTo(const RefusedCase &c, std::ostream *os)
{
    *os << c.name;
}

class TextTemplateRefuses : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(TextTemplateRefuses, NamesThePlaceholder)
{
    const TextTemplate::Result r = TextTemplate::fill(QString::fromUtf8(GetParam().templ), table(), TextTemplate::Escape::Xml);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.text.isEmpty());
    EXPECT_NE(r.error.toStdString().find(GetParam().expected), std::string::npos) << r.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextTemplateRefuses,
    ::testing::Values(RefusedCase{"UnknownKey", "x @{a.nome:pl}", "no text \"a.nome\""},
                      RefusedCase{"RussianIsNotShipped", "@{a.name:ru}", "@{a.name:ru}: wants a language"},
                      RefusedCase{"NoLanguage", "@{a.name}", "@{a.name}: wants a language"},
                      RefusedCase{"NotClosed", "ok @{a.name:pl", "not closed"},
                      RefusedCase{"ClosedOnALaterLine", "@{a.name:pl\n}", "not closed"}),
    [](const ::testing::TestParamInfo<RefusedCase> &info) { return std::string(info.param.name); });

// The package's own templates fill from the real table: a key renamed in the
// table, or a language dropped, shows here and not as an empty menu entry.
TEST(PackageTemplates, FillFromTheProgramTexts)
{
    QFile tsv(QStringLiteral(ZENU_SOURCE_DIR "/i18n/program-texts.tsv"));
    ASSERT_TRUE(tsv.open(QIODevice::ReadOnly));
    const KeyedTextCells texts = TextTableParser::parseKeyed(tsv.readAll());
    for (const char *name : {"org.zenu.ZENU.desktop.in", "org.zenu.ZENU.metainfo.xml.in", "zenu-mime.xml.in"}) {
        QFile templ(QStringLiteral(ZENU_SOURCE_DIR "/packaging/") + QLatin1String(name));
        ASSERT_TRUE(templ.open(QIODevice::ReadOnly)) << name;
        const QString source = QString::fromUtf8(templ.readAll());
        const TextTemplate::Result r = TextTemplate::fill(source, texts, TextTemplate::Escape::Xml);
        EXPECT_TRUE(r.ok()) << name << ": " << r.error.toStdString();
        EXPECT_TRUE(source.contains(QLatin1String("@{"))) << name << " takes no texts from the table";
        EXPECT_FALSE(r.text.contains(QLatin1String("@{"))) << name;
    }
}

} // namespace
