// The whole link, window to controller: the real main window offscreen, its
// serial port on a pseudo-terminal, zenu-sim at the other end. What went over
// the line is read back from the simulator's frame log.
#include "E2eFixture.h"

#include "link/CommandBodies.h"
#include "link/CommandFrame.h"
#include "link/SessionLanguageStore.h"
#include "link/RegistryKey.h"

#include "widgets/TToggleSwitch.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QRegularExpression>

namespace {

constexpr int StartupCode = 0x66;
constexpr int PollCode = 0x55;
constexpr int ResetCode = 0x26;
constexpr int RpmThresholdCode = 0x09;
const QByteArray RpmThresholdBody = QByteArray::fromHex("0919"); // 2500 rpm

const QString kPortKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\ComPort1");

QColor background(QWidget *w)
{
    return w->palette().color(QPalette::Window);
}

} // namespace

// Connect, poll, a queued command, the factory reset both ways, disconnect.
TEST_F(E2eFixture, SessionFromConnectToDisconnect)
{
    startBoth({QStringLiteral("--warm")});
    TZENU &w = *window;
    auto *sw = w.component<TToggleSwitch>(QStringLiteral("Polacz_switch"));
    ASSERT_NE(sw, nullptr);

    // Queued with no connection: dropped, nothing written, nothing shown, and
    // never sent to the controller that connects later.
    session().setCommandRetries(5);
    session().QueueCommand(RpmThresholdBody);
    QTest::qWait(400);
    EXPECT_TRUE(frames().isEmpty());
    EXPECT_TRUE(session().queue().current().isEmpty());
    EXPECT_TRUE(watcher->messages().isEmpty()) << watcher->messages().join(" | ").toStdString();

    // The user picks the port: it is opened and the handshake starts.
    w.component<QAction>(kCom)->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    EXPECT_EQ(w.statusPanelText(), QStringLiteral("ZENU ver. 3.07.07"));
    EXPECT_TRUE(sw->Checked());
    EXPECT_EQ(sw->ShownText(), QStringLiteral("COM5 - ON"));
    EXPECT_EQ(session().storedSettings().size(), 602);
    for (const char *item : {"Odczyt1", "Zapis1", "Reset1"}) {
        EXPECT_TRUE(w.component<QAction>(QString::fromLatin1(item))->isVisible()) << item;
        EXPECT_TRUE(w.component<QAction>(QString::fromLatin1(item))->isEnabled()) << item;
    }
    EXPECT_EQ(w.Timer_Count->interval(), 240);

    ASSERT_TRUE(waitFor([this] { return countIn(PollCode) >= 10; }, 8000)) << countIn(PollCode);
    EXPECT_EQ(countIn(StartupCode), 1);
    EXPECT_EQ(countIn(RpmThresholdCode), 0);
    EXPECT_GE(window->linkView().liveFramesApplied(), 9);
    EXPECT_EQ(window->linkView().lastLiveAnswer().size(), 57);
    // The controller's 13.8 V supply came through coding, assembly and decoding.
    const std::optional<double> supply = window->linkView().lastLiveValues().supplyVolts;
    ASSERT_TRUE(supply.has_value());
    EXPECT_NEAR(*supply, 13.8, 0.5);

    // A queued command goes out in place of a poll and is acknowledged once.
    session().setCommandRetries(5);
    session().QueueCommand(RpmThresholdBody);
    ASSERT_TRUE(waitFor([this] { return countOut(RpmThresholdCode) == 1 && session().queue().current().isEmpty(); }, 4000));
    const int pollsAfterCommand = countIn(PollCode);
    ASSERT_TRUE(waitFor([&] { return countIn(PollCode) >= pollsAfterCommand + 3; }, 4000));
    EXPECT_EQ(countIn(RpmThresholdCode), 1);
    const QList<LoggedFrame> sent = SimFrameLog::select(frames(), true, RpmThresholdCode);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent.first().plain, CommandFrame::frame(RpmThresholdBody));
    EXPECT_EQ(session().commandRetries(), 0);

    // Factory reset answered No: nothing is sent.
    watcher->answerYes = [](const QString &) { return false; };
    w.component<QAction>(QStringLiteral("Reset1"))->trigger();
    QTest::qWait(700);
    EXPECT_EQ(watcher->questions(), QStringList{w.languageTable()->message(10)});
    EXPECT_EQ(countIn(ResetCode), 0);
    EXPECT_TRUE(w.isEnabled());

    // Answered Yes: a long exchange until the settings answer is decoded.
    watcher->answerYes = [](const QString &) { return true; };
    w.component<QAction>(QStringLiteral("Reset1"))->trigger();
    EXPECT_EQ(watcher->questions().size(), 2);
    EXPECT_FALSE(w.isEnabled());
    EXPECT_EQ(w.Timer_Count->interval(), 1264);
    EXPECT_EQ(background(w.Panel1Gora), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(background(w.component(QStringLiteral("Zaplon_panel"))), QColor(0x80, 0x80, 0x80));
    ASSERT_TRUE(waitFor([&] { return w.isEnabled() && countOut(ResetCode) == 1; }, 8000));
    EXPECT_EQ(countIn(ResetCode), 1);
    EXPECT_EQ(w.Timer_Count->interval(), 240);
    EXPECT_NE(background(w.Panel1Gora), QColor(0x80, 0x80, 0x80));
    ASSERT_EQ(session().storedSettings().size(), 602);
    EXPECT_EQ(uint8_t(session().storedSettings()[3]), ResetCode);
    const int pollsAfterReset = countIn(PollCode);
    ASSERT_TRUE(waitFor([&] { return countIn(PollCode) >= pollsAfterReset + 2; }, 4000));

    // Disconnect from the menu: the fault list is kept, everything else rests.
    auto *memo = w.component<QPlainTextEdit>(QStringLiteral("Actual_errors_Memo"));
    memo->setPlainText(QStringLiteral("fault shown before the disconnect"));
    w.component(QStringLiteral("Error_Led"))->setVisible(true);
    w.rozlacz1->trigger();
    EXPECT_TRUE(session().linkState().isEmpty());
    EXPECT_FALSE(w.ComPort1->connected());
    EXPECT_FALSE(w.Timer_Count->isActive());
    EXPECT_FALSE(w.Timer_Czekaj_na_odczyt->isActive());
    EXPECT_FALSE(sw->Checked());
    EXPECT_EQ(sw->ShownText(), QStringLiteral("Rozłączony"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("fault shown before the disconnect"));
    EXPECT_FALSE(w.component(QStringLiteral("Error_Led"))->isVisibleTo(&w));
    EXPECT_FALSE(w.component<QAction>(QStringLiteral("Reset1"))->isVisible());
    EXPECT_EQ(window->linkView().lastLiveAnswer(), QByteArray(500, '\0'));
    EXPECT_EQ(RegistryKey(kPortKey).readString(QStringLiteral("Port")), std::optional<QString>(kCom));
    EXPECT_EQ(RegistryKey(SessionLanguageStore::KeyPath).readString(SessionLanguageStore::ValueName),
              std::optional<QString>(QStringLiteral("PolskiPL")));

    // The program sends nothing more, and nobody was told anything.
    auto sentByProgram = [this] {
        int n = 0;
        for (const LoggedFrame &f : frames())
            n += f.incoming ? 1 : 0;
        return n;
    };
    const int sentAtDisconnect = sentByProgram();
    QTest::qWait(800);
    EXPECT_EQ(sentByProgram(), sentAtDisconnect);
    EXPECT_TRUE(watcher->messages().isEmpty()) << watcher->messages().join(" | ").toStdString();

    // A second handshake in the same run takes any firmware and leaves the
    // version shown alone.
    sim->command(QStringLiteral("line firmware 3.7.6"));
    w.polacz->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    EXPECT_EQ(countIn(StartupCode), 2);
    EXPECT_EQ(w.statusPanelText(), QStringLiteral("ZENU ver. 3.07.07"));
    ASSERT_EQ(session().storedSettings().size(), 602);
    EXPECT_EQ(uint8_t(session().storedSettings()[6]), 6); // the block did report 3.7.6
    EXPECT_TRUE(watcher->messages().isEmpty()) << watcher->messages().join(" | ").toStdString();
}

// --- ways the link ends ------------------------------------------------------

struct EndingCase
{
    const char *label;
    QStringList simArgs;
    // Run once the handshake is through; empty when it is not expected to be.
    std::function<void(E2eFixture &)> provoke;
    int startupCommands;
    // Times the queued command went out; every copy byte for byte the same.
    int commandCopies;
    // The boxes the user sees, given the window (for texts of the table);
    // a text starting "re:" is a pattern for it.
    std::function<QStringList(TZENU &)> messages;
    int withinMs;
};

void PrintTo(const EndingCase &c, std::ostream *os)
{
    *os << c.label;
}

class LinkEnding : public E2eFixture, public ::testing::WithParamInterface<EndingCase>
{
public:
    using E2eFixture::session;
    SimulatorProcess &simulator() { return *sim; }
};

TEST_P(LinkEnding, EndsDisconnectedWithTheRightMessage)
{
    const EndingCase &c = GetParam();
    startBoth(c.simArgs);
    TZENU &w = *window;

    w.polacz->trigger();
    if (c.provoke) {
        ASSERT_TRUE(waitConnected()) << linkReport();
        ASSERT_TRUE(waitFor([this] { return countIn(PollCode) >= 3; }, 4000));
        c.provoke(*this);
    }
    const QStringList expected = c.messages(w);
    ASSERT_TRUE(waitFor([&] { return watcher->messages().size() >= expected.size() && waitDisconnected(0); },
                        c.withinMs))
        << "state '" << session().linkState().toStdString() << "', messages: "
        << watcher->messages().join(" | ").toStdString();
    // Nothing more turns up late: no second message, no restarted timer.
    QTest::qWait(expected.isEmpty() ? 3500 : 500);
    const QStringList seen = watcher->messages();
    ASSERT_EQ(seen.size(), expected.size()) << seen.join(" | ").toStdString();
    for (qsizetype i = 0; i < seen.size(); ++i) {
        if (expected[i].startsWith(QLatin1String("re:")))
            EXPECT_TRUE(QRegularExpression(expected[i].mid(3)).match(seen[i]).hasMatch()) << seen[i].toStdString();
        else
            EXPECT_EQ(seen[i], expected[i]);
    }
    EXPECT_TRUE(waitDisconnected(0));
    EXPECT_TRUE(w.isEnabled());
    EXPECT_FALSE(w.component<TToggleSwitch>(QStringLiteral("Polacz_switch"))->Checked());
    EXPECT_EQ(countIn(StartupCode), c.startupCommands);
    const QList<LoggedFrame> copies = SimFrameLog::select(frames(), true, RpmThresholdCode);
    EXPECT_EQ(copies.size(), c.commandCopies);
    for (const LoggedFrame &f : copies) {
        EXPECT_EQ(f.lineBytes, copies.first().lineBytes);
        EXPECT_EQ(f.plain, CommandFrame::frame(RpmThresholdBody));
    }
}

const EndingCase kEndings[] = {
    // Five attempts 3 s apart, then the time-out message of row 11.
    {"silent_controller", {QStringLiteral("--fault"), QStringLiteral("silent")}, {}, 5, 0,
     [](TZENU &w) { return QStringList{w.languageTable()->message(11)}; }, 19000},
    // The first handshake of the run refuses other firmware, silently.
    {"wrong_firmware", {QStringLiteral("--firmware"), QStringLiteral("3.7.6")}, {}, 1, 0,
     [](TZENU &) { return QStringList{}; }, 4000},
    // Each wrong echo re-sends the same frame until the budget of 5 is gone.
    {"wrong_echo",
     {QStringLiteral("--fault"), QStringLiteral("wrong-echo")},
     [](E2eFixture &f) {
         static_cast<LinkEnding &>(f).session().setCommandRetries(5);
         static_cast<LinkEnding &>(f).session().QueueCommand(RpmThresholdBody);
     },
     1, 4, [](TZENU &) { return QStringList{QStringLiteral("Time out - Error1")}; }, 6000},
    // The adapter goes away mid-poll: the port's failure ends the link at once
    // and is told once (which call of the port meets it first varies), by its
    // cause when the port's code says the device is gone, with the port's own
    // message as the details.
    {"line_closed_mid_poll", {},
     [](E2eFixture &f) { static_cast<LinkEnding &>(f).simulator().command(QStringLiteral("line unplug")); },
     1, 0, [](TZENU &) { return QStringList{QStringLiteral(
                             R"(re:^(Przewód odłączony od portu COM5\nSzczegóły: )?\w+ function failed \(win error code: \d+\)$)")}; },
     6000},
};

INSTANTIATE_TEST_SUITE_P(E2e, LinkEnding, ::testing::ValuesIn(kEndings),
                         [](const auto &info) { return std::string(info.param.label); });

// Closing the window while polling ends the link as "Rozłącz" does.
TEST_F(E2eFixture, ClosingTheWindowWhileConnectedStoresAndStops)
{
    startBoth();
    TZENU &w = *window;
    w.polacz->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    ASSERT_TRUE(waitFor([this] { return countIn(PollCode) >= 2; }, 4000));
    // Forget what start-up found, so only the close can put it back.
    {
        RegistryKey port(kPortKey);
        port.remove(QStringLiteral("Port"));
        port.flush();
        RegistryKey lang(SessionLanguageStore::KeyPath);
        lang.remove(SessionLanguageStore::ValueName);
        lang.flush();
    }
    ASSERT_FALSE(RegistryKey(kPortKey).readString(QStringLiteral("Port")).has_value());

    w.close();

    EXPECT_TRUE(session().linkState().isEmpty());
    EXPECT_FALSE(w.ComPort1->connected());
    EXPECT_FALSE(w.Timer_Count->isActive());
    EXPECT_FALSE(w.Timer_Czekaj_na_odczyt->isActive());
    EXPECT_EQ(RegistryKey(kPortKey).readString(QStringLiteral("Port")), std::optional<QString>(kCom));
    EXPECT_EQ(RegistryKey(SessionLanguageStore::KeyPath).readString(SessionLanguageStore::ValueName),
              std::optional<QString>(QStringLiteral("PolskiPL")));
    const int sent = countIn(PollCode);
    QTest::qWait(700);
    EXPECT_EQ(countIn(PollCode), sent);
    EXPECT_TRUE(watcher->messages().isEmpty()) << watcher->messages().join(" | ").toStdString();
}
