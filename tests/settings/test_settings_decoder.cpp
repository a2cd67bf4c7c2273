#include "SettingsBlockBytes.h"

#include "settings/FaultLogText.h"
#include "settings/SettingsDecoder.h"

#include <gtest/gtest.h>

#include <QMap>

#include <vector>

using Id = SettingsTable::Id;

namespace {

struct DecodeCase
{
    const char *name;
    std::vector<std::pair<int, uint8_t>> bytes;
    Id setting;
    double expected;
};

void PrintTo(const DecodeCase &c, std::ostream *os) { *os << c.name; }

class DecodeSetting : public ::testing::TestWithParam<DecodeCase>
{
};

TEST_P(DecodeSetting, ControlValueFromTheBlock)
{
    const DecodeCase &c = GetParam();
    const std::optional<SettingsRecord> r = SettingsDecoder::decode(settingsBlock(c.bytes));
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->value(c.setting), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Block, DecodeSetting,
    ::testing::Values(
        // Cylinder count: 0..3 are items, 4 is none, 5 is "8 cyl."
        DecodeCase{"Cylinders3IsItem3", {{22, 3}}, Id::CylinderCount, 3},
        DecodeCase{"Cylinders4IsNone", {{22, 4}}, Id::CylinderCount, -1},
        DecodeCase{"Cylinders5IsEight", {{22, 5}}, Id::CylinderCount, 4},
        DecodeCase{"Cylinders6IsNone", {{22, 6}}, Id::CylinderCount, -1},
        DecodeCase{"PulseItem6", {{21, 6}}, Id::IgnitionPulse, 6},
        DecodeCase{"Pulse7IsNone", {{21, 7}}, Id::IgnitionPulse, -1},
        // Flags of offset 34: bit 1 RPM signal, bit 3 engine type, bit 7 injectors.
        DecodeCase{"Flags8AHigh12V", {{34, 0x8A}}, Id::RpmSignal, 1},
        DecodeCase{"Flags8ATurbo", {{34, 0x8A}}, Id::EngineType, 1},
        DecodeCase{"Flags8AInjectorsPositive", {{34, 0x8A}}, Id::InjectorsPositive, 1},
        DecodeCase{"Flags75LowStandardNegative", {{34, 0x75}}, Id::RpmSignal, 0},
        DecodeCase{"Flags75Standard", {{34, 0x75}}, Id::EngineType, 0},
        DecodeCase{"Flags75Negative", {{34, 0x75}}, Id::InjectorsPositive, 0},
        DecodeCase{"Injector2IsNone", {{45, 2}}, Id::InjectorType, -1},
        DecodeCase{"Injector3IsValtek3", {{45, 3}}, Id::InjectorType, 2},
        DecodeCase{"Injector8IsValtek1", {{45, 8}}, Id::InjectorType, 0},
        DecodeCase{"Injector7IsKeihin", {{45, 7}}, Id::InjectorType, 5},
        DecodeCase{"WorkingPressure137", {{36, 137}}, Id::WorkingPressure, 1.37},
        DecodeCase{"MinimumPressure60", {{40, 60}}, Id::MinimumPressure, 0.60},
        DecodeCase{"FaultTime200Is2000ms", {{41, 200}}, Id::PressureFaultTime, 2000},
        DecodeCase{"GasRpm1Is100", {{23, 1}}, Id::GasSwitchRpm, 100},
        DecodeCase{"MaxRpm65", {{24, 65}}, Id::MaxRpmToPetrol, 6500},
        DecodeCase{"Temperature35", {{35, 35}}, Id::GasSwitchTemperature, 35},
        DecodeCase{"SwitchOverOddByteIsHalfSecond", {{42, 21}}, Id::SwitchOverTime, 10.5},
        DecodeCase{"Sequence20Is200ms", {{43, 20}}, Id::CylinderSequenceTime, 200},
        DecodeCase{"PressureSensor4", {{33, 4}}, Id::PressureSensor, 0},
        DecodeCase{"PressureSensor3IsNone", {{33, 3}}, Id::PressureSensor, -1},
        DecodeCase{"ReducerSensor1", {{30, 1}}, Id::ReducerSensor, 0},
        DecodeCase{"ReducerSensor0IsNone", {{30, 0}}, Id::ReducerSensor, -1},
        DecodeCase{"GasSensor1", {{31, 1}}, Id::GasSensor, 0},
        DecodeCase{"LevelSensor0", {{29, 0}}, Id::LevelSensor, 0},
        DecodeCase{"LevelSensor2", {{29, 2}}, Id::LevelSensor, 1},
        DecodeCase{"LevelSensor1IsNone", {{29, 1}}, Id::LevelSensor, -1},
        DecodeCase{"FirstDropBit0", {{558, 0x01}}, Id::SwitchAtFirstDrop, 1},
        DecodeCase{"CngBit1", {{558, 0x02}}, Id::FuelKind, 1},
        DecodeCase{"LpgBit1Clear", {{558, 0xFD}}, Id::FuelKind, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SettingsDecoder, BlockShorterThan602BytesIsNoRecord)
{
    EXPECT_FALSE(SettingsDecoder::decode(settingsBlock({}, 601)));
    EXPECT_FALSE(SettingsDecoder::decode(QByteArray()));
    EXPECT_TRUE(SettingsDecoder::decode(settingsBlock({}, 602)));
}

TEST(SettingsDecoder, InjectorsThresholdsAndMap)
{
    QByteArray block = settingsBlock({{20, 0x3F}, {25, 36}, {26, 76}, {27, 112}, {28, 255}, {66, 100}, {311, 0}});
    block[601] = char(0x05);
    const SettingsRecord r = *SettingsDecoder::decode(block);
    EXPECT_EQ(r.activeInjectors, 0x3F);
    EXPECT_EQ(r.correctionMap.front(), 100); // point 1 at 1.0 ms
    EXPECT_EQ(r.correctionMap.back(), 0);    // point 246 at 25.5 ms
    EXPECT_EQ(r.faultLog[40], 0x05);         // the byte after the last slot
    const QChar comma(u',');
    EXPECT_EQ(SettingsDecoder::thresholdText(r.levelThresholds[0], comma), QStringLiteral("0,71"));
    EXPECT_EQ(SettingsDecoder::thresholdText(r.levelThresholds[1], comma), QStringLiteral("1,49"));
    EXPECT_EQ(SettingsDecoder::thresholdText(r.levelThresholds[2], comma), QStringLiteral("2,20"));
    EXPECT_EQ(SettingsDecoder::thresholdText(r.levelThresholds[3], comma), QStringLiteral("5,00"));
    EXPECT_EQ(SettingsDecoder::thresholdText(r.levelThresholds[0], QChar(u'.')), QStringLiteral("0.71"));
}

TEST(SettingsDecoder, CylinderCountOfEachItem)
{
    const int expected[] = {3, 4, 5, 6, 8};
    for (int item = 0; item < 5; ++item)
        EXPECT_EQ(SettingsDecoder::cylinderCountOfItem(item), expected[item]);
    EXPECT_EQ(SettingsDecoder::cylinderCountOfItem(-1), 0);
    EXPECT_EQ(SettingsDecoder::cylinderCountOfItem(5), 0);
}

// --- registered faults -----------------------------------------------------------

const QMap<int, QString> kRowTexts = {
    {0, QStringLiteral(" - Błąd napięcia")},          {1, QStringLiteral(" - Cisnienie gazu za wysokie")},
    {2, QStringLiteral(" - Cisnienie gazu za niskie")}, {3, QStringLiteral(" - Napięcie stacyjki za niskie")},
    {4, QStringLiteral(" - Brak wtrysku benzyny")},    {5, QStringLiteral(" - Błędna praca układu benzynowego")},
    {6, QStringLiteral(" - Błąd wtryskiwacza : ")},    {8, QStringLiteral(" - Błąd zasilania")},
    {9, QStringLiteral(" - Za długi czas wtrysku gazu")},
};

struct FaultLogCase
{
    const char *name;
    std::vector<std::pair<int, uint8_t>> filled; // slot index (40 = the byte after), code
    uint8_t activeInjectors;
    QStringList expected;
};

void PrintTo(const FaultLogCase &c, std::ostream *os) { *os << c.name; }

class FaultLog : public ::testing::TestWithParam<FaultLogCase>
{
};

TEST_P(FaultLog, MemoLines)
{
    const FaultLogCase &c = GetParam();
    std::array<uint8_t, 41> log;
    log.fill(0xFF);
    for (const auto &[slot, code] : c.filled)
        log[size_t(slot)] = code;
    const QStringList lines = FaultLogText::lines(log, c.activeInjectors, [](int row) {
        EXPECT_TRUE(kRowTexts.contains(row)) << row;
        return kRowTexts.value(row);
    });
    EXPECT_EQ(lines, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Log, FaultLog,
    ::testing::Values(
        FaultLogCase{"AllEmpty", {}, 0x0F, {}},
        FaultLogCase{"PressureHigh", {{0, 3}}, 0, {QStringLiteral("1 - Cisnienie gazu za wysokie"), QStringLiteral("3")}},
        FaultLogCase{"InjectorThenPressureLow",
                     {{0, 0}, {1, 4}},
                     0x0F,
                     {QStringLiteral("1 - Błąd wtryskiwacza :  1 2 3 4"), QStringLiteral("2 - Cisnienie gazu za niskie"),
                      QStringLiteral("4")}},
        FaultLogCase{"UnknownCodeOnlyRaw", {{0, 9}}, 0, {QStringLiteral("9")}},
        FaultLogCase{"InjectorNamesOnlyActiveCylinders",
                     {{0, 0}},
                     0xA0,
                     {QStringLiteral("1 - Błąd wtryskiwacza :  6 8")}},
        FaultLogCase{"InjectorInLastSlotReadsTheByteAfter",
                     {{39, 0}, {40, 8}},
                     0x01,
                     {QStringLiteral("1 - Błąd wtryskiwacza :  1"), QStringLiteral("2 - Błąd zasilania"),
                      QStringLiteral("8")}},
        FaultLogCase{"TwoInjectorFaultsInARow",
                     {{0, 0}, {1, 0}, {2, 1}},
                     0x03,
                     {QStringLiteral("1 - Błąd wtryskiwacza :  1 2"), QStringLiteral("0"),
                      QStringLiteral("2 - Za długi czas wtrysku gazu"), QStringLiteral("1")}},
        FaultLogCase{"CountersSkipRawLines",
                     {{0, 2}, {1, 0x40}, {2, 5}},
                     0,
                     {QStringLiteral("1 - Błąd napięcia"), QStringLiteral("2"), QStringLiteral("64"),
                      QStringLiteral("2 - Napięcie stacyjki za niskie"), QStringLiteral("5")}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
