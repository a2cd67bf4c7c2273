// The link on a noisy line, window to simulated controller: garbled answers
// while polling, garbage during the handshake, and a startup answer that
// arrives whole. At most one message box is ever open at a time.
#include "E2eFixture.h"

#include "i18n/LanguageTable.h"

namespace {

constexpr int StartupCode = 0x66;
constexpr int PollCode = 0x55;

struct NoiseCase
{
    const char *name;
    int noiseBytes; // in front of every answer from the moment it starts
};

void PrintTo(const NoiseCase &c, std::ostream *os)
{
    *os << c.name;
}

class NoisyPolling : public E2eFixture, public ::testing::WithParamInterface<NoiseCase>
{
};

TEST_P(NoisyPolling, OneBoxAtATimeThenDisconnectedWithOneTimeoutMessage)
{
    startBoth();
    window->polacz->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    ASSERT_TRUE(waitFor([this] { return countIn(PollCode) >= 3; }, 4000));

    sim->command(QStringLiteral("line noise %1").arg(GetParam().noiseBytes));
    ASSERT_TRUE(waitFor([this] { return waitDisconnected(0); }, 20000)) << linkReport();
    QTest::qWait(500); // nothing turns up late

    const QString timeoutText = window->languageTable()->message(11);
    const QStringList seen = watcher->messages();
    EXPECT_EQ(watcher->mostOpenAtOnce(), 1);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.count(timeoutText), 1) << seen.join(" | ").toStdString();
    EXPECT_EQ(seen.last(), timeoutText);
    for (qsizetype i = 0; i + 1 < seen.size(); ++i)
        EXPECT_EQ(seen[i], Session::InitErrorText);
    EXPECT_TRUE(window->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(E2e, NoisyPolling,
                         ::testing::Values(NoiseCase{"threeStrayBytes", 3}, NoiseCase{"longBurst", 400}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(E2eFixture, NoiseThatStopsLeavesTheLinkPolling)
{
    startBoth();
    window->polacz->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    ASSERT_TRUE(waitFor([this] { return countIn(PollCode) >= 3; }, 4000));

    sim->command(QStringLiteral("line noise 3"));
    ASSERT_TRUE(waitFor([this] { return !watcher->messages().isEmpty(); }, 4000)) << linkReport();
    sim->command(QStringLiteral("line noise 0"));
    const int polls = countIn(PollCode);
    ASSERT_TRUE(waitFor([&] { return countIn(PollCode) >= polls + 8; }, 12000)) << linkReport();
    EXPECT_FALSE(session().linkState().isEmpty());
    EXPECT_EQ(watcher->mostOpenAtOnce(), 1);
    for (const QString &m : watcher->messages())
        EXPECT_EQ(m, Session::InitErrorText);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(E2eFixture, GarbageDuringTheHandshakeEndsTheAttemptsWithoutWaitingForTimeouts)
{
    startBoth({QStringLiteral("--fault"), QStringLiteral("noise 3")});
    window->polacz->trigger();
    // Five attempts that wait for their time-outs take 15 s; garbage ends
    // each attempt as it arrives.
    ASSERT_TRUE(waitFor([this] { return waitDisconnected(0) && !watcher->messages().isEmpty(); }, 9000))
        << linkReport();
    QTest::qWait(500);
    EXPECT_EQ(watcher->messages().join(" | ").toStdString(), window->languageTable()->message(11).toStdString());
    EXPECT_EQ(countIn(StartupCode), Session::ConnectAttempts);
    EXPECT_EQ(watcher->mostOpenAtOnce(), 1);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(E2eFixture, StartupAnswerInOneWriteConnectsAtTheFirstAttempt)
{
    startBoth({QStringLiteral("--one-piece")}, false);
    window->polacz->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    EXPECT_EQ(countIn(StartupCode), 1);
    EXPECT_EQ(session().storedSettings().size(), 602);
    EXPECT_TRUE(watcher->messages().isEmpty()) << watcher->messages().join(" | ").toStdString();
}

// After noise has ended a session, the next "Połącz" opens the port again and
// connects at its first attempt.
TEST_F(E2eFixture, TheConnectAfterANoiseEndingOpensThePortAndConnects)
{
    startBoth();
    window->polacz->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    ASSERT_TRUE(waitFor([this] { return countIn(PollCode) >= 3; }, 4000));

    sim->command(QStringLiteral("line noise 5"));
    ASSERT_TRUE(waitFor([this] { return waitDisconnected(0); }, 20000)) << linkReport();
    sim->command(QStringLiteral("line noise 0"));
    QTest::qWait(500);

    const int startups = countIn(StartupCode);
    window->polacz->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    EXPECT_EQ(countIn(StartupCode), startups + 1);
    polls(3);
}

} // namespace
