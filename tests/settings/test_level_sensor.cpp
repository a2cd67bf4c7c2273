#include "settings/LevelSensor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace CB = CommandBodies;

namespace {

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

std::array<double, 4> readAll(const std::array<QString, 4> &texts, const QLocale &locale)
{
    std::array<double, 4> volts{};
    for (int j = 0; j < 4; ++j) {
        const auto v = LevelSensor::readVolts(texts[j], locale);
        EXPECT_TRUE(v.has_value()) << texts[j].toStdString();
        volts[j] = v.value_or(-1);
    }
    return volts;
}

} // namespace

// The defaults must read back on the system they were written on, with a
// decimal comma or a decimal point alike, and give the controller's bytes.
struct DefaultsCase
{
    const char *name;
    QLocale::Language language;
    QLocale::Territory territory;
    CB::LevelSensor sensor;
    std::array<const char *, 4> texts;
    const char *command;
};

// Listings and failures name the case, not its bytes.
void PrintTo(const DefaultsCase &c, std::ostream *os)
{
    *os << c.name;
}

class LevelSensorDefaults : public testing::TestWithParam<DefaultsCase>
{
};

TEST_P(LevelSensorDefaults, WrittenInTheSystemsFormatAndSentExactly)
{
    const DefaultsCase &c = GetParam();
    const QLocale locale(c.language, c.territory);
    const auto texts = LevelSensor::defaultTexts(c.sensor, locale);
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(texts[j], QString::fromLatin1(c.texts[j])) << "threshold " << j + 1;
    const CB::Group group = CB::levelThresholds(readAll(texts, locale), c.sensor);
    EXPECT_EQ(group.first, hex(c.command));
    EXPECT_EQ(group.second, hex("3100"));
}

INSTANTIATE_TEST_SUITE_P(
    Systems, LevelSensorDefaults,
    testing::Values(
        DefaultsCase{"PolishRising", QLocale::Polish, QLocale::Poland, CB::LevelSensor::Ohm0To90,
                     {"0,70", "1,50", "2,20", "2,80"}, "0d244c708f00"},
        DefaultsCase{"PolishFalling", QLocale::Polish, QLocale::Poland, CB::LevelSensor::Ohm90To0,
                     {"2,80", "2,20", "1,50", "0,70"}, "0d8f704c2402"},
        DefaultsCase{"GermanRising", QLocale::German, QLocale::Germany, CB::LevelSensor::Ohm0To90,
                     {"0,70", "1,50", "2,20", "2,80"}, "0d244c708f00"},
        DefaultsCase{"EnglishRising", QLocale::English, QLocale::UnitedStates, CB::LevelSensor::Ohm0To90,
                     {"0.70", "1.50", "2.20", "2.80"}, "0d244c708f00"},
        DefaultsCase{"EnglishFalling", QLocale::English, QLocale::UnitedKingdom, CB::LevelSensor::Ohm90To0,
                     {"2.80", "2.20", "1.50", "0.70"}, "0d8f704c2402"},
        DefaultsCase{"CzechFalling", QLocale::Czech, QLocale::CzechRepublic, CB::LevelSensor::Ohm90To0,
                     {"2,80", "2,20", "1,50", "0,70"}, "0d8f704c2402"}),
    [](const testing::TestParamInfo<DefaultsCase> &info) { return std::string(info.param.name); });

TEST(LevelSensor, SliderValueShowsAtMostThreeSignificantDigits)
{
    const QLocale comma(QLocale::Polish, QLocale::Poland);
    const QLocale point(QLocale::English, QLocale::UnitedStates);
    // The slider holds single-precision values on a 0.01 V grid.
    struct Case { float volts; const char *comma; const char *point; };
    const Case cases[] = {{0.70f, "0,7", "0.7"}, {0.71f, "0,71", "0.71"}, {1.23f, "1,23", "1.23"},
                          {5.0f, "5", "5"},      {0.0f, "0", "0"},        {0.01f, "0,01", "0.01"},
                          {4.99f, "4,99", "4.99"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.volts);
        EXPECT_EQ(LevelSensor::sliderText(c.volts, comma), QString::fromLatin1(c.comma));
        EXPECT_EQ(LevelSensor::sliderText(c.volts, point), QString::fromLatin1(c.point));
    }
}

TEST(LevelSensor, EveryThresholdByteSurvivesTheEditBothWays)
{
    // What the settings block shows (two decimals) and what the slider
    // writes are both read back to the byte the controller holds.
    for (const QLocale &locale : {QLocale(QLocale::Polish, QLocale::Poland), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        for (int b = 0; b < 256; ++b) {
            SCOPED_TRACE(testing::Message() << locale.name().toStdString() << " byte " << b);
            const QString shown = locale.toString(b / 51.0, 'f', 2);
            const auto volts = LevelSensor::readVolts(shown, locale);
            ASSERT_TRUE(volts.has_value());
            const QByteArray body = CB::levelThresholds({*volts, 0, 0, 0}, CB::LevelSensor::Ohm0To90).first;
            EXPECT_EQ(uint8_t(body[1]), b);
            // On the slider's 0.01 V grid, as the slider writes it.
            const float onGrid = float(std::round(*volts * 100.0) / 100.0);
            const auto again = LevelSensor::readVolts(LevelSensor::sliderText(onGrid, locale), locale);
            ASSERT_TRUE(again.has_value());
            EXPECT_EQ(uint8_t(CB::levelThresholds({*again, 0, 0, 0}, CB::LevelSensor::Ohm0To90).first[1]), b);
        }
    }
}

TEST(LevelSensor, TextsThatAreNoNumberAreNotRead)
{
    const QLocale comma(QLocale::Polish, QLocale::Poland);
    EXPECT_FALSE(LevelSensor::readVolts(QStringLiteral(""), comma));
    EXPECT_FALSE(LevelSensor::readVolts(QStringLiteral("abc"), comma));
    EXPECT_FALSE(LevelSensor::readVolts(QStringLiteral("1,2,3"), comma));
    EXPECT_EQ(LevelSensor::readVolts(QStringLiteral("2,8"), comma), 2.8);
}

TEST(LevelSensor, ItemTextsNameTheirSensor)
{
    EXPECT_EQ(LevelSensor::sensorForText(QStringLiteral("0-90 Ohm")), CB::LevelSensor::Ohm0To90);
    EXPECT_EQ(LevelSensor::sensorForText(QStringLiteral("90-0 Ohm")), CB::LevelSensor::Ohm90To0);
    EXPECT_FALSE(LevelSensor::sensorForText(QString()));
}

TEST(LevelSensor, TypeByteFromThePickOrElseFromTheControllersBlock)
{
    QByteArray block(602, '\0');
    block[LevelSensor::TypeOffset] = char(0x05);
    EXPECT_EQ(LevelSensor::typeByte(0, block), 0x00);
    EXPECT_EQ(LevelSensor::typeByte(1, block), 0x02);
    EXPECT_EQ(LevelSensor::typeByte(-1, block), 0x05);
    EXPECT_FALSE(LevelSensor::typeByte(-1, QByteArray()));
    EXPECT_EQ(LevelSensor::typeByte(1, QByteArray()), 0x02);
}
