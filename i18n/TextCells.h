#pragma once

#include <QHash>
#include <QString>

#include <array>

// The raw grid behind LanguageTable: 123 rows of six language columns
// (current, German, English, Polish, Russian, Czech).
inline constexpr int TextRowCount = 123;
inline constexpr int TextColumnCount = 6;

using TextCells = std::array<std::array<QString, TextColumnCount>, TextRowCount>;

// The program's own texts (status notes, dialogs of features the table's
// numbered rows do not cover), by key, in the same six columns.
using KeyedTextCells = QHash<QString, std::array<QString, TextColumnCount>>;
