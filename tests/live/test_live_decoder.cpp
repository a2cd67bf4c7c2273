// The live answer decoder: each field's scale and sign against known bytes,
// the rest frame, and which fields an answer of any length can carry.
#include "LiveFrameBytes.h"

#include "live/LiveFrameDecoder.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

struct ValueCase
{
    const char *name;
    std::vector<std::pair<int, int>> bytes;
    std::function<std::optional<double>(const LiveValues &)> field;
    double expected;
};

std::optional<double> asDouble(const std::optional<int> &v)
{
    return v ? std::optional<double>(*v) : std::nullopt;
}

std::optional<double> asDouble(const std::optional<bool> &v)
{
    return v ? std::optional<double>(*v ? 1.0 : 0.0) : std::nullopt;
}

TEST(LiveFrameDecoder, KnownBytesGiveEngineeringValues)
{
    const std::vector<ValueCase> cases = {
        {"lambda 1 byte 61 stays under the range switch", {{22, 61}}, [](auto &v) { return v.lambda1Volts; }, 1.1956},
        {"lambda 1 byte 62", {{22, 62}}, [](auto &v) { return v.lambda1Volts; }, 1.2152},
        {"lambda 2 sits at the end of the frame", {{55, 62}}, [](auto &v) { return v.lambda2Volts; }, 1.2152},
        {"reducer 0x7F", {{32, 0x7F}}, [](auto &v) { return asDouble(v.reducerTempC); }, 127},
        {"reducer 0x80 is negative", {{32, 0x80}}, [](auto &v) { return asDouble(v.reducerTempC); }, -128},
        {"reducer 0xFF", {{32, 0xFF}}, [](auto &v) { return asDouble(v.reducerTempC); }, -1},
        {"gas temp 0x7F", {{33, 0x7F}}, [](auto &v) { return asDouble(v.gasTempC); }, 127},
        {"gas temp 0x80", {{33, 0x80}}, [](auto &v) { return asDouble(v.gasTempC); }, -128},
        {"gas temp 0xFF", {{33, 0xFF}}, [](auto &v) { return asDouble(v.gasTempC); }, -1},
        {"supply 0", {{29, 0}}, [](auto &v) { return v.supplyVolts; }, 0.70},
        {"supply 255", {{29, 255}}, [](auto &v) { return v.supplyVolts; }, 16.34},
        {"supply 100 is rounded to two decimals", {{29, 100}}, [](auto &v) { return v.supplyVolts; }, 6.83},
        {"MAP high byte counts 256 kPa", {{25, 0x01}, {26, 0x00}}, [](auto &v) { return v.mapKpa; }, 256},
        {"MAP low byte counts 1 kPa", {{25, 0x00}, {26, 0x65}}, [](auto &v) { return v.mapKpa; }, 101},
        {"P1 low byte 100 is 1 bar", {{23, 0x00}, {24, 0x64}}, [](auto &v) { return v.p1Bar; }, 1.00},
        {"P1 high byte counts 2.56 bar", {{23, 0x01}, {24, 0x00}}, [](auto &v) { return v.p1Bar; }, 2.56},
        {"gas middle part", {{18, 0}, {19, 1}, {20, 0}}, [](auto &v) { return v.gasMs; }, 0.256},
        {"gas fine part", {{18, 0}, {19, 0}, {20, 200}}, [](auto &v) { return v.gasMs; }, 0.256},
        {"gas coarse part", {{18, 1}, {19, 0}, {20, 0}}, [](auto &v) { return v.gasMs; }, 65.536},
        {"petrol 1 top of bar", {{6, 0x2C}, {7, 0x01}}, [](auto &v) { return v.petrolMs[0]; }, 30.0},
        {"petrol 2", {{8, 0x2C}, {9, 0x01}}, [](auto &v) { return v.petrolMs[1]; }, 30.0},
        {"petrol 3", {{10, 0x0A}, {11, 0}}, [](auto &v) { return v.petrolMs[2]; }, 1.0},
        {"petrol 4", {{12, 0x2C}, {13, 0x01}}, [](auto &v) { return v.petrolMs[3]; }, 30.0},
        {"petrol 5", {{14, 0}, {15, 0x01}}, [](auto &v) { return v.petrolMs[4]; }, 25.6},
        {"petrol 6", {{16, 0x2C}, {17, 0x01}}, [](auto &v) { return v.petrolMs[5]; }, 30.0},
        {"petrol 7 after the fault bytes", {{51, 0x2C}, {52, 0x01}}, [](auto &v) { return v.petrolMs[6]; }, 30.0},
        {"petrol 8", {{53, 0x1E}, {54, 0}}, [](auto &v) { return v.petrolMs[7]; }, 3.0},
        {"engine speed for the dial", {{21, 25}}, [](auto &v) { return v.rpmThousands; }, 2.5},
        {"engine speed in rpm", {{21, 25}}, [](auto &v) { return v.rpm; }, 2500},
        {"tank sensor", {{30, 255}}, [](auto &v) { return v.tankSensorVolts; }, 4.998},
        {"level step passed as is", {{31, 5}}, [](auto &v) { return asDouble(v.levelStep); }, 5},
        {"ignition bit 0 set", {{4, 0x01}}, [](auto &v) { return asDouble(v.ignitionOn); }, 1},
        {"ignition other bits ignored", {{4, 0xFE}}, [](auto &v) { return asDouble(v.ignitionOn); }, 0},
        {"gas in use", {{5, 0x01}}, [](auto &v) { return asDouble(v.onGas); }, 1},
        {"petrol in use, other bits ignored", {{5, 0xFE}}, [](auto &v) { return asDouble(v.onGas); }, 0},
        {"stream position", {{36, 200}}, [](auto &v) { return asDouble(v.streamPosition); }, 200},
        {"curve selector", {{47, 2}}, [](auto &v) { return asDouble(v.curveSelector); }, 2},
    };
    for (const ValueCase &c : cases) {
        const LiveValues v = LiveFrameDecoder::decode(liveFrame(c.bytes, 0x00));
        const std::optional<double> got = c.field(v);
        ASSERT_TRUE(got.has_value()) << c.name;
        EXPECT_NEAR(*got, c.expected, 1e-9) << c.name;
    }
}

TEST(LiveFrameDecoder, TableAndFaultBytesComeThroughRaw)
{
    const LiveValues v = LiveFrameDecoder::decode(liveFrame({{34, 0xE8}, {35, 0xFE}, {48, 0x01}, {37, 1},
                                                             {38, 2}, {39, 3}, {40, 4}, {41, 5}, {42, 6},
                                                             {43, 7}, {44, 8}, {45, 9}, {46, 10}}));
    EXPECT_EQ(v.faultFlags, uint8_t(0xE8));
    EXPECT_EQ(v.injectorFlags, uint8_t(0xFE));
    EXPECT_EQ(v.moreFaultFlags, uint8_t(0x01));
    // 37, 39, 43 and 45 are not part of the tables.
    EXPECT_EQ(v.petrolTableBytes[0], uint8_t(2));
    EXPECT_EQ(v.petrolTableBytes[1], uint8_t(4));
    EXPECT_EQ(v.petrolTableBytes[2], uint8_t(5));
    EXPECT_EQ(v.gasTableBytes[0], uint8_t(6));
    EXPECT_EQ(v.gasTableBytes[1], uint8_t(8));
    EXPECT_EQ(v.gasTableBytes[2], uint8_t(10));
}

TEST(LiveFrameDecoder, RestFrameOfZerosDecodesToRestValues)
{
    const LiveValues v = LiveFrameDecoder::decode(QByteArray(500, '\0'));
    EXPECT_EQ(v.answerLength, 500);
    EXPECT_TRUE(v.decodable());
    EXPECT_EQ(v.ignitionOn, false);
    EXPECT_EQ(v.onGas, false);
    for (const auto &petrol : v.petrolMs)
        EXPECT_EQ(petrol, 0.0);
    const std::optional<double> zeros[] = {v.gasMs, v.rpmThousands, v.rpm, v.lambda1Volts, v.lambda2Volts,
                                           v.p1Bar, v.mapKpa, v.tankSensorVolts};
    for (const auto &z : zeros)
        EXPECT_EQ(z, 0.0);
    EXPECT_EQ(v.supplyVolts, 0.70);
    EXPECT_EQ(v.levelStep, 0);
    EXPECT_EQ(v.reducerTempC, 0);
    EXPECT_EQ(v.gasTempC, 0);
    EXPECT_EQ(v.faultFlags, uint8_t(0));
    EXPECT_EQ(v.injectorFlags, uint8_t(0));
    EXPECT_EQ(v.moreFaultFlags, uint8_t(0));
    EXPECT_EQ(v.streamPosition, 0);
    EXPECT_EQ(v.curveSelector, 0);
}

// Every field with the offsets it is made of: at any answer length it must be
// there exactly when all of its bytes arrived before the answer's last byte,
// which is the controller's check byte and never a value.
TEST(LiveFrameDecoder, ShortAnswersCarryOnlyTheFieldsTheyHold)
{
    struct Field
    {
        const char *name;
        std::vector<int> offsets;
        std::function<bool(const LiveValues &)> present;
    };
    std::vector<Field> fields = {
        {"ignition", {4}, [](auto &v) { return v.ignitionOn.has_value(); }},
        {"fuel", {5}, [](auto &v) { return v.onGas.has_value(); }},
        {"gas time", {18, 19, 20}, [](auto &v) { return v.gasMs.has_value(); }},
        {"rpm dial", {21}, [](auto &v) { return v.rpmThousands.has_value(); }},
        {"rpm", {21}, [](auto &v) { return v.rpm.has_value(); }},
        {"lambda 1", {22}, [](auto &v) { return v.lambda1Volts.has_value(); }},
        {"lambda 2", {55}, [](auto &v) { return v.lambda2Volts.has_value(); }},
        {"P1", {23, 24}, [](auto &v) { return v.p1Bar.has_value(); }},
        {"MAP", {25, 26}, [](auto &v) { return v.mapKpa.has_value(); }},
        {"supply", {29}, [](auto &v) { return v.supplyVolts.has_value(); }},
        {"tank sensor", {30}, [](auto &v) { return v.tankSensorVolts.has_value(); }},
        {"level", {31}, [](auto &v) { return v.levelStep.has_value(); }},
        {"reducer", {32}, [](auto &v) { return v.reducerTempC.has_value(); }},
        {"gas temp", {33}, [](auto &v) { return v.gasTempC.has_value(); }},
        {"faults 34", {34}, [](auto &v) { return v.faultFlags.has_value(); }},
        {"injectors 35", {35}, [](auto &v) { return v.injectorFlags.has_value(); }},
        {"faults 48", {48}, [](auto &v) { return v.moreFaultFlags.has_value(); }},
        {"position", {36}, [](auto &v) { return v.streamPosition.has_value(); }},
        {"petrol table 38", {38}, [](auto &v) { return v.petrolTableBytes[0].has_value(); }},
        {"petrol table 40", {40}, [](auto &v) { return v.petrolTableBytes[1].has_value(); }},
        {"petrol table 41", {41}, [](auto &v) { return v.petrolTableBytes[2].has_value(); }},
        {"gas table 42", {42}, [](auto &v) { return v.gasTableBytes[0].has_value(); }},
        {"gas table 44", {44}, [](auto &v) { return v.gasTableBytes[1].has_value(); }},
        {"gas table 46", {46}, [](auto &v) { return v.gasTableBytes[2].has_value(); }},
        {"selector", {47}, [](auto &v) { return v.curveSelector.has_value(); }},
    };
    const int petrolLo[] = {6, 8, 10, 12, 14, 16, 51, 53};
    for (int k = 0; k < 8; ++k) {
        fields.push_back({"petrol", {petrolLo[k], petrolLo[k] + 1},
                          [k](auto &v) { return v.petrolMs[size_t(k)].has_value(); }});
    }

    for (int length = 0; length <= 58; ++length) {
        const LiveValues v = LiveFrameDecoder::decode(liveFrame({}, 0x00, length));
        EXPECT_EQ(v.answerLength, length);
        EXPECT_EQ(v.decodable(), length > 5) << length;
        for (const Field &f : fields) {
            bool expected = true;
            for (int offset : f.offsets)
                expected = expected && offset < length - 1;
            EXPECT_EQ(f.present(v), expected) << f.name << " at length " << length;
        }
    }
}

TEST(LiveFrameDecoder, CheckByteOfAShortAcknowledgementSetsNoSwitch)
{
    // AA 00 06 code, one data byte, check byte 0x01: bit 0 of the check
    // byte would read as "on gas".
    const LiveValues v = LiveFrameDecoder::decode(QByteArray::fromHex("aa0006090001"));
    EXPECT_EQ(v.ignitionOn, false);
    EXPECT_FALSE(v.onGas.has_value());
    // The full frame still carries offset 55 (second lambda) and no more.
    const LiveValues full = LiveFrameDecoder::decode(liveFrame({{55, 100}, {56, 0xFF}}, 0x00));
    EXPECT_DOUBLE_EQ(*full.lambda2Volts, 100 * 0.0196);
}

TEST(LiveFrameDecoder, TankVoltageTextHasTwoDecimalsAndTheGivenSeparator)
{
    struct Case
    {
        double volts;
        QChar separator;
        const char *text;
    };
    const Case cases[] = {
        {0.0, QLatin1Char('.'), "0.00"},
        {0.0, QLatin1Char(','), "0,00"},
        {63 * 0.0196, QLatin1Char('.'), "1.23"},
        {102 * 0.0196, QLatin1Char(','), "2,00"},
        {255 * 0.0196, QLatin1Char('.'), "5.00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LiveFrameDecoder::tankVoltageText(c.volts, c.separator), QLatin1String(c.text)) << c.volts;
}

} // namespace
