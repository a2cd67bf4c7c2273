#pragma once

#include <QString>

#include <array>

// The raw grid behind LanguageTable: 123 rows of six language columns
// (current, German, English, Polish, Russian, Czech).
inline constexpr int TextRowCount = 123;
inline constexpr int TextColumnCount = 6;

using TextCells = std::array<std::array<QString, TextColumnCount>, TextRowCount>;
