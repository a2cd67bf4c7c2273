// "Fit to curves" between the clicks: when a proposal is made or refused,
// what accepting, discarding and undoing hand over to be written.
#include "calibration/MapFitFlow.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using Refusal = MapFitFlow::Refusal;

CorrectionMap flat(int v)
{
    CorrectionMap m;
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        m.setValue(k, v);
    return m;
}

// Petrol 2.0 .. 8.0 ms, gas 1.2 times as long (exact for even tenths).
struct Tables
{
    MapFit::Table petrol{}, gas{};
    explicit Tables(int from = 20, int to = 80)
    {
        for (int p = from; p <= to; p += 2) {
            petrol[size_t(p)] = uint8_t(p);
            gas[size_t(p)] = uint8_t(p * 6 / 5);
        }
    }
};

constexpr MapFitFlow::Link Connected{true, false, false};

struct FitCase
{
    std::string name;
    MapFitFlow::Link link;
    Tables tables;
    Refusal expected;

    friend void PrintTo(const FitCase &c, std::ostream *os) { *os << c.name; }
};

class FitRequest : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(FitRequest, ProposesOrSaysWhyNot)
{
    const FitCase &c = GetParam();
    MapFitFlow flow;
    EXPECT_EQ(flow.fit(c.tables.petrol, c.tables.gas, flat(100), c.link), c.expected);
    EXPECT_EQ(flow.hasProposal(), c.expected == Refusal::None);
    if (c.expected == Refusal::None) {
        EXPECT_EQ(flow.lastResult().proposal.value(31), 120); // 4.0 ms
    }
}

INSTANTIATE_TEST_SUITE_P(
    MapFitFlow, FitRequest,
    ::testing::Values(FitCase{"Proposed", Connected, Tables(), Refusal::None},
                      // A queued command does not stop the calculation, only the writing.
                      FitCase{"ProposedWhileACommandIsPending", {true, false, true}, Tables(), Refusal::None},
                      FitCase{"Disconnected", {false, false, false}, Tables(), Refusal::Offline},
                      FitCase{"DuringCalibration", {true, true, false}, Tables(), Refusal::Calibrating},
                      FitCase{"SevenPositions", Connected, Tables(20, 32), Refusal::TooFewPositions},
                      FitCase{"FivePositions", Connected, Tables(20, 28), Refusal::TooFewPositions},
                      FitCase{"NineAcrossPointEightMs", Connected,
                              [] {
                                  Tables t(0, -1);
                                  for (int p = 40; p <= 48; ++p) {
                                      t.petrol[size_t(p)] = uint8_t(p - 10);
                                      t.gas[size_t(p)] = uint8_t(p - 4);
                                  }
                                  return t;
                              }(),
                              Refusal::TooNarrow}),
    [](const auto &info) { return info.param.name; });

TEST(MapFitFlow, AcceptWritesTheProposalAndUndoWritesBackTheMapBefore)
{
    MapFitFlow flow;
    const Tables t;
    const CorrectionMap before = flat(100);
    ASSERT_EQ(flow.fit(t.petrol, t.gas, before, Connected), Refusal::None);
    EXPECT_FALSE(flow.canUndo());

    Refusal why = Refusal::None;
    EXPECT_FALSE(flow.accept(before, {true, false, true}, &why).has_value());
    EXPECT_EQ(why, Refusal::Busy) << "the queue is still busy";
    EXPECT_FALSE(flow.accept(before, {false, false, false}, &why).has_value());
    EXPECT_EQ(why, Refusal::Offline);
    EXPECT_TRUE(flow.hasProposal()) << "a refused write keeps the proposal";

    const std::optional<CorrectionMap> written = flow.accept(before, Connected, &why);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(why, Refusal::None);
    EXPECT_EQ(written->values(), flow.lastResult().proposal.values());
    EXPECT_FALSE(flow.hasProposal());
    EXPECT_TRUE(flow.canUndo());
    EXPECT_FALSE(flow.accept(*written, Connected, &why).has_value());
    EXPECT_EQ(why, Refusal::NothingToDo) << "a proposal is written once";

    EXPECT_FALSE(flow.undo({true, true, false}, &why).has_value());
    EXPECT_EQ(why, Refusal::Calibrating);
    const std::optional<CorrectionMap> back = flow.undo(Connected, &why);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->values(), before.values());
    EXPECT_FALSE(flow.canUndo()) << "one level";
    EXPECT_FALSE(flow.undo(Connected, &why).has_value());
    EXPECT_EQ(why, Refusal::NothingToDo);
}

TEST(MapFitFlow, UndoGoesBackOnlyOverTheLastAcceptedProposal)
{
    MapFitFlow flow;
    const Tables t;
    const CorrectionMap first = flat(100);
    ASSERT_EQ(flow.fit(t.petrol, t.gas, first, Connected), Refusal::None);
    const CorrectionMap second = *flow.accept(first, Connected);
    // A second fit from the map now in the controller (hand edits in between
    // count as part of it), discarded: undo still goes back to `first`.
    CorrectionMap edited = second;
    edited.addToAll(1);
    ASSERT_EQ(flow.fit(t.petrol, t.gas, edited, Connected), Refusal::None);
    flow.reject();
    EXPECT_FALSE(flow.hasProposal());
    ASSERT_EQ(flow.fit(t.petrol, t.gas, edited, Connected), Refusal::None);
    const CorrectionMap third = *flow.accept(edited, Connected);
    (void)third;
    EXPECT_EQ(flow.undo(Connected)->values(), edited.values()) << "back to the map before the last accepted one";
}

TEST(MapFitFlow, ARefusedFitDropsTheProposalShown)
{
    MapFitFlow flow;
    const Tables t;
    ASSERT_EQ(flow.fit(t.petrol, t.gas, flat(100), Connected), Refusal::None);
    EXPECT_EQ(flow.fit(t.petrol, t.gas, flat(100), {false, false, false}), Refusal::Offline);
    EXPECT_FALSE(flow.hasProposal());
}

} // namespace
