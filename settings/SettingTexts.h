#pragma once

#include "settings/SettingsTable.h"

#include <QChar>
#include <QString>

class LanguageTable;

// A setting's name and value in words, as the window shows them in one
// language: labels and items from the text table, numbers as the control
// shows them (held to its range and step) with their unit, level thresholds
// with two decimals. The comparison dialog and `zenu --diff` print settings
// only through this, so they say what the window says.
class SettingTexts
{
public:
    // `column` is the chosen language's column of `texts` (German .. Czech);
    // `texts` must outlive this object.
    SettingTexts(const LanguageTable &texts, int column, QChar decimalSeparator);

    QString name(SettingsTable::Id id) const;
    // `value` as the record holds it: an item index (-1 none), 0/1, or the
    // value in the control's unit before the control holds it to its range.
    QString value(SettingsTable::Id id, double value) const;

    // Level threshold 1..4.
    QString thresholdName(int threshold) const;
    QString thresholdValue(double volts) const;

    QString mapName() const;
    QString mapPointsDiffer(int points) const;
    // The largest difference of one point, in hundredths of the multiplier.
    QString mapLargestDifference(int hundredths) const;

    // One of the program's own texts in this language.
    QString programText(const char *key) const;

private:
    QString rowText(int row) const;
    QString number(double value, int decimals) const;

    const LanguageTable &m_texts;
    int m_column;
    QChar m_separator;
};
