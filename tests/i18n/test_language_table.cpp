// Known-answer checks of the compiled-in texts: the message rows in every
// language, the start-up column 0, the Russian placeholder, the help and link
// rows, and switching the current language.
#include "i18n/LanguageTable.h"
#include "i18n/TextRow.h"
#include "i18n/TextTarget.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <set>
#include <utility>

namespace {

using Column = LanguageTable::Column;

QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}

constexpr Column LanguageColumns[] = {Column::German, Column::English, Column::Polish, Column::Czech};

class LanguageTableTest : public ::testing::Test
{
protected:
    LanguageTable table = LanguageTable::builtIn();
};

TEST_F(LanguageTableTest, HasExactly123RowsOfSixColumns)
{
    // The last cell exists and holds text; one step past either edge is outside.
    EXPECT_FALSE(table.text(122, Column::Czech).isEmpty());
    EXPECT_FALSE(table.text(0, Column::Current).isEmpty());
    const std::pair<int, int> outside[] = {{123, 0}, {-1, 0}, {0, 6}, {0, -1}, {123, 6}};
    for (const auto &[row, column] : outside)
        EXPECT_TRUE(table.text(row, column).isNull()) << row << "," << column;
}

struct MessageCase
{
    int row;
    const char16_t *polish;
    const char16_t *english;
    const char16_t *german;
    const char16_t *czech;
};

const MessageCase Messages[] = {
    {0, u" - Błąd zasilania", u" - Voltage error", u" - Spannungsfehler", u"Chyba napájení"},
    {1, u" - Cisnienie gazu za wysokie", u" - LPG pressure too high", u" - LPG Druck zu hoch", u"Tlak plynu je vysoký"},
    {2, u" - Cisnienie gazu za niskie", u" - LPG pressure too low", u" - LPG Druck zu niedrig", u"Tlak plynu je nízký"},
    {3, u" - Napięcie sterujące za niskie", u" - Ignition voltage too low", u" - Zündspannung zu gering", u"Nízké napětí zapalovací cívky"},
    {4, u" - Błąd sygnału wtrysku benzyny", u" - Fuel injection signal error", u" - Benzineinspritz signal Fehler", u"Vadný benzínový vstřikovač"},
    {5, u" - Błędna praca układu benzynowego", u" - Incorrect Work Petrol Controller", u" - Falsche Arbeit Benzin Steuergerät", u"Závada benzínové řídící jednotky"},
    {6, u" - Błąd wtryskiwacza : ", u" - Injector Error :", u" - Einspritz Fehler :", u"Vadný vstřikovač :"},
    {7, u" - Złe ustawienia", u" - Incorrect settings", u" - Falsche Einstellung", u"Špatné nastavení"},
    {8, u" - Błąd zasilania", u" - Voltage error", u" - Spannungsfehler", u"Chyba napájení"},
    {9, u" - Za długi czas wtrysku gazu", u" - Too long gas injection time", u" - Gas Einspritzzeit zu lang", u"Dlouhý vstřikovací čas plynu"},
    {10, u"Reset przywróci ustawienia fabryczne", u"Reset Will Restore original controller settings", u"Reset Wurde Original Eintellungen wieder herstellen", u"Bude resetována řídící jednotka"},
    {11, u"Brak Sterownika", u"No LPG Controller", u"Kein Steuergerät Gefunden", u"Nepřipojená (chybí) řídící jednotka plynu"},
    {12, u"Prosze wybrać port COM", u"Please Choice COM", u"Bitte Wahlen COM", u"Prosím vyberte COM"},
    {13, u"Uruchom silnik", u"Start Engine", u"Motor starten", u"Start motoru"},
    {14, u"Błędna wartość P MAP  - dalej ?", u"Incorrect P MAP - next?", u"Falsche P MAP - weiter?", u"Špatný P MAP - pokračovat?"},
    {15, u"Błędna wartość P1  - dalej ?", u"Incorrect P1 - next?", u"Falsche P1 - weiter?", u"Špatné P1 - pokračovat?"},
    {16, u"Temperatura zbyt niska poczekaj na 60 stopni", u"Temperature too low wait for 60 degrees", u"Temperatur zu nidrig, warten bis 60 grad", u"Teplota je nízká, čekejte až bude 60 st."},
    {17, u"Proszę czekać adaptacja w toku ..", u"Please Wait Calibration in progress ..", u"Bitte Warten Kalibrierung läuft ..", u"Prosím čekejte, kalibrace probíhá .."},
    {18, u"Korekta =", u"Deflection =", u"Abweichung =", u"Odchylka ="},
    {19, u"Adaptacja zakończona pomyślnie", u"Calibration finished successfully", u"Kalibrierung erfolgreich abgeschlossen", u"Kalibrace proběhla úspěšně"},
    {20, u"Adaptacja anulowana", u"Calibration Canceled", u"Kalibrierung Abbrechen", u"Zrušit kalibraci"},
};

TEST_F(LanguageTableTest, MessageRowsHoldEachLanguagesText)
{
    for (const MessageCase &m : Messages) {
        SCOPED_TRACE(m.row);
        EXPECT_EQ(table.text(m.row, Column::Polish), s(m.polish));
        EXPECT_EQ(table.text(m.row, Column::English), s(m.english));
        EXPECT_EQ(table.text(m.row, Column::German), s(m.german));
        EXPECT_EQ(table.text(m.row, Column::Czech), s(m.czech));
    }
}

TEST_F(LanguageTableTest, ColumnZeroStartsWithBuiltInMessagesElsePolish)
{
    const std::pair<int, const char16_t *> builtIn[] = {
        {0, u" - Błąd napięcia"},
        {3, u" - Napięcie stacyjki za niskie"},
        {4, u" - Brak wtrysku benzyny"},
        {10, u"Czy chcesz wykonać reset sterownika i przywrócić ustawienia fabryczne ?"},
        {11, u"Time out - błąd w transmisji (Brak Strownika) "},
        {14, u"Błędna wartość P MAP - dalej ?"},
        {18, u"Wyliczono mnożnik = "},
        {20, u"Adaptacja anulowana .."},
    };
    std::set<int> own;
    for (const auto &[row, text] : builtIn) {
        EXPECT_EQ(table.message(row), s(text)) << row;
        EXPECT_NE(table.message(row), table.text(row, Column::Polish)) << row;
        own.insert(row);
    }
    for (int row = 0; row <= TextRow::CalibrationCancelled; ++row) {
        if (!own.count(row)) {
            EXPECT_EQ(table.message(row), table.text(row, Column::Polish)) << row;
        }
    }
    for (int row = TextRow::FirstControlText; row <= TextRow::HelpText; ++row)
        EXPECT_TRUE(table.message(row).isEmpty()) << row;
    for (int row : {TextRow::WebAddress, TextRow::MailLink})
        EXPECT_EQ(table.message(row), table.text(row, Column::Polish)) << row;
}

TEST_F(LanguageTableTest, RussianColumnIsAPlaceholder)
{
    for (int row = 0; row < TextRow::HelpText; ++row)
        EXPECT_EQ(table.text(row, Column::Russian), QStringLiteral("Ru")) << row;
    EXPECT_TRUE(table.text(TextRow::HelpText, Column::Russian).isEmpty());
    EXPECT_EQ(table.text(TextRow::WebAddress, Column::Russian), QStringLiteral("ru"));
    EXPECT_EQ(table.text(TextRow::MailLink, Column::Russian), QStringLiteral("ru"));
}

TEST_F(LanguageTableTest, VoltageRowsZeroAndEightAgreeInEveryLanguage)
{
    for (int column = Column::German; column <= Column::Czech; ++column) {
        EXPECT_FALSE(table.text(TextRow::VoltageError, column).isEmpty()) << column;
        EXPECT_EQ(table.text(TextRow::VoltageError, column), table.text(TextRow::SupplyVoltageError, column))
            << column;
    }
    // Only the start-up text of row 0 differs.
    EXPECT_NE(table.message(TextRow::VoltageError), table.message(TextRow::SupplyVoltageError));
}

// Texts whose spaces, punctuation or letters are easy to lose when edited.
TEST_F(LanguageTableTest, ControlTextsKeepTheirExactSpelling)
{
    struct Case
    {
        int row;
        Column column;
        const char16_t *text;
    };
    const Case cases[] = {
        {21, Column::Polish, u"Akumulator  "},
        {21, Column::Czech, u"Akumulátor  "},
        {22, Column::Czech, u"Vál 1"},
        {27, Column::English, u"Temerature"},
        {32, Column::German, u" Panel Benzin"},
        {33, Column::Czech, u"Počet válců"},
        {46, Column::Polish, u"Cewka Pojedyńcza"},
        {65, Column::English, u"START – calibration begins"},
        {67, Column::Czech, u"Plyn [ms] / Benzín [ms]"},
        {68, Column::Czech, u"Cz"},
        {71, Column::Polish, u"Obszazr Do"},
        {72, Column::Polish, u" - Wskaźnik"},
        {82, Column::Polish, u"Inj. Benzyna / Gaz  [ms]"},
        {83, Column::German, u"Temp Gas / Verd [°C]"},
        {83, Column::Czech, u"Tepl. Plynu/Red. Verd [ C]"},
        {94, Column::Czech, u"Benzin [ms]"},
        {108, Column::Czech, u" Stav"},
        {110, Column::English, u"Interface ZENU Used POrt"},
        {115, Column::Polish, u"Połącz"},
        {116, Column::Czech, u"Rozpojení"},
        {117, Column::Polish, u"Język"},
        {119, Column::German, u"Einspritz Benzin/Gas"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(table.text(c.row, c.column), s(c.text)) << c.row << "/" << int(c.column);
}

TEST_F(LanguageTableTest, EveryLanguageHasTextExceptTheKnownGaps)
{
    // Group box 25 and the map area hint have texts only in Czech.
    const std::set<std::pair<int, int>> empty = {
        {33, Column::Polish}, {33, Column::English}, {33, Column::German},
        {68, Column::Polish}, {68, Column::English}, {68, Column::German},
    };
    for (int row = 0; row < LanguageTable::RowCount; ++row) {
        for (Column column : LanguageColumns) {
            const bool expectEmpty = empty.count({row, int(column)}) > 0;
            EXPECT_EQ(table.text(row, column).isEmpty(), expectEmpty) << row << "/" << int(column);
        }
    }
}

TEST_F(LanguageTableTest, LinkRowsAreTheSameAddressesInEveryLanguage)
{
    const QString web = table.text(TextRow::WebAddress, Column::Polish);
    const QString mail = table.text(TextRow::MailLink, Column::Polish);
    EXPECT_TRUE(web.startsWith(QStringLiteral("http://")) || web.startsWith(QStringLiteral("https://"))) << web.toStdString();
    EXPECT_TRUE(mail.startsWith(QStringLiteral("mailto:"))) << mail.toStdString();
    EXPECT_TRUE(mail.contains(u'@'));
    for (Column column : LanguageColumns) {
        EXPECT_EQ(table.text(TextRow::WebAddress, column), web) << int(column);
        EXPECT_EQ(table.text(TextRow::MailLink, column), mail) << int(column);
    }
}

TEST_F(LanguageTableTest, HelpTextUsesTheLanguagesOwnCaptionsAndMemoLineBreaks)
{
    // The help quotes the menus, tabs, buttons and messages the user sees in
    // that language; a caption renamed in the table must be renamed in the
    // help too. Each language uses its own quotation marks.
    struct Quotes
    {
        Column column;
        QString open;
        QString close;
    };
    const Quotes quotes[] = {
        {Column::Polish, QStringLiteral("\u201E"), QStringLiteral("\u201D")},
        {Column::English, QStringLiteral("\u201C"), QStringLiteral("\u201D")},
        {Column::German, QStringLiteral("\u201E"), QStringLiteral("\u201C")},
        {Column::Czech, QStringLiteral("\u201E"), QStringLiteral("\u201C")},
    };
    const int quotedRows[] = {30, 31, 64, 66, 77, 78, 79, 80, 111, 112, 113, 114, 115, 116, 117,
                              TextRow::NoController};
    for (const Quotes &q : quotes) {
        const Column column = q.column;
        SCOPED_TRACE(int(column));
        const QString help = table.text(TextRow::HelpText, column);
        for (int row : quotedRows)
            EXPECT_TRUE(help.contains(q.open + table.text(row, column) + q.close)) << "row " << row;
        EXPECT_TRUE(help.contains(QStringLiteral("60 °C")));
        EXPECT_TRUE(help.contains(QStringLiteral("3.7.7")));
        EXPECT_TRUE(help.contains(QStringLiteral(".zen")));

        // Lines end in CR LF only, and there are several paragraphs.
        const QString withoutCrLf = QString(help).remove(QStringLiteral("\r\n"));
        EXPECT_FALSE(withoutCrLf.contains(u'\r'));
        EXPECT_FALSE(withoutCrLf.contains(u'\n'));
        EXPECT_GE(help.count(QStringLiteral("\r\n\r\n")), 4);
        EXPECT_FALSE(help.endsWith(QStringLiteral("\r\n")));
    }
    // Four different texts, not one copied around.
    QStringList helps;
    for (Column column : LanguageColumns)
        helps << table.text(TextRow::HelpText, column);
    helps.removeDuplicates();
    EXPECT_EQ(helps.size(), 4);
}

TEST_F(LanguageTableTest, ApplyingPolishReplacesTheTimeOutMessage)
{
    EXPECT_EQ(table.message(TextRow::NoController), s(u"Time out - błąd w transmisji (Brak Strownika) "));
    ASSERT_TRUE(table.applyLanguageColumn(Column::Polish));
    EXPECT_EQ(table.message(TextRow::NoController), s(u"Brak Sterownika"));
    EXPECT_EQ(table.message(TextRow::CorrectionResult), s(u"Korekta ="));
}

TEST_F(LanguageTableTest, ApplyingALanguageCopiesMessagesAndLinksOnly)
{
    // Switch through every column (Russian too: the table itself does not
    // refuse it) and back, so leftovers of an earlier language would show.
    const int order[] = {Column::English, Column::Czech, Column::Russian, Column::German, Column::Polish,
                         Column::English};
    for (int column : order) {
        SCOPED_TRACE(column);
        ASSERT_TRUE(table.applyLanguageColumn(column));
        for (int row = 0; row <= TextRow::CalibrationCancelled; ++row)
            EXPECT_EQ(table.message(row), table.text(row, column)) << row;
        for (int row : {TextRow::WebAddress, TextRow::MailLink})
            EXPECT_EQ(table.message(row), table.text(row, column)) << row;
        for (int row = TextRow::FirstControlText; row <= TextRow::HelpText; ++row)
            EXPECT_TRUE(table.message(row).isEmpty()) << row;
    }
    EXPECT_EQ(table.message(TextRow::StartEngine), s(u"Start Engine"));
}

TEST_F(LanguageTableTest, ApplyingAColumnOutsideTheLanguagesChangesNothing)
{
    ASSERT_TRUE(table.applyLanguageColumn(Column::German));
    for (int column : {int(Column::Current), 6, -1, 100}) {
        EXPECT_FALSE(table.applyLanguageColumn(column)) << column;
        EXPECT_EQ(table.message(TextRow::NoController), s(u"Kein Steuergerät Gefunden")) << column;
    }
}

TEST_F(LanguageTableTest, PolishAndCzechLettersArriveAsTheirCodePoints)
{
    // Spelled with escapes so a wrong decoding of the data file cannot hide
    // behind the same wrong decoding of this source file.
    struct Case
    {
        int row;
        Column column;
        QString text;
    };
    const Case cases[] = {
        {0, Column::Polish, QStringLiteral(" - B\u0142\u0105d zasilania")},
        {17, Column::Polish, QStringLiteral("Prosz\u0119 czeka\u0107 adaptacja w toku ..")},
        {69, Column::Polish, QStringLiteral("Mno\u017Cnik")},
        {60, Column::Czech, QStringLiteral("Tepl.\u010Didlo red.")},
        {56, Column::Czech, QStringLiteral("Plynov\u00FD vst\u0159ikova\u010D")},
        {33, Column::Czech, QStringLiteral("Po\u010Det v\u00E1lc\u016F")},
        {11, Column::German, QStringLiteral("Kein Steuerger\u00E4t Gefunden")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(table.text(c.row, c.column), c.text) << c.row;
}

TEST(TextTargets, CoverEveryControlRowOnceExceptTheSharedLabelRow)
{
    std::set<int> rows;
    for (const TextTarget &t : textTargets()) {
        EXPECT_GE(t.row, TextRow::FirstControlText);
        EXPECT_LE(t.row, TextRow::LastControlText);
        EXPECT_NE(t.objectName, nullptr);
        rows.insert(t.row);
    }
    for (int row = TextRow::FirstControlText; row <= TextRow::LastControlText; ++row)
        EXPECT_TRUE(rows.count(row)) << row;

    const std::vector<TextTarget> shared = textTargetsOfRow(94);
    ASSERT_EQ(shared.size(), 2u);
    EXPECT_STREQ(shared[0].objectName, "Label6");
    EXPECT_STREQ(shared[1].objectName, "Label3");
    EXPECT_TRUE(textTargetsOfRow(TextRow::HelpText).empty());

    struct Case
    {
        int row;
        const char *name;
        TextTargetKind kind;
        int item;
    };
    const Case cases[] = {
        {21, "BATERY_vpp", TextTargetKind::Name1, 0},
        {22, "Skala_PB_time", TextTargetKind::Name2, 0},
        {31, "Polacz_switch", TextTargetKind::OffText, 0},
        {44, "Sel_cyl", TextTargetKind::Item, 4},
        {52, "Sel_Impuls", TextTargetKind::Item, 6},
        {67, "Chart1", TextTargetKind::LeftAxisTitle, 0},
        {68, "PaintBox1", TextTargetKind::Hint, 0},
        {74, "Series7", TextTargetKind::Caption, 0},
        {117, "Jazyk", TextTargetKind::Caption, 0},
    };
    for (const Case &c : cases) {
        const std::vector<TextTarget> found = textTargetsOfRow(c.row);
        ASSERT_EQ(found.size(), 1u) << c.row;
        EXPECT_STREQ(found[0].objectName, c.name) << c.row;
        EXPECT_EQ(found[0].kind, c.kind) << c.row;
        EXPECT_EQ(found[0].item, c.item) << c.row;
    }
}

} // namespace
