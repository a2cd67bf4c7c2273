// Edits by hand reach the controller: a turn of the mouse wheel on a dial is
// one command once the wheel stops, and the controller keeps the value (read
// back by a new connection); the wheel over a settings list sends nothing.
#include "E2eFixture.h"

#include "widgets/TDial.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QWheelEvent>

namespace {

constexpr int RpmToGasOffset = 23; // RPM_Prog_przel, rpm / 100
constexpr int RpmToGasCode = 0x09;
constexpr int CylinderCode = 0x1B;

class E2eHandEdits : public E2eFixture
{
protected:
    QString statePath() const { return m_config.filePath(QStringLiteral("controller.state")); }

    int controllerByte(int offset) const
    {
        QFile f(statePath());
        const QByteArray b = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        return b.size() > offset ? uint8_t(b[offset]) : -1;
    }

    void connectByMenu()
    {
        window->polacz->trigger();
        ASSERT_TRUE(waitConnected()) << linkReport();
        polls(1);
    }

    static void wheel(QWidget *w, int notches)
    {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        for (int i = 0; i < std::abs(notches); ++i) {
            QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, notches > 0 ? 120 : -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w, &e);
        }
    }
};

TEST_F(E2eHandEdits, AWheelTurnOnADialReachesTheControllerOnce)
{
    startBoth({QStringLiteral("--state"), statePath()});
    window->show();
    connectByMenu();
    auto *dial = window->component<TDial>(QStringLiteral("RPM_Prog_przel"));
    ASSERT_NE(dial, nullptr);
    const float before = dial->Value();
    const int sentBefore = countIn(RpmToGasCode);

    wheel(dial, 3);
    EXPECT_EQ(dial->Value(), before + 300.0f);
    EXPECT_EQ(countIn(RpmToGasCode), sentBefore) << "nothing while the wheel turns";
    const int expected = int(before / 100) + 3;
    ASSERT_TRUE(waitFor([&] { return controllerByte(RpmToGasOffset) == expected; },
                        TAnalogCControl::WheelPauseMs * 10 + 10 * PollPeriodMs))
        << "controller holds " << controllerByte(RpmToGasOffset) << ": " << linkReport();
    polls(2);
    EXPECT_EQ(countIn(RpmToGasCode), sentBefore + 1) << "one command for the turn";

    // Read back: a new connection brings the controller's block.
    window->rozlacz1->trigger();
    ASSERT_TRUE(waitDisconnected(5000)) << linkReport();
    dial->SetValue(before);
    connectByMenu();
    EXPECT_EQ(dial->Value(), before + 300.0f);
}

TEST_F(E2eHandEdits, TheWheelOverASettingsListSendsNothing)
{
    startBoth({QStringLiteral("--state"), statePath()});
    window->show();
    connectByMenu();
    auto *cylinders = window->component<QComboBox>(QStringLiteral("Sel_cyl"));
    ASSERT_NE(cylinders, nullptr);
    const int item = cylinders->currentIndex();
    wheel(cylinders, -2);
    wheel(cylinders, 1);
    polls(3);
    EXPECT_EQ(cylinders->currentIndex(), item);
    EXPECT_EQ(countIn(CylinderCode), 0);
}

} // namespace
