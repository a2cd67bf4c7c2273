#include "SettingsBlockBytes.h"

#include "settings/SettingsDecoder.h"
#include "settings/SettingsEdits.h"
#include "settings/SettingsTable.h"

#include <gtest/gtest.h>

#include <cstring>

using Id = SettingsTable::Id;
using Group = CommandBodies::Group;

namespace {

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

std::string hexOf(const Group &g)
{
    return (g.first.toHex(' ') + " | " + g.second.toHex(' ') + " | " + g.third.toHex(' ')).toStdString();
}

TEST(SettingsTable, OneRowPerSettingInOrderAndByControlName)
{
    const auto &rows = SettingsTable::rows();
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(int(rows[i].id), int(i));
        EXPECT_EQ(SettingsTable::rowOfControl(rows[i].control), &rows[i]) << rows[i].control;
    }
    EXPECT_EQ(SettingsTable::rowOfControl("Polacz_switch"), nullptr);
}

struct CommandCase
{
    const char *name;
    Id setting;
    double value;
    const char *first;
    const char *second = "";
    const char *third = "";
};

void PrintTo(const CommandCase &c, std::ostream *os) { *os << c.name; }

class SettingCommand : public ::testing::TestWithParam<CommandCase>
{
};

TEST_P(SettingCommand, BodiesOfAChange)
{
    const CommandCase &c = GetParam();
    const Group g = SettingsTable::commandFor(c.setting, c.value);
    const Group expected{hex(c.first), hex(c.second), hex(c.third)};
    EXPECT_EQ(g, expected) << hexOf(g);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, SettingCommand,
    ::testing::Values(
        CommandCase{"Cylinders3", Id::CylinderCount, 0, "1b00"},
        CommandCase{"Cylinders6", Id::CylinderCount, 3, "1b03"},
        CommandCase{"Cylinders8SendsCode5", Id::CylinderCount, 4, "1b05"},
        CommandCase{"PulseDoubleCoil", Id::IgnitionPulse, 1, "0a01"},
        CommandCase{"Pulse8Cyl", Id::IgnitionPulse, 6, "0a06"},
        CommandCase{"RpmSignalHigh", Id::RpmSignal, 1, "1701"},
        CommandCase{"EngineTurbo", Id::EngineType, 1, "2101"},
        CommandCase{"EngineStandard", Id::EngineType, 0, "2100"},
        CommandCase{"InjectorsPositiveOn", Id::InjectorsPositive, 1, "2d01"},
        CommandCase{"InjectorsPositiveOff", Id::InjectorsPositive, 0, "2d00"},
        CommandCase{"FirstDropOn", Id::SwitchAtFirstDrop, 1, "2e01"},
        CommandCase{"WorkingPressure137", Id::WorkingPressure, 1.37, "2b89"},
        CommandCase{"WorkingPressureFloatOf137", Id::WorkingPressure, double(1.37f), "2b89"},
        CommandCase{"MinimumPressure060", Id::MinimumPressure, 0.60, "1e3c"},
        CommandCase{"SwitchOver12s", Id::SwitchOverTime, 12, "2218"},
        CommandCase{"MaxRpm6500", Id::MaxRpmToPetrol, 6500, "1141"},
        CommandCase{"GasRpm2500", Id::GasSwitchRpm, 2500, "0919"},
        CommandCase{"FaultTime25msTiesToEven", Id::PressureFaultTime, 25, "1f02"},
        CommandCase{"FaultTime35msTiesToEven", Id::PressureFaultTime, 35, "1f04"},
        CommandCase{"FaultTime15ms", Id::PressureFaultTime, 15, "1f02"},
        CommandCase{"FaultTime1450ms", Id::PressureFaultTime, 1450, "1f91"},
        CommandCase{"Temperature90", Id::GasSwitchTemperature, 90, "0f5a"},
        CommandCase{"Sequence200ms", Id::CylinderSequenceTime, 200, "2314"},
        CommandCase{"Sequence2550ms", Id::CylinderSequenceTime, 2550, "23ff"},
        CommandCase{"InjectorValtek1", Id::InjectorType, 0, "0e08", "2406", "301e"},
        CommandCase{"InjectorValtek2", Id::InjectorType, 1, "0e09", "2406", "3023"},
        CommandCase{"InjectorValtek3", Id::InjectorType, 2, "0e03", "2409", "302d"},
        CommandCase{"InjectorMatrix", Id::InjectorType, 3, "0e01", "2406", "301e"},
        CommandCase{"InjectorBrc", Id::InjectorType, 4, "0e06", "2406", "301e"},
        CommandCase{"InjectorKeihin", Id::InjectorType, 5, "0e07", "2406", "301e"},
        CommandCase{"NoItemSendsNothing", Id::InjectorType, -1, ""},
        CommandCase{"NoPulseItemSendsNothing", Id::IgnitionPulse, -1, ""},
        CommandCase{"PressureSensorShowsOnly", Id::PressureSensor, 0, ""},
        CommandCase{"ReducerSensorShowsOnly", Id::ReducerSensor, 0, ""},
        CommandCase{"GasSensorShowsOnly", Id::GasSensor, 0, ""},
        CommandCase{"FuelKindShowsOnly", Id::FuelKind, 1, ""}),
    [](const auto &info) { return std::string(info.param.name); });

// What the decoder reads from a byte, a change to that value sends back: for
// every byte a numeric control can hold, and every item of every list.
TEST(SettingsTable, DecodedValueSendsItsByteBack)
{
    for (const SettingsTable::Row &row : SettingsTable::rows()) {
        if (!row.command.sends())
            continue;
        SCOPED_TRACE(row.control);
        if (row.decode == SettingsTable::Decode::Scaled) {
            const int firstByte = int(std::lround(row.valueFrom * row.perUnit));
            const int lastByte = std::min(255, int(std::lround(row.valueTo * row.perUnit)));
            for (int b = firstByte; b <= lastByte; ++b) {
                const double value = SettingsDecoder::decodeRow(row, settingsBlock({{row.offset, uint8_t(b)}}));
                const Group g = SettingsTable::commandFor(row.id, value);
                ASSERT_EQ(g.first.size(), 2) << b;
                EXPECT_EQ(uint8_t(g.first[1]), b);
            }
        } else if (row.decode == SettingsTable::Decode::ItemCodes) {
            for (size_t item = 0; item < row.codes.size(); ++item) {
                const double value =
                    SettingsDecoder::decodeRow(row, settingsBlock({{row.offset, row.codes[item]}}));
                EXPECT_EQ(value, double(item));
                EXPECT_EQ(uint8_t(SettingsTable::commandFor(row.id, value).first[1]), row.codes[item]);
            }
        } else {
            for (int bit = 0; bit < 2; ++bit) {
                const double value =
                    SettingsDecoder::decodeRow(row, settingsBlock({{row.offset, uint8_t(bit << row.bit)}}));
                EXPECT_EQ(uint8_t(SettingsTable::commandFor(row.id, value).first[1]), bit);
            }
        }
    }
}

// --- the cylinder count and the fuel switch ---------------------------------------

TEST(SettingsEdits, CylinderCountRewritesTheKeptBlock)
{
    const struct
    {
        int item;
        uint8_t code;
        uint8_t active;
    } cases[] = {{0, 0, 0x07}, {1, 1, 0x0F}, {2, 2, 0x1F}, {3, 3, 0x3F}, {4, 5, 0xFF}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.item);
        QByteArray stored = settingsBlock({{20, 0x01}, {22, 1}, {23, 12}});
        const QByteArray before = stored;
        const Group g = SettingsEdits::changeCylinderCount(c.item, stored);
        EXPECT_EQ(g, (Group{QByteArray("\x1b", 1) + char(c.code), {}, {}}));
        EXPECT_EQ(uint8_t(stored[22]), c.code);
        EXPECT_EQ(uint8_t(stored[20]), c.active);
        // Nothing else of the block changes.
        stored[20] = before[20];
        stored[22] = before[22];
        EXPECT_EQ(stored, before);
    }
}

struct FuelCase
{
    const char *name;
    SettingsEdits::FuelSender sender;
    bool switchShowsGas;
    int calibrationStep;
    uint8_t mask;
    const char *first;
    const char *second;
};

void PrintTo(const FuelCase &c, std::ostream *os) { *os << c.name; }

class FuelRequest : public ::testing::TestWithParam<FuelCase>
{
};

TEST_P(FuelRequest, Bodies)
{
    const FuelCase &c = GetParam();
    const Group g = SettingsEdits::fuelRequest(c.sender, c.switchShowsGas, c.calibrationStep, c.mask);
    EXPECT_EQ(g, (Group{hex(c.first), hex(c.second), {}})) << hexOf(g);
}

using S = SettingsEdits::FuelSender;
INSTANTIATE_TEST_SUITE_P(
    Senders, FuelRequest,
    ::testing::Values(FuelCase{"SwitchOnPetrolAsksForGas", S::Switch, false, -1, 0x0F, "03030f", ""},
                      FuelCase{"SwitchOnGasAsksForPetrol", S::Switch, true, -1, 0x0F, "03020f", ""},
                      FuelCase{"LedOnGasAsksForGasWithNewMask", S::None, true, -1, 0x0B, "03030b", ""},
                      FuelCase{"FirstCalibrationStepStartsCalibration", S::Calibration, true, 0, 0x3F, "25", "03023f"},
                      FuelCase{"LaterCalibrationStepAsksForPetrol", S::Calibration, false, 4, 0x3F, "03023f", ""}),
    [](const auto &info) { return std::string(info.param.name); });

// Loading a file: the write-all never carries the active injectors (offset 20), so a file with another
// cylinder count brings its own set after it, for the fuel in use.
struct LoadCase {
    const char *name;
    uint8_t storedCount; // offset 22 of the kept block
    uint8_t fileCount;
    uint8_t fileMask;
    bool gasInUse;
    const char *middle; // between the write-all and the read-all; "" for none
};

class DataFileLoad : public ::testing::TestWithParam<LoadCase>
{
};

TEST_P(DataFileLoad, WriteAllThenTheFilesInjectorsWhereTheCountChanges)
{
    const LoadCase &c = GetParam();
    QByteArray block = settingsBlock({{20, 0x0F}, {22, c.fileCount}, {21, 2}, {560, 0x5A}});
    block[20] = char(c.fileMask);
    const DataFile::Decoded file = DataFile::decodeForWriteAll(DataFile::encode(block, 9));
    ASSERT_TRUE(file.ok());
    const QByteArray stored = settingsBlock({{20, 0x0F}, {22, c.storedCount}});
    const Group g = SettingsEdits::dataFileLoad(file, stored, c.gasInUse);
    const QByteArray writeAll = QByteArray(1, char(0x1A)) + block.mid(21, 540);
    if (*c.middle)
        EXPECT_EQ(g, (Group{writeAll, hex(c.middle), hex("6600")})) << hexOf(g);
    else
        EXPECT_EQ(g, (Group{writeAll, hex("6600"), {}})) << hexOf(g);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DataFileLoad,
    ::testing::Values(LoadCase{"SameCountLeavesTheInjectors", 3, 3, 0x1F, true, ""},
                      LoadCase{"SixCylindersIntoFourOnGas", 1, 3, 0x3F, true, "03033f"},
                      LoadCase{"FiveCylindersIntoFourOnPetrol", 1, 2, 0x1F, false, "03021f"},
                      LoadCase{"EightCylindersIntoSix", 3, 5, 0xFF, true, "0303ff"},
                      LoadCase{"FourCylindersIntoSixKeepTheFilesSet", 3, 1, 0x0B, false, "03020b"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SettingsEdits, MaskAndChartScale)
{
    EXPECT_EQ(SettingsEdits::injectorMask({true, true, true, true, false, false, false, false}), 0x0F);
    EXPECT_EQ(SettingsEdits::injectorMask({false, false, false, false, false, false, false, true}), 0x80);
    EXPECT_EQ(SettingsEdits::mapAxisMaximum(1), 256.0);
    EXPECT_EQ(SettingsEdits::mapAxisMaximum(0), 100.0);
}

} // namespace
