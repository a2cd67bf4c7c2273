#include "settings/SettingsDecoder.h"

namespace SettingsDecoder {

using SettingsTable::Decode;

double decodeRow(const SettingsTable::Row &row, const QByteArray &block)
{
    const uint8_t byte = uint8_t(block[row.offset]);
    switch (row.decode) {
    case Decode::ItemCodes:
        for (size_t i = 0; i < row.codes.size(); ++i) {
            if (row.codes[i] == byte)
                return double(i);
        }
        return -1.0;
    case Decode::Bit:
        return double((byte >> row.bit) & 1);
    case Decode::Scaled:
        return double(byte) / row.perUnit;
    }
    return 0.0;
}

QString thresholdText(double volts, QChar decimalSeparator)
{
    // byte / 51 never lies half-way between two hundredths, so plain
    // formatting rounds as the rest of the program does.
    QString text = QString::number(volts, 'f', 2);
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

int cylinderCountOfItem(int item)
{
    static constexpr int Counts[] = {3, 4, 5, 6, 8};
    return item >= 0 && item < int(std::size(Counts)) ? Counts[item] : 0;
}

std::optional<SettingsRecord> decode(const QByteArray &block)
{
    if (block.size() < MinimumBlockSize)
        return std::nullopt;
    const auto at = [&](int offset) { return uint8_t(block[offset]); };

    SettingsRecord r;
    for (const SettingsTable::Row &row : SettingsTable::rows())
        r.values[size_t(row.id)] = decodeRow(row, block);
    r.activeInjectors = at(ActiveInjectorsOffset);
    for (int j = 0; j < 4; ++j)
        r.levelThresholds[size_t(j)] = at(LevelThresholdOffset + j) / LevelStepsPerVolt;
    for (int i = 0; i < SettingsRecord::FaultBytes; ++i)
        r.faultLog[size_t(i)] = at(FaultLogOffset + i);
    for (int k = 0; k < SettingsRecord::MapPoints; ++k)
        r.correctionMap[size_t(k)] = at(CorrectionMapOffset + k);
    return r;
}

} // namespace SettingsDecoder

int SettingsRecord::cylinderCount() const
{
    return SettingsDecoder::cylinderCountOfItem(item(SettingsTable::Id::CylinderCount));
}
