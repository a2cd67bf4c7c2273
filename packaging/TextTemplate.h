#pragma once

#include "i18n/TextCells.h"

#include <QString>

// Fills the package's text files (the desktop entry, the file types, the
// software centre's page) with the program's own texts, so a translator edits
// one table and the menu speaks the same words as the window.
//
// A template names a text as @{key:lang}, lang one of pl, en, de, cs; the
// text is escaped for the kind of file it goes into.
namespace TextTemplate {

enum class Escape {
    Desktop, // desktop entry values: backslash, new line, tab and CR escaped
    Xml      // XML text and attribute values: & < > " escaped
};

struct Result
{
    QString text;
    QString error; // empty when every placeholder was filled

    bool ok() const { return error.isEmpty(); }
};

// The filled template, or an error naming the first placeholder that cannot
// be filled (unknown key or language, or one left open).
Result fill(const QString &templ, const KeyedTextCells &texts, Escape escape);

} // namespace TextTemplate
