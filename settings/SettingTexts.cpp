#include "settings/SettingTexts.h"

#include "i18n/LanguageTable.h"

#include <cmath>

using SettingsTable::ControlKind;

namespace {

// Text rows of the names that are not a setting's own label.
constexpr int LevelGroupRow = 103;
constexpr int MapTabRow = 66;

} // namespace

SettingTexts::SettingTexts(const LanguageTable &texts, int column, QChar decimalSeparator)
    : m_texts(texts), m_column(column), m_separator(decimalSeparator)
{
}

QString SettingTexts::rowText(int row) const
{
    return m_texts.text(row, m_column);
}

QString SettingTexts::programText(const char *key) const
{
    return m_texts.programText(QString::fromLatin1(key), m_column);
}

QString SettingTexts::number(double value, int decimals) const
{
    QString text = QString::number(value, 'f', decimals);
    text.replace(QLatin1Char('.'), m_separator);
    return text;
}

QString SettingTexts::name(SettingsTable::Id id) const
{
    const SettingsTable::Naming &n = SettingsTable::row(id).naming;
    QString label = n.labelKey ? programText(n.labelKey) : rowText(n.labelRow);
    label = label.trimmed();
    if (n.groupRow < 0)
        return label;
    const QString group = rowText(n.groupRow).trimmed();
    return label.isEmpty() ? group : group + QStringLiteral(": ") + label;
}

QString SettingTexts::value(SettingsTable::Id id, double value) const
{
    const SettingsTable::Row &row = SettingsTable::row(id);
    const SettingsTable::Naming &n = row.naming;
    switch (row.kind) {
    case ControlKind::Combo: {
        const int item = int(value);
        if (item < 0 || item >= int(row.items.size()))
            return programText("compare.no_item");
        if (n.firstItemRow >= 0)
            return rowText(n.firstItemRow + item).trimmed();
        return QString::fromUtf8(row.items[size_t(item)]).trimmed();
    }
    case ControlKind::Check:
        return programText(value != 0.0 ? "compare.checked" : "compare.unchecked");
    case ControlKind::Radio: {
        const size_t state = value != 0.0 ? 1 : 0;
        if (state < n.stateTexts.size())
            return QString::fromUtf8(n.stateTexts[state]);
        return programText(value != 0.0 ? "compare.checked" : "compare.unchecked");
    }
    case ControlKind::Slider:
    case ControlKind::Dial: {
        const QString shown = number(SettingsTable::shownValue(row, value), n.decimals);
        return n.unit ? shown + QLatin1Char(' ') + QString::fromUtf8(n.unit) : shown;
    }
    }
    return {};
}

QString SettingTexts::thresholdName(int threshold) const
{
    return rowText(LevelGroupRow).trimmed() + QStringLiteral(": ")
           + programText("compare.level_threshold").arg(threshold);
}

QString SettingTexts::thresholdValue(double volts) const
{
    return number(volts, 2) + QStringLiteral(" V");
}

QString SettingTexts::mapName() const
{
    return rowText(MapTabRow).trimmed();
}

QString SettingTexts::mapPointsDiffer(int points) const
{
    // One, a few (2-4, 22-24, ... but not 12-14) and many, as the counted
    // forms of the languages go; English and German say "few" as "many".
    const int tens = points % 100;
    const int ones = points % 10;
    const char *key = points == 1                                              ? "compare.map_points_one"
                      : (ones >= 2 && ones <= 4 && (tens < 12 || tens > 14)) ? "compare.map_points_few"
                                                                               : "compare.map_points_many";
    return programText(key).arg(points);
}

QString SettingTexts::mapLargestDifference(int hundredths) const
{
    return programText("compare.map_largest").arg(number(std::abs(hundredths) / 100.0, 2));
}
