#pragma once

#include "TextCells.h"

#include <QByteArray>

// Reads the translators' text file (see texts.tsv for the format) into the
// full grid, including the current-language column as it stands before any
// language is chosen. Anything malformed or missing throws TextTableError
// naming the line or the row, so a bad file fails the build's tests instead
// of showing empty texts at run time.
class TextTableParser
{
public:
    static TextCells parse(const QByteArray &utf8);

    // The keyed texts file (see program-texts.tsv): the same line format with a
    // key in place of the row number; Polish, English, German and Czech are
    // required for every key, Russian is optional. Column 0 starts as Polish.
    static KeyedTextCells parseKeyed(const QByteArray &utf8);
};
