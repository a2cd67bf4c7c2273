#include "widgets/TLedIndicator.h"

#include "tests/widgets/test_flash_support.h"

#include <QAccessible>

#include "tests/widgets/FrequencyName.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include <memory>

namespace {

const QColor kLime(0x00, 0xFF, 0x00);
const QColor kRed(0xFF, 0x00, 0x00);
const QColor kGray(0x80, 0x80, 0x80);

// LEDs on a hand-driven flash timer.
struct LedFixture : ::testing::Test, ManualFlashTimer {
    std::unique_ptr<TLedIndicator> makeLed(const QString &caption = QStringLiteral("1"))
    {
        auto led = std::make_unique<TLedIndicator>(caption);
        led->SetFlashTimer(&timer);
        return led;
    }
};

TEST_F(LedFixture, DefaultsAreADarkRoundThirteenPixelLampLitInLime)
{
    auto led = makeLed();
    EXPECT_FALSE(led->Checked());
    EXPECT_FALSE(led->Flashing());
    EXPECT_EQ(led->Frequency(), ff1Hz);
    EXPECT_EQ(led->Mode(), mIndicator);
    EXPECT_EQ(led->LED().Shape(), sRound);
    EXPECT_EQ(led->LED().Width(), 13);
    EXPECT_EQ(led->LED().Height(), 13);
    EXPECT_EQ(led->LED().ColorOn(), kLime);
    EXPECT_EQ(led->LED().ColorOff(), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(led->LED_Position(), lpLeft);
    EXPECT_EQ(led->Spacing(), 5);
}

TEST_F(LedFixture, SteadyColourFollowsCheckedAndColourChangesShowAtOnce)
{
    auto led = makeLed();
    led->SetColorOff(kRed);
    EXPECT_EQ(led->ShownColor(), kRed);
    led->SetChecked(true);
    EXPECT_EQ(led->ShownColor(), kLime);
    led->SetColorOn(kGray);
    EXPECT_EQ(led->ShownColor(), kGray);
    Beat(100); // not flashing: the timer has nothing to say
    EXPECT_EQ(led->ShownColor(), kGray);
    EXPECT_FALSE(timer.IsRegistered(led.get()));
}

struct BlinkCase {
    TFrequency f;
    int ticksPerPhase;
};

void PrintTo(const BlinkCase &c, std::ostream *os)
{
    *os << FrequencyName(c.f) << ", " << c.ticksPerPhase << " ticks a phase";
}

class LedBlink : public LedFixture, public ::testing::WithParamInterface<BlinkCase> {};

TEST_P(LedBlink, LitFlashingLedAlternatesColoursAtItsRate)
{
    const BlinkCase c = GetParam();
    auto led = makeLed();
    led->SetColorOff(kRed);
    led->SetFrequency(c.f);
    led->SetFlashing(true);
    EXPECT_FALSE(timer.IsRegistered(led.get())) << "a dark LED never flashes";
    led->SetChecked(true);
    EXPECT_EQ(led->ShownColor(), kLime) << "steady lit look until the first phase";
    ASSERT_TRUE(timer.IsRegistered(led.get()));

    // Walk four full periods and compare with the shared counter's bit d.
    for (int i = 0; i < 8 * c.ticksPerPhase; ++i) {
        Beat();
        const bool on = TFlashTimer::PhaseAt(timer.TickCount(), c.f);
        ASSERT_EQ(led->ShownColor(), on ? kLime : kRed) << "tick " << timer.TickCount();
    }
}

INSTANTIATE_TEST_SUITE_P(AllRates, LedBlink,
                         ::testing::Values(BlinkCase{ff8Hz, 4}, BlinkCase{ff4Hz, 8}, BlinkCase{ff2Hz, 16},
                                           BlinkCase{ff1Hz, 32}, BlinkCase{ff05Hz, 64}),
                         [](const auto &info) { return FrequencyName(info.param.f); });

TEST_F(LedFixture, DarkeningStopsTheBlinkAndRelightingResumesIt)
{
    auto led = makeLed();
    led->SetColorOff(kRed);
    led->SetFrequency(ff4Hz);
    led->SetFlashing(true);
    led->SetChecked(true);
    Beat(8); // phase at tick 8 of the 4 Hz rate is "on"; at 16 it is "off"
    Beat(8);
    ASSERT_EQ(led->ShownColor(), kRed);

    led->SetChecked(false);
    EXPECT_FALSE(timer.IsRegistered(led.get()));
    for (int i = 0; i < 40; ++i) {
        Beat();
        ASSERT_EQ(led->ShownColor(), kRed);
    }
    EXPECT_TRUE(led->Flashing()) << "darkening keeps the flashing setting";

    led->SetChecked(true);
    EXPECT_EQ(led->ShownColor(), kLime) << "lit at once, not in the phase it was darkened in";
    EXPECT_TRUE(timer.IsRegistered(led.get()));
    int changes = 0;
    QColor last = led->ShownColor();
    for (int i = 0; i < 32; ++i) {
        Beat();
        changes += led->ShownColor() != last;
        last = led->ShownColor();
    }
    EXPECT_GE(changes, 3);

    // Stopping the flashing while lit returns to the steady lit colour.
    led->SetFlashing(false);
    EXPECT_EQ(led->ShownColor(), kLime);
    EXPECT_FALSE(timer.IsRegistered(led.get()));
}

TEST_F(LedFixture, LedsStartedAtDifferentTimesBlinkTogether)
{
    auto a = makeLed(), b = makeLed();
    for (auto *l : {a.get(), b.get()}) {
        l->SetColorOff(kRed);
        l->SetFrequency(ff4Hz);
        l->SetFlashing(true);
    }
    a->SetChecked(true);
    Beat(5);
    b->SetChecked(true);
    for (int i = 0; i < 64; ++i) {
        Beat();
        ASSERT_EQ(a->ShownColor(), b->ShownColor()) << "tick " << timer.TickCount();
    }
}

TEST_F(LedFixture, NewFrequencyTakesEffectWhileBlinking)
{
    auto led = makeLed();
    led->SetColorOff(kRed);
    led->SetFlashing(true);
    led->SetChecked(true);
    led->SetFrequency(ff8Hz);
    for (int i = 0; i < 16; ++i) {
        Beat();
        ASSERT_EQ(led->ShownColor() == kLime, TFlashTimer::PhaseAt(timer.TickCount(), ff8Hz));
    }
}

TEST_F(LedFixture, StatusChangedOnlyForRealChangesAndNeverAClick)
{
    auto led = makeLed();
    Counter status(led.get(), &TBinGControl::OnStatusChanged);
    Counter clicks(led.get(), &TBinGControl::OnClick);
    struct Step {
        bool checked;
        int statusAfter;
    };
    const Step steps[] = {{false, 0}, {true, 1}, {true, 1}, {false, 2}, {false, 2}};
    for (const Step &s : steps) {
        led->SetChecked(s.checked);
        EXPECT_EQ(status.n, s.statusAfter);
    }
    led->SetFlashing(true);
    led->SetFlashing(true);
    EXPECT_EQ(status.n, 3);
    EXPECT_EQ(clicks.n, 0);
}

TEST_F(LedFixture, DestroyedLedLeavesTheTimer)
{
    auto led = makeLed();
    led->SetFlashing(true);
    led->SetChecked(true);
    ASSERT_EQ(timer.ClientCount(), 1);
    led.reset();
    EXPECT_EQ(timer.ClientCount(), 0);
    Beat(70); // would crash on a dangling client
}

TEST_F(LedFixture, LampSizeAcceptsFourToForty)
{
    struct SizeCase {
        int requested;
        int expected;
    };
    const SizeCase cases[] = {{3, 13}, {4, 4}, {40, 40}, {41, 13}, {0, 13}, {-5, 13}, {20, 20}};
    for (const SizeCase &c : cases) {
        TLED lamp;
        lamp.SetWidth(c.requested);
        lamp.SetHeight(c.requested);
        EXPECT_EQ(lamp.Width(), c.expected) << c.requested;
        EXPECT_EQ(lamp.Height(), c.expected) << c.requested;
    }
}

TEST_F(LedFixture, CaptionSitsOnTheChosenSideOfTheLamp)
{
    auto led = makeLed(QStringLiteral("Rezerwa"));
    led->resize(led->sizeHint() + QSize(20, 20));
    struct PosCase {
        TLedPosition pos;
        bool captionRight, captionLeft, captionBelow, captionAbove;
    };
    const PosCase cases[] = {
        {lpLeft, true, false, false, false},
        {lpRight, false, true, false, false},
        {lpTop, false, false, true, false},
        {lpBottom, false, false, false, true},
    };
    for (const PosCase &c : cases) {
        led->SetLED_Position(c.pos);
        led->resize(led->sizeHint() + QSize(10, 10));
        const QRect lamp = led->LampRect(), cap = led->CaptionRect();
        EXPECT_EQ(lamp.size(), QSize(13, 13));
        EXPECT_TRUE(led->rect().contains(lamp)) << c.pos;
        EXPECT_EQ(cap.left() >= lamp.right() + 1 + 5, c.captionRight) << c.pos;
        EXPECT_EQ(cap.right() <= lamp.left() - 1 - 5, c.captionLeft) << c.pos;
        EXPECT_EQ(cap.top() >= lamp.bottom() + 1 + 5, c.captionBelow) << c.pos;
        EXPECT_EQ(cap.bottom() <= lamp.top() - 1 - 5, c.captionAbove) << c.pos;
    }
}

struct ModeCase {
    TBinMode mode;
    bool checkedWhileHeld;
    bool checkedAfterClick;
};

std::string ModeName(TBinMode m)
{
    switch (m) {
    case mButton: return "button";
    case mSwitch: return "switch";
    case mIndicator: return "indicator";
    case mRadioButton: return "radioButton";
    }
    return "mode" + std::to_string(int(m));
}

void PrintTo(const ModeCase &c, std::ostream *os)
{
    *os << ModeName(c.mode) << (c.checkedWhileHeld ? ", on while held" : ", off while held")
        << (c.checkedAfterClick ? ", on after the click" : ", off after the click");
}

class LedMouse : public LedFixture, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(LedMouse, LeftClickByModeAlwaysRaisesOnClick)
{
    const ModeCase c = GetParam();
    auto led = makeLed();
    led->resize(60, 20);
    led->SetMode(c.mode);
    Counter clicks(led.get(), &TBinGControl::OnClick);
    press(led.get(), QPoint(6, 10));
    EXPECT_EQ(led->Checked(), c.checkedWhileHeld);
    EXPECT_EQ(clicks.n, 0);
    release(led.get(), QPoint(6, 10));
    EXPECT_EQ(led->Checked(), c.checkedAfterClick);
    EXPECT_EQ(clicks.n, 1);

    // The right button neither clicks nor changes anything.
    click(led.get(), QPoint(6, 10), Qt::RightButton);
    EXPECT_EQ(led->Checked(), c.checkedAfterClick);
    EXPECT_EQ(clicks.n, 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, LedMouse,
                         ::testing::Values(ModeCase{mIndicator, false, false}, ModeCase{mButton, true, false},
                                           ModeCase{mSwitch, true, true}, ModeCase{mRadioButton, true, true}),
                         [](const auto &info) { return ModeName(info.param.mode); });

TEST_F(LedFixture, UserChangeIsToldApartFromProgramChange)
{
    auto led = makeLed();
    led->resize(60, 20);
    led->SetMode(mSwitch);
    std::vector<bool> byUser;
    QObject::connect(led.get(), &TBinGControl::OnStatusChanged, [&] { byUser.push_back(led->ChangedByUser()); });
    led->SetChecked(true);
    click(led.get(), QPoint(6, 10));
    led->SetChecked(true);
    EXPECT_EQ(byUser, (std::vector<bool>{false, true, false}));
}

TEST_F(LedFixture, DisabledLedCannotBeClicked)
{
    auto led = makeLed();
    led->resize(60, 20);
    Counter clicks(led.get(), &TBinGControl::OnClick);
    led->setEnabled(false);
    click(led.get(), QPoint(6, 10));
    EXPECT_EQ(clicks.n, 0);
    led->setEnabled(true);
    click(led.get(), QPoint(6, 10));
    EXPECT_EQ(clicks.n, 1);
}

TEST_F(LedFixture, ScreenReadersSeeCaptionAndState)
{
    auto led = makeLed(QStringLiteral("3"));
    QAccessibleInterface *ai = QAccessible::queryAccessibleInterface(led.get());
    ASSERT_NE(ai, nullptr);
    EXPECT_EQ(ai->text(QAccessible::Name), QStringLiteral("3"));
    EXPECT_TRUE(ai->state().checkable);
    EXPECT_FALSE(ai->state().checked);
    EXPECT_EQ(ai->text(QAccessible::Value), QStringLiteral("off"));
    led->SetChecked(true);
    EXPECT_TRUE(ai->state().checked);
    EXPECT_EQ(ai->text(QAccessible::Value), QStringLiteral("on"));
    led->SetFlashing(true);
    EXPECT_EQ(ai->text(QAccessible::Value), QStringLiteral("on, flashing"));
}

} // namespace
