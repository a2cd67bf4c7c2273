#pragma once

#include "TextCells.h"

#include <QByteArray>
#include <QString>

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

    // Texts from the given file contents (same format and checks as builtIn).
    static LanguageTable fromData(const QByteArray &utf8);

    // Empty for a row or column outside the table.
    QString text(int row, int column) const;

    // The current-language text of a row, as the message boxes show it.
    QString message(int row) const { return text(row, Current); }

    // Makes the given language column (German .. Czech) the current one for
    // messages and link targets. Returns false, changing nothing, for a column
    // outside German .. Czech.
    bool applyLanguageColumn(int column);

private:
    explicit LanguageTable(const TextCells &cells) : m_cells(cells) {}

    TextCells m_cells;
};
