// The band under the chart: petrol, gas, switching (from a fuel request for
// the other fuel until the answers show a change) and off, and the marks where
// a fault appeared, from records where they change.
#include "ChartSample.h"

#include "chart/ChartData.h"

#include <gtest/gtest.h>

namespace {

using namespace ChartSample;
using State = FuelBand::State;
using Segment = FuelBand::Segment;
using FaultChange = FuelBand::FaultChange;

struct BandCase
{
    const char *name;
    QVector<RecordEntry> records;
    QVector<Segment> segments;
};

EngineSnapshot off()
{
    EngineSnapshot s;
    return s;
}

QVector<BandCase> bandCases()
{
    return {
        {"PetrolThenOwnSwitchOverToGas",
         {answer(0, running(800)), answer(250, running(1500)), answer(500, running(1500, true))},
         {{0, State::Petrol}, {500, State::Gas}}},
        {"RequestForGasSwitchesUntilTheAnswerShowsGas",
         {answer(0, running(800)), fuelRequest(100, true), answer(250, running(800)), answer(500, running(800)),
          answer(750, running(800, true))},
         {{0, State::Petrol}, {100, State::Switching}, {750, State::Gas}}},
        {"RequestForTheFuelInUseIsNoSwitch",
         {answer(0, running(800, true)), fuelRequest(100, true), answer(250, running(800, true))},
         {{0, State::Gas}}},
        {"RequestTakenBackEndsTheSwitch",
         {answer(0, running(800)), fuelRequest(100, true), answer(250, running(800)), fuelRequest(300, false),
          answer(500, running(800))},
         {{0, State::Petrol}, {100, State::Switching}, {300, State::Petrol}}},
        {"IgnitionOffEndsTheSwitch",
         {answer(0, running(800)), fuelRequest(100, true), answer(250, off()), answer(500, running(800))},
         {{0, State::Petrol}, {100, State::Switching}, {250, State::Off}, {500, State::Petrol}}},
        {"BackToPetrolOnRequest",
         {answer(0, running(800, true)), fuelRequest(100, false), answer(250, running(800, false))},
         {{0, State::Gas}, {100, State::Switching}, {250, State::Petrol}}},
        {"TripToPetrolWithoutRequest",
         {answer(0, running(3000, true)), answer(250, running(3000, false)), answer(500, running(3000, false))},
         {{0, State::Gas}, {250, State::Petrol}}},
        {"RequestWithIgnitionOffChangesNothing",
         {answer(0, off()), fuelRequest(100, true), answer(250, off())},
         {{0, State::Off}}},
        {"PollsAndShortAnswersKeepTheBand",
         {answer(0, running(800)), poll(100), {200, RecordKind::Answer, QByteArray(5, '\0')},
          answer(250, running(800))},
         {{0, State::Petrol}}},
    };
}

void PrintTo(const BandCase &c, std::ostream *os)
{
    *os << c.name;
}

class FuelBandCases : public ::testing::TestWithParam<BandCase>
{};

TEST_P(FuelBandCases, SegmentsFollowTheRecords)
{
    ChartData data;
    for (const RecordEntry &e : GetParam().records)
        data.append(e);
    EXPECT_EQ(data.band().segments(), GetParam().segments);
}

INSTANTIATE_TEST_SUITE_P(Records, FuelBandCases, ::testing::ValuesIn(bandCases()),
                         [](const ::testing::TestParamInfo<BandCase> &info) { return std::string(info.param.name); });

TEST(FuelBand, StateAtATimeIsTheSegmentInForce)
{
    ChartData data;
    for (const RecordEntry &e : {answer(0, running(800)), fuelRequest(100, true), answer(250, running(800, true))})
        data.append(e);
    EXPECT_EQ(data.band().stateAt(-1), State::Off);
    EXPECT_EQ(data.band().stateAt(99), State::Petrol);
    EXPECT_EQ(data.band().stateAt(100), State::Switching);
    EXPECT_EQ(data.band().stateAt(249), State::Switching);
    EXPECT_EQ(data.band().stateAt(5000), State::Gas);
}

EngineSnapshot withFaults(uint8_t b34, uint8_t b35, uint8_t b48)
{
    EngineSnapshot s = running(800);
    s.faultFlags = b34;
    s.injectorFlags = b35;
    s.supplyFlags = b48;
    return s;
}

TEST(FuelBand, FaultMaskTakesOnlyTheBitsThatNameFaults)
{
    EXPECT_EQ(FuelBand::faultMask(0xFF, 0xFF, 0xFF), 0u);
    // Bits 0 and 1 of byte 34 and bits 2..7 of byte 48 name no fault.
    EXPECT_EQ(FuelBand::faultMask(0xFC, 0xFF, 0x03), 0u);
    EXPECT_EQ(FuelBand::faultMask(0xEF, 0xFF, 0xFF), 1u << 2); // pressure too low
    EXPECT_EQ(FuelBand::faultMask(0xFF, 0xFB, 0xFF), 1u << (FuelBand::InjectorShift + 2)); // injector 3
    EXPECT_EQ(FuelBand::faultMask(0xFF, 0xFF, 0xFD), 1u << (FuelBand::MoreShift + 1));     // supply
}

TEST(FuelBand, MarksWhereAFaultAppearsAndKeepsWhenFaultsClear)
{
    const uint32_t low = FuelBand::faultMask(0xEF, 0xFF, 0xFF);
    const uint32_t inj3 = FuelBand::faultMask(0xFF, 0xFB, 0xFF);
    ChartData data;
    const QVector<RecordEntry> records = {
        answer(0, withFaults(0xFF, 0xFF, 0xFF)),
        answer(250, withFaults(0xEF, 0xFF, 0xFF)), // pressure low appears
        answer(500, withFaults(0xEF, 0xFF, 0xFF)), // still there: no new mark
        {600, RecordKind::Answer, QByteArray(20, '\0')}, // short: no fault bytes, no change
        answer(750, withFaults(0xEF, 0xFB, 0xFF)), // injector 3 joins
        answer(1000, withFaults(0xFF, 0xFB, 0xFF)), // pressure clears
        answer(1250, withFaults(0xFF, 0xFF, 0xFF)), // all clear
        answer(1500, withFaults(0xEF, 0xFF, 0xFF)), // pressure again
    };
    for (const RecordEntry &e : records)
        data.append(e);
    const QVector<FaultChange> expected = {
        {250, low, low}, {750, low | inj3, inj3}, {1000, inj3, 0}, {1250, 0, 0}, {1500, low, low}};
    EXPECT_EQ(data.band().faultChanges(), expected);
    EXPECT_EQ(data.band().faultsAt(100), 0u);
    EXPECT_EQ(data.band().faultsAt(800), low | inj3);
}

TEST(FuelBand, FaultsInTheFirstAnswerAreAMark)
{
    ChartData data;
    data.append(answer(40, withFaults(0xFF, 0xFF, 0xFE)));
    const uint32_t settings = FuelBand::faultMask(0xFF, 0xFF, 0xFE);
    EXPECT_EQ(data.band().faultChanges(), (QVector<FaultChange>{{40, settings, settings}}));
}

TEST(FuelBand, LiveRingKeepsTheStateInForceAtItsBeginning)
{
    ChartData data;
    data.append(answer(0, withFaults(0xEF, 0xFF, 0xFF)));
    data.append(answer(100, running(800, true)));
    data.append(answer(200, running(800, true)));
    FuelBand band = data.band();
    band.dropBefore(150);
    EXPECT_EQ(band.segments(), (QVector<Segment>{{150, State::Gas}}));
    EXPECT_EQ(band.stateAt(150), State::Gas);
    EXPECT_EQ(band.faultsAt(150), 0u);
    ASSERT_FALSE(band.faultChanges().isEmpty());
    EXPECT_EQ(band.faultChanges().first().appeared, 0u); // no longer a mark in view
}

// A settings block unlike the one before (a reconnect to a controller set
// otherwise, or with another firmware) is a mark; the same block again, a
// short block, and the first block are not.
TEST(ControllerChanges, MarkWhereTheSettingsOrTheFirmwareChange)
{
    const auto block = [](char fill, uint8_t build = 7) {
        QByteArray b(602, fill);
        b[4] = 3, b[5] = 7, b[6] = char(build);
        return b;
    };
    ChartData data;
    data.append({0, RecordKind::Settings, block('\x01')});
    data.append(answer(500, running(800)));
    data.append({1000, RecordKind::Settings, block('\x01')});
    data.append({2000, RecordKind::Settings, QByteArray(40, '\x05')});
    data.append({3000, RecordKind::Settings, block('\x02')});
    data.append({4000, RecordKind::Settings, block('\x02', 8)});
    data.append(answer(4500, running(800)));
    using Change = ChartData::ControllerChange;
    EXPECT_EQ(data.controllerChanges(), (QVector<Change>{{3000, false}, {4000, true}}));
    EXPECT_FALSE(data.controllerChangeAt(2999).has_value());
    EXPECT_EQ(data.controllerChangeAt(3000), (Change{3000, false}));
    EXPECT_EQ(data.controllerChangeAt(9000), (Change{4000, true}));
}

TEST(ControllerChanges, TheLiveRingForgetsMarksOlderThanItKeeps)
{
    ChartData data;
    data.setKeepMs(1000);
    QByteArray block(602, '\x01');
    data.append({0, RecordKind::Settings, block});
    block[100] = 9;
    data.append({100, RecordKind::Settings, block});
    for (int i = 1; i <= 200; ++i)
        data.append(answer(100 + 50 * i, running(800)));
    EXPECT_TRUE(data.controllerChanges().isEmpty());
}

// A silence longer than two seconds between answers is a lost link; the
// answers at its ends are not in it.
TEST(LinkGaps, AreTheSilencesBetweenAnswersLongerThanTwoSeconds)
{
    ChartData data;
    for (qint64 ms : {0, 300, 600, 2600, 7600, 7900})
        data.append(answer(ms, running(800)));
    using Gap = ChartData::LinkGap;
    EXPECT_EQ(data.linkGaps(), (QVector<Gap>{{2600, 7600}})) << "600 to 2600 is exactly two seconds: no gap";
    for (const auto &[ms, in] : {std::pair{2600, false}, {2601, true}, {7599, true}, {7600, false}, {100, false}})
        EXPECT_EQ(data.inLinkGap(ms), in) << ms;
}

TEST(LinkGaps, TheLiveRingForgetsGapsThatEndedBeforeWhatItKeeps)
{
    ChartData data;
    data.setKeepMs(1000);
    data.append(answer(0, running(800)));
    data.append(answer(3000, running(800)));
    for (int i = 1; i <= 200; ++i)
        data.append(answer(3000 + 50 * i, running(800)));
    EXPECT_TRUE(data.linkGaps().isEmpty());
}

} // namespace
