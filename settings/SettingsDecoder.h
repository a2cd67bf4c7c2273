#pragma once

#include "settings/SettingsRecord.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The controller's settings block, bytes in, record out.
namespace SettingsDecoder {

// Offsets 0..600 and the check byte.
constexpr int MinimumBlockSize = 602;
constexpr int ActiveInjectorsOffset = 20;
constexpr int CylinderCodeOffset = 22;
constexpr int LevelThresholdOffset = 25;
constexpr int CorrectionMapOffset = 66;
constexpr int FaultLogOffset = 561;
constexpr int FaultSlots = 40;
constexpr double LevelStepsPerVolt = 51.0;

// Nothing for a block too short to hold every field.
std::optional<SettingsRecord> decode(const QByteArray &block);

// One row's control value from the block (which must be long enough).
double decodeRow(const SettingsTable::Row &row, const QByteArray &block);

// A level threshold as its edit shows it: two decimals, the given separator.
QString thresholdText(double volts, QChar decimalSeparator);

// The cylinder item's count (3, 4, 5, 6, 8), 0 for no item.
int cylinderCountOfItem(int item);

} // namespace SettingsDecoder
