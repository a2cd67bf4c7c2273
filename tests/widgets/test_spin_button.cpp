#include "widgets/TSpinButton.h"

#include "tests/widgets/test_flash_support.h"

#include <QAccessible>
#include <QLineEdit>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include <vector>

namespace {

// A spin button on a hand-driven flash timer, recording when each click came.
struct SpinFixture : ::testing::Test, ManualFlashTimer {
    TSpinButton spin;
    std::vector<qint64> ups, downs;
    SpinFixture()
    {
        now = 10000;
        spin.SetFlashTimer(&timer);
        QObject::connect(&spin, &TSpinButton::OnUpClick, [this] { ups.push_back(now); });
        QObject::connect(&spin, &TSpinButton::OnDownClick, [this] { downs.push_back(now); });
    }
    QPointF upPoint() const { return {7, 5}; }
    QPointF downPoint() const { return {7, 18}; }
    // Press, keep the beat going for ms, release on the same spot.
    void Hold(QPointF at, int ms)
    {
        press(&spin, at);
        RunFor(ms);
        release(&spin, at);
    }
};

TEST_F(SpinFixture, DefaultsAndSize)
{
    EXPECT_EQ(spin.StartDelay(), 500);
    EXPECT_EQ(spin.Interval(), 100);
    EXPECT_EQ(spin.size(), QSize(15, 24));
    spin.resize(6, 24);
    EXPECT_EQ(spin.width(), 15);
}

struct HoldCase {
    int startDelay;
    int interval;
    int holdMs;
    bool up;
    int expectedClicks; // repeats plus the one at release
};

std::string HoldName(const HoldCase &c)
{
    return std::string(c.up ? "up" : "down") + "_delay" + std::to_string(c.startDelay) + "_every"
           + std::to_string(c.interval) + "_held" + std::to_string(c.holdMs);
}

void PrintTo(const HoldCase &c, std::ostream *os)
{
    *os << HoldName(c) << ", " << c.expectedClicks << " clicks";
}

class SpinHold : public SpinFixture, public ::testing::WithParamInterface<HoldCase> {};

TEST_P(SpinHold, RepeatsAfterStartDelayAndClicksOnceMoreAtRelease)
{
    const HoldCase c = GetParam();
    spin.SetStartDelay(c.startDelay);
    spin.SetInterval(c.interval);
    const qint64 pressedAt = now;
    Hold(c.up ? upPoint() : downPoint(), c.holdMs);
    const auto &mine = c.up ? ups : downs;
    const auto &other = c.up ? downs : ups;
    EXPECT_EQ(int(mine.size()), c.expectedClicks);
    EXPECT_TRUE(other.empty());
    // No repeat before the start delay; the last click is the release itself.
    for (std::size_t i = 0; i + 1 < mine.size(); ++i) {
        EXPECT_GE(mine[i] - pressedAt, c.startDelay);
        if (i > 0) { // repeats keep the interval within one 16 ms beat
            EXPECT_NEAR(double(mine[i] - mine[i - 1]), c.interval, TFlashTimer::BeatMs);
        }
    }
    ASSERT_FALSE(mine.empty());
    EXPECT_EQ(mine.back(), now);
    EXPECT_EQ(spin.HeldHalf(), 0);
    EXPECT_EQ(timer.ClientCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Holds, SpinHold,
    ::testing::Values(HoldCase{500, 100, 1000, true, 6},  // five repeats and the release
                      HoldCase{500, 100, 1000, false, 6}, // the same for the lower half
                      HoldCase{500, 100, 200, true, 1},   // a short press: only the release
                      HoldCase{500, 100, 450, false, 1},  // released just before the delay
                      HoldCase{500, 100, 1990, true, 16}, // 15 repeats in the last 1.5 s
                      HoldCase{0, 200, 1000, true, 5},    // no delay: 200, 400, 600, 800 and the release
                      HoldCase{300, 50, 600, false, 7}),
    [](const auto &info) { return HoldName(info.param); });

TEST_F(SpinFixture, IntervalBelowFiftyIsIgnored)
{
    struct Step {
        int set;
        int expected;
    };
    const Step steps[] = {{30, 100}, {49, 100}, {50, 50}, {0, 50}, {-10, 50}, {250, 250}};
    for (const Step &s : steps) {
        spin.SetInterval(s.set);
        EXPECT_EQ(spin.Interval(), s.expected) << s.set;
    }
}

TEST_F(SpinFixture, ReleaseAwayFromThePressedHalfIsNoClick)
{
    press(&spin, upPoint());
    RunFor(200);
    release(&spin, downPoint());
    press(&spin, downPoint());
    release(&spin, QPointF(7, 400));
    EXPECT_TRUE(ups.empty());
    EXPECT_TRUE(downs.empty());
}

TEST_F(SpinFixture, DisablingWhileHeldStopsTheRepeat)
{
    press(&spin, upPoint());
    RunFor(700);
    const auto before = ups.size();
    ASSERT_GE(before, 1u);
    spin.setEnabled(false);
    RunFor(500);
    release(&spin, upPoint());
    EXPECT_EQ(ups.size(), before);
    EXPECT_EQ(timer.ClientCount(), 0);
}

TEST_F(SpinFixture, ArrowKeysClickTheirHalf)
{
    sendKey(&spin, Qt::Key_Up);
    sendKey(&spin, Qt::Key_Up);
    sendKey(&spin, Qt::Key_Down);
    sendKey(&spin, Qt::Key_Left);
    EXPECT_EQ(ups.size(), 2u);
    EXPECT_EQ(downs.size(), 1u);
}

TEST(SpinFocus, PressGivesFocusToTheFocusControlWhenItCanTakeIt)
{
    struct FocusCase {
        bool setControl;
        Qt::FocusPolicy controlPolicy;
        bool controlEnabled;
        Qt::FocusPolicy spinPolicy;
        int expected; // 0 nobody, 1 the control, 2 the spin button
    };
    const FocusCase cases[] = {
        {true, Qt::StrongFocus, true, Qt::TabFocus, 1},
        {true, Qt::ClickFocus, true, Qt::TabFocus, 2}, // not a tab stop
        {true, Qt::StrongFocus, false, Qt::TabFocus, 2},
        {false, Qt::StrongFocus, true, Qt::TabFocus, 2},
        {false, Qt::StrongFocus, true, Qt::NoFocus, 0},
    };
    for (const FocusCase &c : cases) {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *other = new QLineEdit;
        auto *control = new QLineEdit;
        auto *spin = new TSpinButton;
        layout->addWidget(other);
        layout->addWidget(control);
        layout->addWidget(spin);
        control->setFocusPolicy(c.controlPolicy);
        control->setEnabled(c.controlEnabled);
        spin->setFocusPolicy(c.spinPolicy);
        if (c.setControl)
            spin->SetFocusControl(control);
        ManualFlashTimer t;
        spin->SetFlashTimer(&t.timer);
        window.show();
        other->setFocus();
        press(spin, QPointF(7, 5));
        release(spin, QPointF(7, 5));
        QWidget *expected = c.expected == 1 ? static_cast<QWidget *>(control)
                          : c.expected == 2 ? static_cast<QWidget *>(spin)
                                            : static_cast<QWidget *>(other);
        EXPECT_EQ(window.focusWidget(), expected) << "case " << (&c - cases);
    }
}

} // namespace

namespace {

TEST(SpinAccessible, NamedByTheWindowAndTellsWhichHalfIsHeld)
{
    ManualFlashTimer t;
    TSpinButton spin;
    spin.SetFlashTimer(&t.timer);
    spin.setObjectName(QStringLiteral("SpinButton1"));
    QAccessibleInterface *ai = QAccessible::queryAccessibleInterface(&spin);
    ASSERT_NE(ai, nullptr);
    EXPECT_EQ(ai->text(QAccessible::Name), QStringLiteral("SpinButton1"));
    EXPECT_EQ(ai->text(QAccessible::Value), QString());
    press(&spin, QPointF(7, 18));
    EXPECT_EQ(ai->text(QAccessible::Value), QStringLiteral("down held"));
    release(&spin, QPointF(7, 18));
    EXPECT_EQ(ai->text(QAccessible::Value), QString());
}

} // namespace
