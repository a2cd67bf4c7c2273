#include "packaging/TextTemplate.h"

#include <optional>

namespace TextTemplate {

namespace {

// The column of KeyedTextCells that holds each language.
std::optional<int> column(QStringView language)
{
    if (language == u"de")
        return 1;
    if (language == u"en")
        return 2;
    if (language == u"pl")
        return 3;
    if (language == u"cs")
        return 5;
    return std::nullopt;
}

QString escaped(const QString &text, Escape escape)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (escape == Escape::Desktop) {
            switch (c.unicode()) {
            case '\\': out += QLatin1String("\\\\"); continue;
            case '\n': out += QLatin1String("\\n"); continue;
            case '\t': out += QLatin1String("\\t"); continue;
            case '\r': out += QLatin1String("\\r"); continue;
            }
        } else {
            switch (c.unicode()) {
            case '&': out += QLatin1String("&amp;"); continue;
            case '<': out += QLatin1String("&lt;"); continue;
            case '>': out += QLatin1String("&gt;"); continue;
            case '"': out += QLatin1String("&quot;"); continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace

Result fill(const QString &templ, const KeyedTextCells &texts, Escape escape)
{
    Result result;
    qsizetype from = 0;
    for (;;) {
        const qsizetype open = templ.indexOf(QLatin1String("@{"), from);
        if (open < 0) {
            result.text += templ.mid(from);
            return result;
        }
        result.text += templ.mid(from, open - from);
        const qsizetype close = templ.indexOf(QLatin1Char('}'), open);
        const qsizetype lineEnd = templ.indexOf(QLatin1Char('\n'), open);
        if (close < 0 || (lineEnd >= 0 && lineEnd < close))
            return {{}, QStringLiteral("placeholder at character %1 is not closed").arg(open)};
        const QString name = templ.mid(open + 2, close - open - 2);
        const qsizetype colon = name.lastIndexOf(QLatin1Char(':'));
        const QString key = name.left(colon);
        const std::optional<int> col = colon > 0 ? column(QStringView(name).mid(colon + 1)) : std::nullopt;
        if (!col)
            return {{}, QStringLiteral("@{%1}: wants a language pl, en, de or cs after the key").arg(name)};
        const auto row = texts.constFind(key);
        if (row == texts.constEnd())
            return {{}, QStringLiteral("@{%1}: no text \"%2\"").arg(name, key)};
        result.text += escaped((*row)[*col], escape);
        from = close + 1;
    }
}

} // namespace TextTemplate
