#pragma once

#include "TextCells.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

// Every text that changes with the language: 123 rows in six columns. Column 0
// is the current language; code elsewhere reads messages (rows 0-20) and the
// link targets (rows 121-122) only from there, so choosing a language means
// copying that column's rows into column 0 (applyLanguageColumn). The texts
// of the controls (rows 21-120) are read straight from the chosen column.
class LanguageTable
{
public:
    enum Column : int {
        Current = 0,
        German = 1,
        English = 2,
        Polish = 3,
        Russian = 4,
        Czech = 5,
    };

    static constexpr int RowCount = TextRowCount;
    static constexpr int ColumnCount = TextColumnCount;
    static constexpr int LastMessageRow = 20;
    static constexpr int FirstLinkRow = 121;
    static constexpr int LastLinkRow = 122;

    // The texts compiled into the program. Throws TextTableError if they are
    // broken; the tests load them the same way, so a bad file fails there first.
    static LanguageTable builtIn();

    // Texts from the given file contents (same format and checks as builtIn):
    // the numbered rows, and optionally the keyed program texts.
    static LanguageTable fromData(const QByteArray &utf8, const QByteArray &keyedUtf8 = {});

    // Empty for a row or column outside the table.
    QString text(int row, int column) const;

    // The current-language text of a row, as the message boxes show it.
    QString message(int row) const { return text(row, Current); }

    // One of the program's own texts (program-texts.tsv) in the current
    // language: Polish until a language is applied. A key the file does not
    // have comes back as the key itself, so a slip shows instead of a blank.
    QString programText(QStringView key) const;
    bool hasProgramText(QStringView key) const { return m_keyed.contains(key.toString()); }
    // The same text in a given language column (German .. Czech).
    QString programText(QStringView key, int column) const;

    // Makes the given language column (German .. Czech) the current one for
    // messages, link targets and the program's own texts. Returns false, changing nothing, for a column
    // outside German .. Czech.
    bool applyLanguageColumn(int column);

private:
    LanguageTable(const TextCells &cells, const KeyedTextCells &keyed) : m_cells(cells), m_keyed(keyed) {}

    TextCells m_cells;
    KeyedTextCells m_keyed;
};
