// The fuzz target's invariants over random event streams with fixed seeds:
// no box inside a box, a bounded receive buffer, no waiting with the port
// closed, no timer without a link and no link without a timer, the window
// enabled whenever the link is idle. Deterministic: a failure names its seed.
#include "fuzz/SessionDriver.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct Mix
{
    const char *name;
    int streamLength;
    // Weights that make the interesting events likelier than plain noise.
    std::vector<uint8_t> favoured;
};

void PrintTo(const Mix &m, std::ostream *os)
{
    *os << m.name;
}

struct SessionRandom : ::testing::TestWithParam<Mix>
{
};

std::vector<uint8_t> streamFor(const Mix &mix, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> pick(0, 3);
    std::vector<uint8_t> out;
    out.reserve(size_t(mix.streamLength));
    while (int(out.size()) < mix.streamLength) {
        // Every fourth byte on average is an event chosen from the favoured
        // ones (with random high bits), the rest plain random bytes.
        if (!mix.favoured.empty() && pick(rng) == 0) {
            const uint8_t op = mix.favoured[size_t(byte(rng)) % mix.favoured.size()];
            out.push_back(uint8_t((byte(rng) & 0xF0) | op));
        } else {
            out.push_back(uint8_t(byte(rng)));
        }
    }
    return out;
}

TEST_P(SessionRandom, InvariantsHoldOverFixedSeeds)
{
    const Mix &mix = GetParam();
    int connectedRuns = 0;
    int boxes = 0;
    for (uint32_t seed = 1; seed <= 1000; ++seed) {
        const std::vector<uint8_t> bytes = streamFor(mix, seed);
        session_fuzz::Stream stream(bytes.data(), bytes.size());
        session_fuzz::Driver driver(stream);
        ASSERT_TRUE(driver.run()) << "seed " << seed << ": " << driver.failure();
        connectedRuns += driver.view.status != QStringLiteral("ZENU ver.");
        boxes += driver.view.messages;
    }
    // The streams reach the states that matter, not just the idle link.
    EXPECT_GT(connectedRuns, 0);
    EXPECT_GT(boxes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, SessionRandom,
    ::testing::Values(
        Mix{"plainNoise", 600, {}},
        // Connects, whole answers, ticks and time-outs: the link gets going.
        Mix{"talkativeController", 1500, {7, 4, 4, 5, 5, 6, 0}},
        // Commands, long exchanges and resets while polling.
        Mix{"busyUser", 1500, {7, 4, 5, 9, 10, 11, 5, 4, 6}},
        // Failures of the port and the store among everything else.
        Mix{"failingPortAndStore", 1500, {7, 4, 5, 13, 12, 8, 14, 15, 6}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
