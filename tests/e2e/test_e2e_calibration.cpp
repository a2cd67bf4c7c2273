// A whole calibration against zenu-sim: the real window offscreen, the
// procedure's steps ticked by hand as soon as the previous step's commands are
// acknowledged (instead of the 4.5 minutes of the step timer), every command
// checked on the simulator's side, and the new map read back.
#include "E2eFixture.h"

#include "app/calibration/CalibrationPage.h"

#include "link/CommandFrame.h"

#include "widgets/TBinGControl.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <ostream>

inline void PrintTo(const QByteArray &b, std::ostream *os) { *os << b.toHex(' ').toStdString(); }

namespace {

constexpr int PollCode = 0x55;
constexpr int StartupCode = 0x66;
// Far beyond the test: the real step timer never fires by itself.
constexpr int HeldInterval = 600000;

class E2eCalibration : public E2eFixture
{
protected:
    void connectWarm(const QStringList &more = {})
    {
        startBoth(QStringList{QStringLiteral("--warm")} + more);
        window->component<QAction>(kCom)->trigger();
        ASSERT_TRUE(waitConnected()) << linkReport();
        polls(3);
    }
    bool queueIdle()
    {
        return waitFor([this] { return session().queue().current().isEmpty() && session().queue().next().isEmpty(); },
                       8000);
    }
    uint8_t litMask()
    {
        uint8_t m = 0;
        for (int k = 0; k < 8; ++k)
            if (window->component<TBinGControl>(QStringLiteral("Cyl_%1_led").arg(k))->Checked())
                m |= uint8_t(1u << k);
        return m;
    }
    // START, then each step as soon as the previous one's commands are
    // acknowledged and `pollsPerStep` fresh samples came in; the step timer
    // is held far out so it never fires by itself.
    void runCalibration(int pollsPerStep)
    {
        window->Adaptacja_Timer->setInterval(HeldInterval);
        window->component<QPushButton>(QStringLiteral("Button_start"))->click();
        ASSERT_EQ(window->CalibrationStep, 0) << watcher->messages().join(QStringLiteral(" | ")).toStdString();
        CalibrationPage &page = window->calibration();
        for (int guard = 0; window->CalibrationStep != -1 && guard < 20; ++guard) {
            ASSERT_TRUE(queueIdle()) << "step " << window->CalibrationStep << ": " << linkReport();
            polls(pollsPerStep);
            page.Adaptacja_TimerTimer();
            if (window->Adaptacja_Timer->isActive())
                window->Adaptacja_Timer->setInterval(HeldInterval);
        }
        ASSERT_EQ(window->CalibrationStep, -1);
        EXPECT_TRUE(watcher->questions().isEmpty()) << watcher->questions().join(QStringLiteral(" | ")).toStdString();
        ASSERT_TRUE(waitFor([this] { return session().queue().current().isEmpty(); }, 8000)) << linkReport();
        polls(2);
    }
    // The correction map as the last settings answer brought it.
    std::array<int, MapShape::Points> mapReadBack()
    {
        std::array<int, MapShape::Points> m{};
        const QByteArray block = session().storedSettings();
        for (int k = 1; block.size() >= 312 && k <= MapShape::Points; ++k)
            m[size_t(k - 1)] = uint8_t(block[65 + k]);
        return m;
    }
    // Bodies the program sent since the connect, polls left out.
    QList<QByteArray> commandBodies()
    {
        QList<QByteArray> out;
        for (const LoggedFrame &f : frames()) {
            if (!f.incoming || f.code == PollCode || f.plain == CommandFrame::frame(CommandBodies::startup()))
                continue;
            out << f.plain.mid(1, f.plain.size() - 2);
        }
        return out;
    }
};

TEST_F(E2eCalibration, FullRunSendsEveryCommandInOrderAndReadsTheNewMapBack)
{
    connectWarm();
    const uint8_t m = litMask();
    const uint8_t M = uint8_t(session().storedSettings().at(20));
    CalibrationPage &page = window->calibration();
    runCalibration(2);
    if (HasFatalFailure())
        return;

    const QList<QByteArray> sent = commandBodies();
    const std::array<int, MapShape::Points> &map = page.procedure().computedMap();
    const QByteArray petrolM = CommandBodies::requestPetrol(M);
    const QByteArray gasM = CommandBodies::requestGas(M);
    ASSERT_EQ(sent.size(), 21) << linkReport();
    const QList<QByteArray> fixed = {
        QByteArray::fromHex("25"), CommandBodies::requestPetrol(m), CommandBodies::requestPetrol(m),
        CommandBodies::requestPetrol(m), QByteArray(), CommandBodies::requestGas(0x01),
        CommandBodies::requestGas(M & 0x55), gasM, petrolM, petrolM, QByteArray(), gasM, petrolM, petrolM,
        QByteArray(), gasM, QByteArray(), QByteArray(), CommandBodies::correctionMapWrite(map),
        CommandBodies::zeroMap(), CommandBodies::readAll()};
    for (int i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(::testing::Message() << "command " << i);
        if (!fixed[i].isEmpty()) {
            EXPECT_EQ(sent[i], fixed[i]);
        }
    }
    // The reports and the block carry measured values; their form is fixed.
    for (int i : {4, 10, 14}) {
        EXPECT_EQ(sent[i].size(), 4);
        EXPECT_EQ(uint8_t(sent[i][0]), 0x19);
    }
    EXPECT_EQ(uint8_t(sent[4][3]), 0x80);
    EXPECT_EQ(sent[16].size(), 21);
    EXPECT_EQ(uint8_t(sent[16][0]), 0x20);
    EXPECT_EQ(sent[17].size(), 6);
    EXPECT_EQ(uint8_t(sent[17][0]), 0x02);

    // The read-all brought the written map back.
    const QByteArray block = session().storedSettings();
    ASSERT_GE(block.size(), 312);
    for (int k = 1; k <= MapShape::Points; ++k)
        ASSERT_EQ(uint8_t(block[65 + k]), map[size_t(k - 1)]) << "point " << k;
    EXPECT_EQ(window->component<QLabel>(QStringLiteral("Adaptacja_info"))->text(),
              QStringLiteral("Adaptacja zakończona pomyślnie"));
    EXPECT_EQ(window->Timer_Count->interval(), Session::PollInterval);
}

// The simulated car needs 1.25 times the petrol time in gas, the factory map
// gives 1.00. Its engine time runs 50 times the clock, so the few seconds of
// each hurried step are the better part of a minute for the car's ECU trim
// and the controller's learning.
TEST_F(E2eCalibration, RunsOnTheCarMoveTheMapTowardItsRatioAndASecondRunLittle)
{
    connectWarm({QStringLiteral("--speed"), QStringLiteral("50"), QStringLiteral("--ratio"), QStringLiteral("1.25")});
    const std::array<int, MapShape::Points> start = mapReadBack();
    ASSERT_EQ(start[29], 100);
    const int anchorPoint = 30; // about 3 ms of petrol at idle

    runCalibration(4);
    if (HasFatalFailure())
        return;
    const std::array<int, MapShape::Points> first = mapReadBack();
    EXPECT_EQ(first, window->calibration().procedure().computedMap()) << "the map read back is the one written";
    const int firstChange = first[anchorPoint - 1] - start[anchorPoint - 1];
    EXPECT_GE(firstChange, 12) << "toward the car's 1.25 from 1.00";
    EXPECT_LE(first[anchorPoint - 1], 130);

    runCalibration(4);
    if (HasFatalFailure())
        return;
    const std::array<int, MapShape::Points> second = mapReadBack();
    const int secondChange = second[anchorPoint - 1] - first[anchorPoint - 1];
    EXPECT_LE(std::abs(secondChange), firstChange / 3) << "first " << firstChange << ", then " << secondChange;
    EXPECT_EQ(window->component<QLabel>(QStringLiteral("Adaptacja_info"))->text(),
              QStringLiteral("Adaptacja zakończona pomyślnie"));
}

TEST_F(E2eCalibration, UnpluggedControllerInterruptsTheRun)
{
    connectWarm();
    window->Adaptacja_Timer->setInterval(HeldInterval);
    window->component<QPushButton>(QStringLiteral("Button_start"))->click();
    ASSERT_EQ(window->CalibrationStep, 0);
    window->calibration().Adaptacja_TimerTimer();
    ASSERT_TRUE(queueIdle());
    const int sentBefore = int(commandBodies().size());

    sim->stop(); // the adapter goes away
    ASSERT_TRUE(waitDisconnected(15000)) << linkReport();
    EXPECT_EQ(window->CalibrationStep, -1);
    EXPECT_FALSE(window->Adaptacja_Timer->isActive());
    EXPECT_TRUE(window->component<QPushButton>(QStringLiteral("Button_start"))->isEnabled());
    EXPECT_EQ(window->component<QLabel>(QStringLiteral("Adaptacja_info"))->text(),
              window->languageTable()->programText(u"calibration.interrupted"));
    // No stop command went out into the dead link.
    EXPECT_EQ(int(commandBodies().size()), sentBefore);
}

} // namespace
