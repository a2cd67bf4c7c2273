#pragma once

// The real main window (offscreen) against zenu-sim on a pseudo-terminal, in
// a settings store of its own. The simulator is listed as COM5 and selected as
// the program's port, so "Połącz" connects to it.
#include "ModalWatcher.h"
#include "SimFrameLog.h"
#include "SimulatorProcess.h"

#include "app/window/LinkRideOut.h"
#include "app/window/TZENU.h"
#include "app/common/UserMessage.h"
#include "app/window/WindowLinkView.h"

#include "link/Session.h"
#include "link/TSerialPort.h"

#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

class E2eFixture : public ::testing::Test
{
protected:
    static inline const QString kCom = QStringLiteral("COM5");

    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        // Real message boxes: their nested event loops are part of what runs.
        UserMessage::setInterceptor({});
    }

    void TearDown() override
    {
        window.reset();
        watcher.reset();
        if (sim)
            sim->stop();
    }

    // Starts the simulator with extra options, then the window. The line runs
    // at the real 7200 baud unless `paced` is false: then answers arrive as
    // fast as the simulator writes them.
    void startBoth(const QStringList &simArgs = {}, bool paced = true)
    {
        sim = std::make_unique<SimulatorProcess>(QStringLiteral(ZENU_SIM_PATH), m_config.path());
        QString error;
        const QStringList pacing = paced ? QStringList{QStringLiteral("--pace")} : QStringList{};
        ASSERT_TRUE(sim->start(kCom, logPath(), pacing + simArgs, &error))
            << error.toStdString();
        watcher = std::make_unique<ModalWatcher>();
        window = std::make_unique<TZENU>(TZENU::PortLister{}, [](const QUrl &) { return true; });
        // The link ends on a bad line as it always did, unless a test asks
        // for the reconnect option (on by default in the program).
        window->rideOut().menuItem()->setChecked(reconnect);
        ASSERT_EQ(window->ComPort1->port(), kCom);
    }

    QString logPath() const { return m_config.filePath(QStringLiteral("frames.jsonl")); }
    QList<LoggedFrame> frames() const { return SimFrameLog::read(logPath()); }
    int countIn(int code) const { return int(SimFrameLog::select(frames(), true, code).size()); }
    int countOut(int code) const { return int(SimFrameLog::select(frames(), false, code).size()); }

    Session &session() { return window->session(); }

    // Waits (running the event loop) until `done` holds or `ms` pass.
    template <class Pred>
    static bool waitFor(Pred done, int ms)
    {
        return QTest::qWaitFor(done, ms);
    }

    static constexpr int PollCommandCode = 0x55;
    static constexpr int PollPeriodMs = 240;

    // Runs the event loop over `n` more polls (a tenfold margin on the period).
    void polls(int n)
    {
        const int start = countIn(PollCommandCode);
        ASSERT_TRUE(waitFor([&] { return countIn(PollCommandCode) >= start + n; }, 2000 + n * PollPeriodMs * 10))
            << linkReport();
    }

    bool waitConnected(int ms = 8000)
    {
        return waitFor([this] { return session().linkState() == Session::Count || session().linkState() == Session::ReadCount
                                       || session().linkState() == Session::ReadCountRest; },
                       ms)
               && waitFor([this] { return window->isEnabled(); }, ms);
    }

    bool waitDisconnected(int ms)
    {
        return waitFor([this] { return session().linkState().isEmpty() && !window->ComPort1->connected()
                                       && !window->Timer_Count->isActive()
                                       && !window->Timer_Czekaj_na_odczyt->isActive(); },
                       ms);
    }

    // Where the link stands, for failure output.
    std::string linkReport()
    {
        return QStringLiteral("state '%1', rx %2 of %3 bytes, messages: %4")
            .arg(session().linkState())
            .arg(session().rxBuffer().size())
            .arg(session().expectedLength())
            .arg(watcher ? watcher->messages().join(QStringLiteral(" | ")) : QString())
            .toStdString();
    }

    // "Reconnect automatically" for the window startBoth makes.
    bool reconnect = false;
    QTemporaryDir m_config;
    std::unique_ptr<SimulatorProcess> sim;
    std::unique_ptr<ModalWatcher> watcher;
    std::unique_ptr<TZENU> window;
};
