#pragma once

#include "settings/SettingsRecord.h"

#include <QList>
#include <QString>

class SettingTexts;

// Two settings blocks side by side: which settings differ. Every setting of
// the table, the four level thresholds, and the correction map as a whole
// (how many points differ and by how much at most). The active injectors and
// the fault log are the controller's state, not its configuration, and are
// left out.
namespace SettingsComparison {

struct SettingChange
{
    SettingsTable::Id id;
    double a; // as the record holds it
    double b;
};

struct ThresholdChange
{
    int threshold; // 1..4
    double a;      // volts
    double b;
};

struct MapChange
{
    int pointsDiffering = 0;
    int largest = 0; // hundredths of the multiplier
};

struct Result
{
    QList<SettingChange> settings; // in the table's order
    QList<ThresholdChange> thresholds;
    MapChange map;

    bool same() const { return settings.isEmpty() && thresholds.isEmpty() && map.pointsDiffering == 0; }
};

Result compare(const SettingsRecord &a, const SettingsRecord &b);

// One differing setting in words: its name and the value on each side.
struct Line
{
    QString name;
    QString a;
    QString b;
};

// The result in words, one line per differing setting: the settings in the
// table's order, the thresholds, then the map ("<n> points differ",
// "largest <d>"). Two values the controls would show alike (a byte beyond a
// dial's end) get the byte added, so a line never shows the same text twice.
QList<Line> lines(const Result &result, const SettingTexts &texts);

} // namespace SettingsComparison
