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
};
