#include "LanguageTable.h"

#include "TextTableError.h"
#include "TextTableParser.h"

#include <QFile>

// The resource lives in a static library; naming its initialiser here makes
// sure the linker keeps it. Must be outside any namespace.
static void initTextResource()
{
    Q_INIT_RESOURCE(zenu_texts);
}

namespace {

QByteArray builtInFile(const QString &name)
{
    QFile file(QStringLiteral(":/i18n/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw TextTableError("text table: the built-in texts are missing");
    return file.readAll();
}

} // namespace

LanguageTable LanguageTable::builtIn()
{
    initTextResource();
    return fromData(builtInFile(QStringLiteral("texts.tsv")), builtInFile(QStringLiteral("program-texts.tsv")));
}

LanguageTable LanguageTable::fromData(const QByteArray &utf8, const QByteArray &keyedUtf8)
{
    return LanguageTable(TextTableParser::parse(utf8), TextTableParser::parseKeyed(keyedUtf8));
}

QString LanguageTable::programText(QStringView key) const
{
    return programText(key, Current);
}

QString LanguageTable::programText(QStringView key, int column) const
{
    const auto it = m_keyed.constFind(key.toString());
    if (it == m_keyed.cend())
        return key.toString();
    if (column < 0 || column >= ColumnCount)
        return {};
    return it.value()[column];
}

QString LanguageTable::text(int row, int column) const
{
    if (row < 0 || row >= RowCount || column < 0 || column >= ColumnCount)
        return {};
    return m_cells[row][column];
}

bool LanguageTable::applyLanguageColumn(int column)
{
    if (column < German || column > Czech)
        return false;
    for (int row = 0; row <= LastMessageRow; ++row)
        m_cells[row][Current] = m_cells[row][column];
    for (int row = FirstLinkRow; row <= LastLinkRow; ++row)
        m_cells[row][Current] = m_cells[row][column];
    for (auto &texts : m_keyed)
        texts[Current] = texts[column];
    return true;
}
