#include "TextTableParser.h"

#include "TextTableError.h"

#include <QStringDecoder>
#include <QStringList>

#include <array>
#include <optional>

namespace {

// The current-language column starts with a few message texts of its own
// (keyword "start"); everywhere else it is derived from the Polish column.
constexpr int CurrentColumn = 0;
constexpr int PolishColumn = 3;
constexpr int LastMessageRow = 20;
constexpr int FirstLinkRow = 121;

struct LanguageCode
{
    QLatin1StringView code;
    int column;
};

constexpr std::array<LanguageCode, 6> Codes{{
    {QLatin1StringView("start"), CurrentColumn},
    {QLatin1StringView("de"), 1},
    {QLatin1StringView("en"), 2},
    {QLatin1StringView("pl"), 3},
    {QLatin1StringView("ru"), 4},
    {QLatin1StringView("cs"), 5},
}};

[[noreturn]] void fail(const QString &why)
{
    throw TextTableError(QStringLiteral("text table: %1").arg(why).toStdString());
}

[[noreturn]] void failAt(int lineNumber, const QString &why)
{
    fail(QStringLiteral("line %1: %2").arg(lineNumber).arg(why));
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isKeyChar(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'.' || c == u'_';
}

// Splits a file into its text lines, dropping comments and empty lines; the
// handler gets each remaining line with its 1-based number.
template <class Handler>
void forEachTextLine(const QByteArray &utf8, Handler &&handler)
{
    // A byte-order mark from a Windows editor is dropped by the decoder.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString all = decoder(utf8);
    if (decoder.hasError())
        fail(QStringLiteral("the file is not valid UTF-8"));
    const QStringList lines = all.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        handler(line, int(i) + 1);
    }
}

class LineReader
{
public:
    LineReader(const QString &line, int lineNumber) : m_line(line), m_number(lineNumber) {}

    int row()
    {
        skipBlanks();
        const qsizetype start = m_pos;
        while (m_pos < m_line.size() && m_line[m_pos].isDigit() && m_line[m_pos].unicode() < 128)
            ++m_pos;
        const qsizetype digits = m_pos - start;
        if (digits == 0)
            failAt(m_number, QStringLiteral("expected a row number"));
        // Three digits cover every row; more would only hide a typo behind an overflow.
        if (digits > 3)
            failAt(m_number, QStringLiteral("row number out of range"));
        const int value = m_line.mid(start, digits).toInt();
        if (value >= TextRowCount)
            failAt(m_number, QStringLiteral("row %1 out of range 0-%2").arg(value).arg(TextRowCount - 1));
        requireBlank();
        return value;
    }

    QString key()
    {
        skipBlanks();
        const qsizetype start = m_pos;
        while (m_pos < m_line.size() && isKeyChar(m_line[m_pos]))
            ++m_pos;
        const QString word = m_line.mid(start, m_pos - start);
        if (word.isEmpty() || !word[0].isLower())
            failAt(m_number, QStringLiteral("expected a key (lower-case letters, digits, '.' and '_', starting with a letter)"));
        requireBlank();
        return word;
    }

    int column()
    {
        skipBlanks();
        const qsizetype start = m_pos;
        while (m_pos < m_line.size() && !isBlank(m_line[m_pos]))
            ++m_pos;
        const QString word = m_line.mid(start, m_pos - start);
        for (const LanguageCode &c : Codes) {
            if (word == c.code)
                return c.column;
        }
        failAt(m_number, QStringLiteral("unknown language \"%1\"").arg(word));
    }

    QString quotedText()
    {
        skipBlanks();
        if (m_pos >= m_line.size() || m_line[m_pos] != u'"')
            failAt(m_number, QStringLiteral("text must be in double quotes"));
        ++m_pos;
        QString text;
        for (;;) {
            if (m_pos >= m_line.size())
                failAt(m_number, QStringLiteral("missing closing quote"));
            const QChar c = m_line[m_pos++];
            if (c == u'"')
                break;
            if (c != u'\\') {
                text += c;
                continue;
            }
            if (m_pos >= m_line.size())
                failAt(m_number, QStringLiteral("backslash at end of line"));
            const QChar e = m_line[m_pos++];
            if (e == u'n')
                text += QStringLiteral("\r\n"); // multi-line texts go to memos, whose lines end in CR LF
            else if (e == u't')
                text += u'\t';
            else if (e == u'"' || e == u'\\')
                text += e;
            else
                failAt(m_number, QStringLiteral("unknown escape \\%1").arg(e));
        }
        skipBlanks();
        if (m_pos != m_line.size())
            failAt(m_number, QStringLiteral("unexpected text after the closing quote"));
        return text;
    }

private:
    void skipBlanks()
    {
        while (m_pos < m_line.size() && isBlank(m_line[m_pos]))
            ++m_pos;
    }

    void requireBlank()
    {
        if (m_pos >= m_line.size() || !isBlank(m_line[m_pos]))
            failAt(m_number, QStringLiteral("fields must be separated by tabs or spaces"));
    }

    const QString &m_line;
    int m_number;
    qsizetype m_pos = 0;
};

QString languageCodeOf(int column)
{
    for (const LanguageCode &c : Codes) {
        if (c.column == column)
            return QString(c.code);
    }
    return {};
}

} // namespace

TextCells TextTableParser::parse(const QByteArray &utf8)
{
    TextCells cells;
    std::array<std::array<bool, TextColumnCount>, TextRowCount> seen{};

    forEachTextLine(utf8, [&](const QString &line, int lineNumber) {
        LineReader reader(line, lineNumber);
        const int row = reader.row();
        const int column = reader.column();
        const QString text = reader.quotedText();

        if (column == CurrentColumn && row > LastMessageRow)
            failAt(lineNumber, QStringLiteral("\"start\" texts exist only for message rows 0-%1").arg(LastMessageRow));
        if (seen[row][column])
            failAt(lineNumber, QStringLiteral("row %1 has a second \"%2\" text").arg(row).arg(languageCodeOf(column)));
        seen[row][column] = true;
        cells[row][column] = text;
    });

    for (int row = 0; row < TextRowCount; ++row) {
        for (int column = 1; column < TextColumnCount; ++column) {
            if (!seen[row][column])
                fail(QStringLiteral("row %1 has no \"%2\" text").arg(row).arg(languageCodeOf(column)));
        }
    }

    // Column 0 before any language is chosen: the messages are Polish unless the
    // file gives a start text, the link targets are the same for every language,
    // and the control captions come from the window itself, so they stay empty.
    for (int row = 0; row < TextRowCount; ++row) {
        const bool message = row <= LastMessageRow;
        const bool link = row >= FirstLinkRow;
        if (message && !seen[row][CurrentColumn])
            cells[row][CurrentColumn] = cells[row][PolishColumn];
        else if (link)
            cells[row][CurrentColumn] = cells[row][PolishColumn];
    }
    return cells;
}

KeyedTextCells TextTableParser::parseKeyed(const QByteArray &utf8)
{
    constexpr int RussianColumn = 4;
    KeyedTextCells cells;
    QHash<QString, std::array<bool, TextColumnCount>> seen;
    QHash<QString, int> firstLine;

    forEachTextLine(utf8, [&](const QString &line, int lineNumber) {
        LineReader reader(line, lineNumber);
        const QString key = reader.key();
        const int column = reader.column();
        const QString text = reader.quotedText();
        if (column == CurrentColumn)
            failAt(lineNumber, QStringLiteral("keyed texts have no \"start\" text"));
        auto &flags = seen[key];
        if (flags[column])
            failAt(lineNumber, QStringLiteral("\"%1\" has a second \"%2\" text").arg(key, languageCodeOf(column)));
        flags[column] = true;
        firstLine.insert(key, firstLine.value(key, lineNumber));
        cells[key][column] = text;
    });

    for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
        for (int column = 1; column < TextColumnCount; ++column) {
            if (column != RussianColumn && !it.value()[column])
                failAt(firstLine.value(it.key()),
                       QStringLiteral("\"%1\" has no \"%2\" text").arg(it.key(), languageCodeOf(column)));
        }
        cells[it.key()][CurrentColumn] = cells[it.key()][PolishColumn];
    }
    return cells;
}
