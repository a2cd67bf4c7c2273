#include "link/CommandBodies.h"
#include "link/CommandFrame.h"

#include <gtest/gtest.h>

#include <QString>

#include <cmath>
#include <limits>
#include <vector>

namespace CB = CommandBodies;

namespace {

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

QByteArray repeatHex(const char *h, int times) { return hex(h).repeated(times); }

} // namespace

TEST(CommandBodies, RoundingIsHalfEvenThenLowEightBits)
{
    struct Case { double scaled; int expected; };
    const Case cases[] = {
        {2.5, 2}, {3.5, 4}, {0.5, 0}, {1.5, 2},       // true ties go to even
        {0.125 * 100, 12}, {1.5 * 51, 76},            // exact binary ties from real scalings
        {2.4999, 2}, {2.5001, 3}, {0.7 * 51, 36},     // near ties are not ties
        {1.15 * 100, 115}, {0.29 * 100, 29},          // 114.999.. and 28.999.. in binary
        {0.575 * 100, 58}, {0.545 * 100, 54},         // 57.4999.. and 54.5000..1 in binary: decimal ties
        {1.015 * 100, 102}, {2.325 * 100, 232},       // land on the even side, not where the binary error points
        {-1.0, 255}, {-0.5, 0}, {-1.5, 254}, {-2.5, 254}, // negative values wrap
        {255.0, 255}, {255.5, 0}, {254.5, 254}, {256.0, 0}, {300.4, 44}, {1e12 + 3.0, (int)(uint64_t(1e12 + 3.0) & 0xFF)},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.scaled);
        EXPECT_EQ(CB::valueByte(c.scaled), c.expected);
    }
}

TEST(CommandBodies, RoundingSaturatesOutsideTheSixtyFourBitRange)
{
    constexpr long long Max = std::numeric_limits<long long>::max();
    constexpr long long Min = std::numeric_limits<long long>::min();
    EXPECT_EQ(CB::roundHalfEven(1e19), Max);
    EXPECT_EQ(CB::roundHalfEven(9223372036854775808.0), Max);
    EXPECT_EQ(CB::roundHalfEven(-1e19), Min);
    EXPECT_EQ(CB::roundHalfEven(std::numeric_limits<double>::infinity()), 0);
    // The largest doubles below 2^63 still convert exactly.
    EXPECT_EQ(CB::roundHalfEven(9223372036854774784.0), 9223372036854774784LL);
    EXPECT_EQ(CB::valueByte(1e19), 0xFF);
    EXPECT_EQ(CB::valueByte(-1e19), 0x00);
}

TEST(CommandBodies, EveryHundredthAndEveryLevelByteSurvivesItsDisplay)
{
    // A byte decoded for display and sent back unchanged must give the same
    // byte: pressures show byte/100, level thresholds byte/51 with two decimals.
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(CB::workingPressure(b / 100.0), QByteArray(1, '\x2B') + char(b));
        EXPECT_EQ(CB::minimumPressure(b / 100.0), QByteArray(1, '\x1E') + char(b));
        const double shown = QString::number(b / 51.0, 'f', 2).toDouble();
        const QByteArray thresholds =
            CB::levelThresholds({shown, shown, shown, shown}, CB::LevelSensor::Ohm0To90).first;
        EXPECT_EQ(uint8_t(thresholds[1]), b);
        EXPECT_EQ(uint8_t(thresholds[4]), b);
    }
}

TEST(CommandBodies, SingleBodiesOfTheCatalogue)
{
    const std::vector<int> rising = [] {
        std::vector<int> v;
        for (int k = 1; k <= CB::MapPoints; ++k)
            v.push_back(k);
        return v;
    }();
    QByteArray risingBytes;
    for (int k = 1; k <= CB::MapPoints; ++k)
        risingBytes.append(char(k));

    struct Case { const char *what; QByteArray body; QByteArray expected; };
    const Case cases[] = {
        {"startup", CB::startup(), hex("6601")},
        {"poll", CB::poll(), hex("5501")},
        {"read all", CB::readAll(), hex("6600")},
        {"factory reset", CB::factoryReset(), hex("26")},
        {"clear faults", CB::clearFaults(), hex("1000")},
        {"3 cyl.", CB::cylinderCount(0), hex("1b00")},
        {"6 cyl.", CB::cylinderCount(3), hex("1b03")},
        {"8 cyl.", CB::cylinderCount(4), hex("1b05")},
        {"typed cylinder text", CB::cylinderCount(-1), hex("1bff")},
        {"ignition pulse", CB::ignitionPulse(6), hex("0a06")},
        {"rpm signal high", CB::rpmSignal(1), hex("1701")},
        {"engine turbo", CB::engineType(1), hex("2101")},
        {"injectors positive off", CB::injectorsPositive(false), hex("2d00")},
        {"injectors positive on", CB::injectorsPositive(true), hex("2d01")},
        {"first drop off", CB::switchAtFirstDrop(false), hex("2e00")},
        {"first drop on", CB::switchAtFirstDrop(true), hex("2e01")},
        {"working pressure 1.37", CB::workingPressure(1.37), hex("2b89")},
        {"working pressure 1.15", CB::workingPressure(1.15), hex("2b73")},
        {"minimum pressure 2.50", CB::minimumPressure(2.50), hex("1efa")},
        {"minimum pressure 0.40", CB::minimumPressure(0.40), hex("1e28")},
        {"pressure fault 15 ms", CB::pressureFaultTime(15), hex("1f02")},
        {"pressure fault 25 ms", CB::pressureFaultTime(25), hex("1f02")},
        {"pressure fault 35 ms", CB::pressureFaultTime(35), hex("1f04")},
        {"pressure fault 1450 ms", CB::pressureFaultTime(1450), hex("1f91")},
        {"max rpm to petrol 6500", CB::maxRpmToPetrol(6500), hex("1141")},
        {"gas switch temperature 90", CB::gasSwitchTemperature(90), hex("0f5a")},
        {"gas switch rpm 2500", CB::gasSwitchRpm(2500), hex("0919")},
        {"switch-over 12 s", CB::switchOverTime(12), hex("2218")},
        {"cylinder sequence 2550 ms", CB::cylinderSequenceTime(2550), hex("23ff")},
        {"cylinder sequence 250 ms", CB::cylinderSequenceTime(250), hex("2319")},
        {"petrol, cylinders 1-4", CB::requestPetrol(0x0F), hex("03020f")},
        {"gas, cylinders 1-4", CB::requestGas(0x0F), hex("03030f")},
        {"level edit begins", CB::levelEditBegin(), hex("3101")},
        {"level edit ends", CB::levelEditEnd(), hex("3100")},
        {"report", CB::calibrationReport(35, 30, 0x80), hex("19230680")},
        {"report, minimum above average wraps", CB::calibrationReport(2, 5, 0x75), hex("1902fe75")},
        {"calibration block", CB::calibrationBlock(28),
         hex("20") + repeatHex("00", 10) + hex("0a1cff") + repeatHex("00", 7)},
        {"reference", CB::calibrationReference(100, 28, 118, 40), hex("02641c76283c")},
        {"reference 5/1.66666 = 3.00001", CB::calibrationReference(5, 1, 2, 3), hex("020501020303")},
        {"stop", CB::calibrationStop(), hex("0500")},
        {"zero map", CB::zeroMap(), hex("06") + repeatHex("00", 246)},
        {"map write", CB::correctionMapWrite(rising), hex("0b") + risingBytes},
        {"map editor follow-up", CB::mapEditorFollowUp(),
         hex("20") + repeatHex("00", 10) + hex("0aff") + repeatHex("00", 8)},
        {"curve gas", CB::curveGas(), hex("2a02")},
        {"curve petrol", CB::curvePetrol(), hex("2a01")},
        {"write-all", CB::settingsWrite(hex("0102ff")), hex("1a0102ff")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.body.toHex(' '), c.expected.toHex(' '));
    }
    EXPECT_EQ(CB::calibrationBlock(0).size(), 21);
    EXPECT_EQ(CB::mapEditorFollowUp().size(), 21);
    EXPECT_EQ(CommandFrame::frame(CB::startup()), CommandFrame::startupFrame());
    EXPECT_EQ(CommandFrame::frame(CB::poll()), CommandFrame::pollFrame());
}

TEST(CommandBodies, GroupsGoOutTogetherInOrder)
{
    const QByteArray settings = [] {
        QByteArray s;
        for (int i = 0; i < 540; ++i)
            s.append(char(i * 7));
        return s;
    }();
    struct Case { const char *what; CB::Group group; CB::Group expected; };
    const Case cases[] = {
        {"Valtek/Rail 1 Ohm", CB::injectorType(0), {hex("0e08"), hex("2406"), hex("301e")}},
        {"Valtek/Rail 2 Ohm", CB::injectorType(1), {hex("0e09"), hex("2406"), hex("3023")}},
        {"Valtek/Rail 3 Ohm", CB::injectorType(2), {hex("0e03"), hex("2409"), hex("302d")}},
        {"Matrix", CB::injectorType(3), {hex("0e01"), hex("2406"), hex("301e")}},
        {"BRC", CB::injectorType(4), {hex("0e06"), hex("2406"), hex("301e")}},
        {"Keihin", CB::injectorType(5), {hex("0e07"), hex("2406"), hex("301e")}},
        {"injector type, no selection", CB::injectorType(-1), {}},
        {"injector type, past the list", CB::injectorType(6), {}},
        {"level 0-90 Ohm defaults",
         CB::levelThresholds({0.70, 1.50, 2.20, 2.80}, CB::LevelSensor::Ohm0To90),
         {hex("0d244c708f00"), hex("3100"), {}}},
        {"level 90-0 Ohm defaults",
         CB::levelThresholds({2.80, 2.20, 1.50, 0.70}, CB::LevelSensor::Ohm90To0),
         {hex("0d8f704c2402"), hex("3100"), {}}},
        {"level 0.71 V and full scale",
         CB::levelThresholds({0.71, 5.00, 0.0, 0.01}, CB::LevelSensor::Ohm0To90),
         {hex("0d24ff000100"), hex("3100"), {}}},
        {"calibration start, cylinders 1-6", CB::calibrationStart(0x3F), {hex("25"), hex("03023f"), {}}},
        {"end of calibration", CB::calibrationEnd(), {hex("06") + repeatHex("00", 246), hex("6600"), {}}},
        {"data file load", CB::dataFileLoad(settings), {hex("1a") + settings, hex("6600"), {}}},
        {"data file load, long input cut", CB::dataFileLoad(settings + "extra"), {hex("1a") + settings, hex("6600"), {}}},
        {"data file load, short file", CB::dataFileLoad(hex("0102")), {hex("1a0102"), hex("6600"), {}}},
        {"data file save", CB::dataFileSave(), {hex("6600"), {}, QByteArray("ZAPIS")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.group.first.toHex(' '), c.expected.first.toHex(' '));
        EXPECT_EQ(c.group.second.toHex(' '), c.expected.second.toHex(' '));
        EXPECT_EQ(c.group.third.toHex(' '), c.expected.third.toHex(' '));
        EXPECT_EQ(c.group.isEmpty(), c.expected.first.isEmpty());
    }
    EXPECT_EQ(CB::dataFileLoad(settings).first.size(), 541);
}

TEST(CommandBodies, MapPointsAreHeldToOneByteAndPaddedToTheFullMap)
{
    std::vector<int> points(CB::MapPoints, 100);
    points.front() = -3;  // a point pushed below zero by the editor
    points[1] = 256;      // and one above the byte range
    points.back() = 255;
    const QByteArray full = CB::correctionMapWrite(points);
    ASSERT_EQ(full.size(), 247);
    EXPECT_EQ(uint8_t(full[0]), 0x0B);
    EXPECT_EQ(uint8_t(full[1]), 0);
    EXPECT_EQ(uint8_t(full[2]), 255);
    EXPECT_EQ(uint8_t(full[3]), 100);
    EXPECT_EQ(uint8_t(full[246]), 255);

    const std::vector<int> shortMap(10, 120);
    const QByteArray padded = CB::correctionMapWrite(shortMap);
    EXPECT_EQ(padded, hex("0b") + repeatHex("78", 10) + repeatHex("00", 236));

    const CB::Group edit = CB::mapEdit(points);
    EXPECT_EQ(edit.first, full);
    EXPECT_EQ(edit.second, CB::mapEditorFollowUp());
    EXPECT_TRUE(edit.third.isEmpty());
}

TEST(CommandBodies, LevelSensorOfComboItem)
{
    EXPECT_EQ(CB::levelSensorForItem(0), CB::LevelSensor::Ohm0To90);
    EXPECT_EQ(CB::levelSensorForItem(1), CB::LevelSensor::Ohm90To0);
    EXPECT_FALSE(CB::levelSensorForItem(-1).has_value());
    EXPECT_FALSE(CB::levelSensorForItem(2).has_value());
}
