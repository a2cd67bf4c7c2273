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

LanguageTable LanguageTable::builtIn()
{
    initTextResource();
    QFile file(QStringLiteral(":/i18n/texts.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        throw TextTableError("text table: the built-in texts are missing");
    return fromData(file.readAll());
}

LanguageTable LanguageTable::fromData(const QByteArray &utf8)
{
    return LanguageTable(TextTableParser::parse(utf8));
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
    return true;
}
