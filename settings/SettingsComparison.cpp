#include "settings/SettingsComparison.h"

#include "settings/SettingTexts.h"

#include <cmath>
#include <cstdlib>

namespace SettingsComparison {

Result compare(const SettingsRecord &a, const SettingsRecord &b)
{
    Result r;
    for (const SettingsTable::Row &row : SettingsTable::rows()) {
        const double va = a.value(row.id);
        const double vb = b.value(row.id);
        if (va != vb)
            r.settings.append({row.id, va, vb});
    }
    for (size_t j = 0; j < a.levelThresholds.size(); ++j) {
        if (a.levelThresholds[j] != b.levelThresholds[j])
            r.thresholds.append({int(j) + 1, a.levelThresholds[j], b.levelThresholds[j]});
    }
    for (size_t k = 0; k < a.correctionMap.size(); ++k) {
        const int d = std::abs(a.correctionMap[k] - b.correctionMap[k]);
        if (d != 0) {
            ++r.map.pointsDiffering;
            r.map.largest = std::max(r.map.largest, d);
        }
    }
    return r;
}

namespace {

// The byte a scaled value came from.
int storedByte(const SettingsTable::Row &row, double value)
{
    return int(std::lround(value * row.perUnit));
}

} // namespace

QList<Line> lines(const Result &result, const SettingTexts &texts)
{
    QList<Line> out;
    for (const SettingChange &c : result.settings) {
        Line line{texts.name(c.id), texts.value(c.id, c.a), texts.value(c.id, c.b)};
        const SettingsTable::Row &row = SettingsTable::row(c.id);
        if (line.a == line.b && row.decode == SettingsTable::Decode::Scaled) {
            line.a += QStringLiteral(" (%1)").arg(storedByte(row, c.a));
            line.b += QStringLiteral(" (%1)").arg(storedByte(row, c.b));
        }
        out.append(line);
    }
    for (const ThresholdChange &c : result.thresholds)
        out.append({texts.thresholdName(c.threshold), texts.thresholdValue(c.a), texts.thresholdValue(c.b)});
    if (result.map.pointsDiffering > 0) {
        out.append({texts.mapName(), texts.mapPointsDiffer(result.map.pointsDiffering),
                    texts.mapLargestDifference(result.map.largest)});
    }
    return out;
}

} // namespace SettingsComparison
