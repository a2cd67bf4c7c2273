// The text file format: what a translator may write, and that every kind of
// broken or incomplete file is refused with a message naming the place.
#include "i18n/LanguageTable.h"
#include "i18n/TextTableError.h"
#include "i18n/TextTableParser.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>

namespace {

const char *const Languages[] = {"pl", "en", "de", "cs", "ru"};

// A complete, valid file in which every text names its row and language.
QByteArray completeFile()
{
    QByteArray out = "# test texts\n\n";
    for (int row = 0; row < TextRowCount; ++row) {
        for (const char *lang : Languages)
            out += QByteArray::number(row) + '\t' + lang + "\t\"" + QByteArray::number(row) + ' ' + lang + "\"\n";
    }
    return out;
}

QByteArray replaceLine(QByteArray file, const QByteArray &line, const QByteArray &with)
{
    const qsizetype at = file.indexOf('\n' + line + '\n');
    EXPECT_GE(at, 0) << line.constData();
    return file.replace(at + 1, line.size(), with);
}

TEST(TextTableParser, ReadsACompleteFileAndDerivesTheStartColumn)
{
    QByteArray file = completeFile();
    file += "3\tstart\t\"own start text\"\n";
    const TextCells cells = TextTableParser::parse(file);
    EXPECT_EQ(cells[5][LanguageTable::German], QStringLiteral("5 de"));
    EXPECT_EQ(cells[122][LanguageTable::Russian], QStringLiteral("122 ru"));
    EXPECT_EQ(cells[3][LanguageTable::Current], QStringLiteral("own start text"));
    EXPECT_EQ(cells[4][LanguageTable::Current], QStringLiteral("4 pl"));
    EXPECT_EQ(cells[20][LanguageTable::Current], QStringLiteral("20 pl"));
    EXPECT_TRUE(cells[21][LanguageTable::Current].isEmpty());
    EXPECT_TRUE(cells[120][LanguageTable::Current].isEmpty());
    EXPECT_EQ(cells[121][LanguageTable::Current], QStringLiteral("121 pl"));
    EXPECT_EQ(cells[122][LanguageTable::Current], QStringLiteral("122 pl"));
}

TEST(TextTableParser, AcceptsWhatEditorsCommonlyProduce)
{
    struct Case
    {
        const char *name;
        std::function<QByteArray(QByteArray)> edit;
    };
    const Case cases[] = {
        {"CR LF line ends", [](QByteArray f) { return f.replace("\n", "\r\n"); }},
        {"byte-order mark", [](QByteArray f) { return "\xEF\xBB\xBF" + f; }},
        {"spaces between fields", [](QByteArray f) { return replaceLine(f, "7\ten\t\"7 en\"", "7   en  \"7 en\"  "); }},
        {"indented comment", [](QByteArray f) { return f + "   # note\n"; }},
        {"no final line end", [](QByteArray f) { f.chop(1); return f; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TextCells cells;
        ASSERT_NO_THROW(cells = TextTableParser::parse(c.edit(completeFile())));
        EXPECT_EQ(cells[7][LanguageTable::English], QStringLiteral("7 en"));
        EXPECT_EQ(cells[0][LanguageTable::Polish], QStringLiteral("0 pl"));
        EXPECT_EQ(cells[122][LanguageTable::Russian], QStringLiteral("122 ru"));
    }
}

TEST(TextTableParser, KeepsSpacesAndDecodesEscapes)
{
    struct Case
    {
        QByteArray written;
        QString read;
    };
    const Case cases[] = {
        {"\"  two leading, two trailing  \"", QStringLiteral("  two leading, two trailing  ")},
        {"\"\"", QString()},
        {"\"line one\\nline two\"", QStringLiteral("line one\r\nline two")},
        {"\"say \\\"hi\\\"\"", QStringLiteral("say \"hi\"")},
        {"\"back\\\\slash\"", QStringLiteral("back\\slash")},
        {"\"a\\tb\"", QStringLiteral("a\tb")},
        {"\"# not a comment\"", QStringLiteral("# not a comment")},
        // Polish and Czech letters, written as UTF-8 bytes.
        {"\"\xC4\x85\xC4\x87\xC4\x99\xC5\x82\xC5\x84\xC3\xB3\xC5\x9B\xC5\xBA\xC5\xBC \xC4\x9B\xC5\xA1\xC4\x8D\xC5\x99\xC5\xBE\xC3\xBD\xC5\xAF\"",
         QStringLiteral("\u0105\u0107\u0119\u0142\u0144\u00F3\u015B\u017A\u017C \u011B\u0161\u010D\u0159\u017E\u00FD\u016F")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.written.constData());
        const QByteArray file = replaceLine(completeFile(), "40\tcs\t\"40 cs\"", "40\tcs\t" + c.written);
        const TextCells cells = TextTableParser::parse(file);
        EXPECT_EQ(cells[40][LanguageTable::Czech], c.read);
        // The text goes back to exactly the bytes that were inside the quotes,
        // apart from the escapes.
        if (!c.written.contains('\\')) {
            EXPECT_EQ(cells[40][LanguageTable::Czech].toUtf8(), c.written.mid(1, c.written.size() - 2));
        }
    }
}

TEST(TextTableParser, RefusesBrokenOrIncompleteFiles)
{
    struct Case
    {
        const char *name;
        std::function<QByteArray(QByteArray)> edit;
        const char *expectedInMessage;
    };
    const Case cases[] = {
        {"missing line", [](QByteArray f) { return replaceLine(f, "57\tde\t\"57 de\"", "# gone"); }, "row 57 has no \"de\""},
        {"missing help text", [](QByteArray f) { return replaceLine(f, "120\tru\t\"120 ru\"", ""); }, "row 120 has no \"ru\""},
        {"empty file", [](QByteArray) { return QByteArray(); }, "row 0 has no"},
        {"doubled line", [](QByteArray f) { return f + "12\ten\t\"again\"\n"; }, "second \"en\""},
        {"doubled start text", [](QByteArray f) { return f + "2\tstart\t\"a\"\n2\tstart\t\"b\"\n"; }, "second \"start\""},
        {"unknown language", [](QByteArray f) { return f + "3\tfr\t\"Bonjour\"\n"; }, "unknown language \"fr\""},
        {"language in capitals", [](QByteArray f) { return replaceLine(f, "3\tpl\t\"3 pl\"", "3\tPL\t\"3 pl\""); }, "unknown language"},
        {"row past the end", [](QByteArray f) { return f + "123\ten\t\"x\"\n"; }, "row 123 out of range"},
        {"huge row number", [](QByteArray f) { return f + "4294967299\ten\t\"x\"\n"; }, "out of range"},
        {"negative row", [](QByteArray f) { return f + "-1\ten\t\"x\"\n"; }, "expected a row number"},
        {"no row number", [](QByteArray f) { return f + "en\t\"x\"\n"; }, "expected a row number"},
        {"row glued to language", [](QByteArray f) { return f + "5en\t\"x\"\n"; }, "separated"},
        {"text without quotes", [](QByteArray f) { return replaceLine(f, "9\tpl\t\"9 pl\"", "9\tpl\t9 pl"); }, "double quotes"},
        {"missing text", [](QByteArray f) { return replaceLine(f, "9\tpl\t\"9 pl\"", "9\tpl"); }, "double quotes"},
        {"unclosed quote", [](QByteArray f) { return replaceLine(f, "9\tpl\t\"9 pl\"", "9\tpl\t\"9 pl"); }, "closing quote"},
        {"text after the quote", [](QByteArray f) { return replaceLine(f, "9\tpl\t\"9 pl\"", "9\tpl\t\"9\" pl"); }, "after the closing quote"},
        {"unknown escape", [](QByteArray f) { return replaceLine(f, "9\tpl\t\"9 pl\"", "9\tpl\t\"C:\\path\""); }, "unknown escape"},
        {"start text for a control row", [](QByteArray f) { return f + "21\tstart\t\"x\"\n"; }, "only for message rows"},
        {"invalid UTF-8", [](QByteArray f) { return replaceLine(f, "9\tpl\t\"9 pl\"", "9\tpl\t\"B\xB3\xB9" "d\""); }, "UTF-8"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            TextTableParser::parse(c.edit(completeFile()));
            ADD_FAILURE() << "accepted";
        } catch (const TextTableError &e) {
            EXPECT_NE(std::string(e.what()).find(c.expectedInMessage), std::string::npos) << e.what();
        }
    }
}

TEST(TextTableParser, NamesTheLineOfAMalformedEntry)
{
    QByteArray file = completeFile();
    const int lineOfRow9Polish = 2 + 9 * 5 + 1; // comment, blank line, 9 rows of five, then pl
    file = replaceLine(file, "9\tpl\t\"9 pl\"", "9\tpl\t\"9 pl");
    try {
        TextTableParser::parse(file);
        ADD_FAILURE() << "accepted";
    } catch (const TextTableError &e) {
        EXPECT_NE(std::string(e.what()).find("line " + std::to_string(lineOfRow9Polish) + ":"), std::string::npos)
            << e.what();
    }
}

TEST(LanguageTableLoading, FromDataRefusesWhatTheParserRefuses)
{
    EXPECT_THROW(LanguageTable::fromData(QByteArray("0\tpl\t\"only one\"\n")), TextTableError);
    EXPECT_NO_THROW(LanguageTable::fromData(completeFile()));
}

} // namespace
