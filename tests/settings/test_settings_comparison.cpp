// Two settings blocks compared, and the differences in the window's words.
#include "SettingsBlockBytes.h"

#include "i18n/LanguageTable.h"
#include "settings/SettingTexts.h"
#include "settings/SettingsComparison.h"
#include "settings/SettingsDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::pair<int, uint8_t>>;

// Neutral values every case starts from: a map flat at 1.00 and a block
// that shows an item in every list.
Bytes base()
{
    Bytes b = {{21, 0}, {22, 1}, {23, 25}, {24, 65}, {25, 36}, {26, 76}, {27, 112}, {28, 143}, {29, 0},
               {30, 1}, {31, 1}, {33, 4},  {34, 0},  {35, 40}, {36, 120}, {40, 80}, {41, 50}, {42, 10},
               {43, 5}, {45, 8}};
    for (int k = 0; k < 246; ++k)
        b.push_back({66 + k, 100});
    return b;
}

SettingsRecord record(const Bytes &changes)
{
    Bytes all = base();
    all.insert(all.end(), changes.begin(), changes.end());
    const std::optional<SettingsRecord> r = SettingsDecoder::decode(settingsBlock(all));
    EXPECT_TRUE(r.has_value());
    return r.value_or(SettingsRecord{});
}

const LanguageTable &table()
{
    static const LanguageTable t = LanguageTable::builtIn();
    return t;
}

struct Case
{
    const char *name;
    int column; // language
    Bytes a;    // on top of base()
    Bytes b;
    // "name|a|b", one per line, in order.
    std::vector<std::string> lines;
};

class SettingsComparisonCases : public ::testing::TestWithParam<Case>
{
};

TEST_P(SettingsComparisonCases, LinesInTheWindowsWords)
{
    const Case &c = GetParam();
    const QChar separator = c.column == LanguageTable::English ? QLatin1Char('.') : QLatin1Char(',');
    const SettingTexts texts(table(), c.column, separator);
    const SettingsComparison::Result result = SettingsComparison::compare(record(c.a), record(c.b));
    std::vector<std::string> got;
    for (const SettingsComparison::Line &l : SettingsComparison::lines(result, texts))
        got.push_back((l.name + QLatin1Char('|') + l.a + QLatin1Char('|') + l.b).toStdString());
    EXPECT_EQ(got, c.lines);
    EXPECT_EQ(result.same(), c.lines.empty());
}

constexpr int En = LanguageTable::English;
constexpr int Pl = LanguageTable::Polish;

INSTANTIATE_TEST_SUITE_P(
    Kinds, SettingsComparisonCases,
    ::testing::Values(
        Case{"Identical", En, {}, {}, {}},
        // Bytes that are no setting: active injectors, an uninterpreted byte,
        // the fault log, the byte after the map.
        Case{"StateAndUninterpretedBytesAreNoSettings", En, {{20, 0x0F}, {7, 1}, {561, 3}, {312, 9}}, {}, {}},
        // Item lists
        Case{"CylinderItemsFromTheTextTable", En, {}, {{22, 5}}, {"No. of Cylinders|4 cyl.|8 cyl."}},
        Case{"PulseItemsInPolish", Pl, {}, {{21, 1}}, {"Impulsy|Cewka Pojedyńcza|Cewka Podwójna"}},
        Case{"PulseItemsInEnglish", En, {}, {{21, 1}}, {"Impulse|Single Coil|Double Coil"}},
        Case{"UnknownInjectorCodeShowsNoItem", En, {}, {{45, 2}}, {"Gas Injector|Valtek/Rail 1 Ohm|(none)"}},
        Case{"TwoUnknownCodesShowAlike", En, {{45, 2}}, {{45, 4}}, {}},
        Case{"CylinderCode4IsNoItem", Pl, {}, {{22, 4}}, {"Ilość cylindrów|4 cyl.|(brak)"}},
        Case{"LevelSensorTypeWithItsGroup", En, {}, {{29, 2}},
             {"Gas level indicator: Sensor type|0-90 Ohm|90-0 Ohm"}},
        Case{"ShownOnlySensor", En, {}, {{33, 0}}, {"P1 MAP / P Gas|ZENU 01|(none)"}},
        // Numbers with units, as the controls show them
        Case{"DialWithGroupAndUnit", En, {}, {{35, 55}},
             {"Parameters switchover to LPG: Temperature|40 °C|55 °C"}},
        Case{"DialWithoutALabelTakesItsSpokenName", En, {}, {{23, 30}},
             {"Parameters switchover to LPG: Switch-over engine speed|2500 rpm|3000 rpm"}},
        Case{"SliderTwoDecimalsPolish", Pl, {}, {{36, 137}},
             {"Parametry ciśnień adaptacji: P. Pracy|1,20 bar|1,37 bar"}},
        Case{"MinimumPressureOnItsFinerScale", En, {}, {{40, 100}},
             {"Parameter Pressure Calibration: Minimum pressure|0.80 bar|1.00 bar"}},
        Case{"ValueBelowTheDialHeldAtItsEnd", En, {}, {{23, 1}},
             {"Parameters switchover to LPG: Switch-over engine speed|2500 rpm|300 rpm"}},
        // Held alike by the control: the stored byte tells them apart.
        Case{"BytesBeyondTheDialShownWithTheByte", En, {{41, 200}}, {{41, 201}},
             {"Parameters switchover to petrol: Press Time Err|1450 ms (200)|1450 ms (201)"}},
        Case{"HalfSecondOnAOneSecondDial", En, {{42, 24}}, {{42, 25}},
             {"Parameters switchover to LPG: Switch. Time|12 s (24)|12 s (25)"}},
        // Bits: two settings in one byte give two lines
        Case{"TwoBitsOfOneByte", En, {}, {{34, 0x88}},
             {"Engine Type|Standard|Turbo", "Injectors [+] Controlled|no|yes"}},
        Case{"OtherBitsOfTheFlagByteAreNoSettings", En, {}, {{34, 0x75}}, {}},
        Case{"SwitchAtFirstDropPolish", Pl, {{558, 1}}, {}, {"Przełącz przy pierwszym P min|tak|nie"}},
        Case{"FuelKindByItsButtons", En, {}, {{558, 2}}, {"Fuel Type|LPG|CNG"}},
        // Level thresholds
        Case{"OneThreshold", En, {}, {{25, 37}}, {"Gas level indicator: threshold 1|0.71 V|0.73 V"}},
        Case{"ThresholdsPolish", Pl, {{28, 255}}, {{26, 0}},
             {"Wskaźnik poziomu: próg 2|1,49 V|0,00 V", "Wskaźnik poziomu: próg 4|5,00 V|2,80 V"}},
        // The map as one line
        Case{"OneMapPoint", En, {}, {{66, 101}}, {"Map|1 point differs|largest 0.01"}},
        Case{"MapPointsLargestEitherWay", En, {}, {{70, 105}, {100, 88}, {311, 100}},
             {"Map|2 points differ|largest 0.12"}},
        Case{"MapPolishFew", Pl, {}, {{66, 90}, {67, 90}, {68, 95}}, {"Mapa|3 punkty różnią się|największa różnica 0,10"}},
        Case{"MapPolishMany", Pl, {}, {{66, 90}, {67, 90}, {68, 95}, {69, 99}, {70, 99}},
             {"Mapa|5 punktów różni się|największa różnica 0,10"}},
        // Everything at once keeps the order: settings, thresholds, map.
        Case{"OrderSettingsThresholdsMap", En, {}, {{66, 120}, {27, 100}, {43, 7}, {22, 0}},
             {"No. of Cylinders|4 cyl.|3 cyl.", "Parameters switchover to LPG: Cyl. Switch|50 ms|70 ms",
              "Gas level indicator: threshold 3|2.20 V|1.96 V", "Map|1 point differs|largest 0.20"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SettingsComparison, MapCountsEveryPointAndTheLargestStep)
{
    SettingsRecord a;
    SettingsRecord b;
    for (int k = 0; k < SettingsRecord::MapPoints; ++k) {
        a.correctionMap[size_t(k)] = 100;
        b.correctionMap[size_t(k)] = 100 + (k % 3 == 0 ? (k % 2 ? 7 : -9) : 0);
    }
    const SettingsComparison::Result r = SettingsComparison::compare(a, b);
    EXPECT_EQ(r.map.pointsDiffering, 82);
    EXPECT_EQ(r.map.largest, 9);
    EXPECT_TRUE(r.settings.isEmpty());
    EXPECT_FALSE(r.same());
    // Both ways round say the same.
    const SettingsComparison::Result back = SettingsComparison::compare(b, a);
    EXPECT_EQ(back.map.pointsDiffering, 82);
    EXPECT_EQ(back.map.largest, 9);
}

// Every setting has a name in every language, and no two share one.
TEST(SettingTexts, EverySettingIsNamedDistinctlyInEveryLanguage)
{
    for (int column : {int(LanguageTable::German), int(LanguageTable::English), int(LanguageTable::Polish),
                       int(LanguageTable::Czech)}) {
        const SettingTexts texts(table(), column, QLatin1Char(','));
        QStringList names;
        for (const SettingsTable::Row &row : SettingsTable::rows()) {
            const QString name = texts.name(row.id);
            EXPECT_FALSE(name.isEmpty()) << row.control << " column " << column;
            EXPECT_FALSE(name.contains(QLatin1Char('.')) && name.startsWith(QLatin1String("settings.")))
                << row.control << " names a missing text: " << name.toStdString();
            EXPECT_FALSE(names.contains(name)) << name.toStdString() << " twice, column " << column;
            names << name;
        }
        for (int j = 1; j <= 4; ++j)
            EXPECT_FALSE(names.contains(texts.thresholdName(j)));
    }
}

} // namespace

namespace {

// What a control holds goes back into the block as the byte it came from.
TEST(SettingsTableEncode, EveryRowGivesBackTheByteItWasDecodedFrom)
{
    for (const SettingsTable::Row &row : SettingsTable::rows()) {
        for (int byte = 0; byte < 256; ++byte) {
            QByteArray block = settingsBlock({{row.offset, uint8_t(byte)}});
            const double value = SettingsDecoder::decodeRow(row, block);
            QByteArray back = settingsBlock({{row.offset, uint8_t(row.decode == SettingsTable::Decode::Bit ? ~byte : 0)}});
            SettingsTable::encodeRow(row, value, back);
            if (row.decode == SettingsTable::Decode::ItemCodes && value < 0) {
                EXPECT_EQ(uint8_t(back[row.offset]), 0) << row.control << " no item leaves the byte";
                continue;
            }
            if (row.decode == SettingsTable::Decode::Bit) {
                EXPECT_EQ((uint8_t(back[row.offset]) >> row.bit) & 1, (byte >> row.bit) & 1) << row.control << " " << byte;
                EXPECT_EQ(uint8_t(back[row.offset]) & ~(1 << row.bit), uint8_t(~byte) & ~(1 << row.bit))
                    << row.control << " other bits kept";
                continue;
            }
            EXPECT_EQ(uint8_t(back[row.offset]), byte) << row.control;
        }
    }
}

// A control moved by the user: the value it shows is what goes back.
TEST(SettingsTableEncode, ShownValuesOfTheControls)
{
    using SettingsTable::Id;
    QByteArray block = settingsBlock();
    SettingsTable::encodeRow(SettingsTable::row(Id::WorkingPressure), double(1.37f), block);
    SettingsTable::encodeRow(SettingsTable::row(Id::MinimumPressure),
                             SettingsTable::shownValue(SettingsTable::row(Id::MinimumPressure), 1.0), block);
    SettingsTable::encodeRow(SettingsTable::row(Id::SwitchOverTime), 12.0, block);
    SettingsTable::encodeRow(SettingsTable::row(Id::PressureFaultTime), 25.0, block);
    SettingsTable::encodeRow(SettingsTable::row(Id::InjectorType), 5.0, block);
    EXPECT_EQ(uint8_t(block[36]), 137);
    EXPECT_EQ(uint8_t(block[40]), 100);
    EXPECT_EQ(uint8_t(block[42]), 24);
    EXPECT_EQ(uint8_t(block[41]), 2); // 2.5 to even
    EXPECT_EQ(uint8_t(block[45]), 7);
}

} // namespace
