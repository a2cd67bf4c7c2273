// Every way a hand changes a control's value ends in exactly one report of the
// finished change (the report the settings handlers send from), or is not
// available on that control at all.
#include "widgets/TDial.h"
#include "widgets/TPickOnlyGuard.h"
#include "widgets/TSpinButton.h"
#include "widgets/TVSlider.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A wheel pause the test ends by hand.
class HandTimer : public TQuietTimer
{
public:
    void Restart() override
    {
        m_pending = true;
        ++restarts;
    }
    void Stop() override { m_pending = false; }
    bool Pending() const override { return m_pending; }
    void Fire()
    {
        if (!m_pending)
            return;
        m_pending = false;
        OnQuiet();
    }
    int restarts = 0;

private:
    bool m_pending = false;
};

void focus(QWidget &w)
{
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    w.setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

void keyPress(QWidget &w, int k, bool autoRepeat = false)
{
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&w, &e);
}

void keyRelease(QWidget &w, int k, bool autoRepeat = false)
{
    QKeyEvent e(QEvent::KeyRelease, k, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&w, &e);
}

void mouse(QWidget &w, QEvent::Type type, const QPointF &pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent e(type, pos, w.mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

bool wheel(QWidget &w, int delta)
{
    const QPointF pos(w.width() / 2.0, w.height() / 2.0);
    QWheelEvent e(pos, w.mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(&w, &e);
    return e.isAccepted();
}

enum class Kind { Dial, Slider };

// A dial or slider over 0..100 in 100 positions, shown, focused, with a hand-run wheel pause.
struct Control {
    std::unique_ptr<TAnalogCControl> c;
    HandTimer *pause = nullptr;
    int reports = 0;
    QList<float> reported;

    explicit Control(Kind kind)
    {
        if (kind == Kind::Dial)
            c = std::make_unique<TDial>();
        else
            c = std::make_unique<TVSlider>();
        c->SignalSettings().SetValueTo(100);
        c->SignalSettings().SetDigitalTo(100);
        c->resize(140, 170);
        auto timer = std::make_unique<HandTimer>();
        pause = timer.get();
        c->SetWheelTimer(std::move(timer));
        c->SetValue(50);
        focus(*c);
        // A value set by the program arms the first release; start from a reported, quiet control.
        c->SetValueByUser(50);
        QObject::connect(c.get(), &TAnalogCControl::OnValueChanged, [this] {
            ++reports;
            reported << c->Value();
        });
    }
};

struct Gesture {
    const char *name;
    // The hand's change up to its last step, then what ends it.
    std::function<void(Control &)> begin;
    std::function<void(Control &)> end;
};

const Gesture gestures[] = {
    {"WheelTurnOfThreeNotches",
     [](Control &k) {
         for (int i = 0; i < 3; ++i)
             wheel(*k.c, 120);
     },
     [](Control &k) { k.pause->Fire(); }},
    {"WheelTurnInHalfNotches",
     [](Control &k) {
         for (int i = 0; i < 5; ++i)
             wheel(*k.c, -60);
     },
     [](Control &k) { k.pause->Fire(); }},
    {"ArrowKeyHeld",
     [](Control &k) {
         keyPress(*k.c, Qt::Key_Up);
         keyPress(*k.c, Qt::Key_Up, true);
         keyRelease(*k.c, Qt::Key_Up, true);
         keyPress(*k.c, Qt::Key_Up, true);
     },
     [](Control &k) { keyRelease(*k.c, Qt::Key_Up); }},
    {"PageKeyPressed",
     [](Control &k) { keyPress(*k.c, Qt::Key_PageDown); },
     [](Control &k) { keyRelease(*k.c, Qt::Key_PageDown); }},
    {"HomeKeyPressed",
     [](Control &k) { keyPress(*k.c, Qt::Key_Home); },
     [](Control &k) { keyRelease(*k.c, Qt::Key_Home); }},
    {"Drag",
     [](Control &k) {
         auto *dial = qobject_cast<TDial *>(k.c.get());
         const QPointF start = dial ? dial->KnobCentre() + QPointF(0, -dial->KnobRadius() * 0.8)
                                    : static_cast<TVSlider *>(k.c.get())->TrackRect().center();
         mouse(*k.c, QEvent::MouseButtonPress, start);
         mouse(*k.c, QEvent::MouseMove, start + QPointF(15, 8));
         mouse(*k.c, QEvent::MouseMove, start + QPointF(30, 30));
     },
     [](Control &k) { mouse(*k.c, QEvent::MouseButtonRelease, QPointF(1, 1)); }},
    {"AssistiveTechnologySetsAValue",
     [](Control &) {},
     [](Control &k) { QAccessible::queryAccessibleInterface(k.c.get())->valueInterface()->setCurrentValue(73.0); }},
};

struct HandCase {
    Kind kind;
    const Gesture *gesture;
};

class HandChange : public ::testing::TestWithParam<HandCase>
{
};

TEST_P(HandChange, IsReportedOnceWhenItEndsWithTheValueShown)
{
    Control k(GetParam().kind);
    const Gesture &g = *GetParam().gesture;
    g.begin(k);
    EXPECT_EQ(k.reports, 0) << "reported before the change was over";
    g.end(k);
    ASSERT_EQ(k.reports, 1);
    EXPECT_NE(k.c->Value(), 50.0f) << "the gesture moved nothing";
    EXPECT_EQ(k.reported.front(), k.c->Value());
    // Nothing more comes afterwards: not from a late wheel pause, not from the next release.
    k.pause->Fire();
    keyRelease(*k.c, Qt::Key_Shift);
    EXPECT_EQ(k.reports, 1);
}

std::vector<HandCase> handCases()
{
    std::vector<HandCase> out;
    for (Kind kind : {Kind::Dial, Kind::Slider})
        for (const Gesture &g : gestures)
            out.push_back({kind, &g});
    return out;
}

INSTANTIATE_TEST_SUITE_P(Controls, HandChange, ::testing::ValuesIn(handCases()),
                         [](const ::testing::TestParamInfo<HandCase> &info) {
                             return std::string(info.param.kind == Kind::Dial ? "Dial_" : "Slider_")
                                    + info.param.gesture->name;
                         });

TEST(WheelTurn, EveryNotchPushesTheEndOutAndARelease)
{
    Control k(Kind::Dial);
    wheel(*k.c, 120);
    wheel(*k.c, 120);
    EXPECT_EQ(k.pause->restarts, 2);
    EXPECT_TRUE(k.pause->Pending());
    // A part of a notch moves nothing and does not lengthen the turn.
    wheel(*k.c, 30);
    EXPECT_EQ(k.pause->restarts, 2);
    // A key let go during the pause ends the turn at once; the pause then reports nothing more.
    keyRelease(*k.c, Qt::Key_Shift);
    EXPECT_EQ(k.reports, 1);
    EXPECT_FALSE(k.pause->Pending());
    k.pause->Fire();
    EXPECT_EQ(k.reports, 1);
    EXPECT_EQ(k.reported.front(), 52.0f);
}

TEST(WheelTurn, AtTheEndOfTheScaleNothingNewIsReported)
{
    Control k(Kind::Slider);
    k.c->SetValueByUser(100);
    const int before = k.reports;
    wheel(*k.c, 120);
    k.pause->Fire();
    EXPECT_EQ(k.reports, before);
    // After the program set a value, the first finished turn reports the value shown, as a release does.
    k.c->SetValue(30);
    wheel(*k.c, -120);
    wheel(*k.c, 120);
    k.pause->Fire();
    EXPECT_EQ(k.reports, before + 1);
    EXPECT_EQ(k.reported.back(), 30.0f);
}

// The control's own timer, on the event loop: the turn is reported once, after the pause.
TEST(WheelTurn, TheControlsOwnPauseEndsTheTurn)
{
    TDial d;
    d.SignalSettings().SetValueTo(100);
    d.SignalSettings().SetDigitalTo(100);
    d.SetValueByUser(40);
    int reports = 0;
    QEventLoop loop;
    QObject::connect(&d, &TAnalogCControl::OnValueChanged, [&] {
        ++reports;
        loop.quit();
    });
    d.resize(120, 140);
    wheel(d, 120);
    wheel(d, 120);
    wheel(d, 120);
    EXPECT_EQ(reports, 0);
    EXPECT_TRUE(d.WheelTimer().Pending());
    QTimer::singleShot(TAnalogCControl::WheelPauseMs * 10, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(d.Value(), 43.0f);
    EXPECT_FALSE(d.WheelTimer().Pending());
}

// Drop-down lists: Qt steps a closed list per wheel notch and per cursor key and reports each step as a
// pick; with the guard the wheel and the repeats of a held key are off. A wheel event left unaccepted is
// what Qt hands on to the parent (for events from the window system; the test's own are not passed on).
struct GuardedList {
    QWidget page;
    QComboBox *combo;
    int picks = 0;
    GuardedList()
    {
        combo = new QComboBox(&page);
        combo->setObjectName(QStringLiteral("Sel_cyl"));
        combo->addItems({QStringLiteral("3 cyl."), QStringLiteral("4 cyl."), QStringLiteral("5 cyl."),
                         QStringLiteral("6 cyl."), QStringLiteral("8 cyl.")});
        combo->setCurrentIndex(1);
        TPickOnlyGuard::Install(combo);
        QObject::connect(combo, &QComboBox::activated, [this] { ++picks; });
        page.resize(200, 100);
        combo->setGeometry(10, 10, 150, 30);
        page.show();
        page.activateWindow();
        QApplication::setActiveWindow(&page);
        combo->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
};

TEST(DropDownList, WheelOverAClosedListIsLeftForThePage)
{
    GuardedList l;
    EXPECT_FALSE(wheel(*l.combo, -120));
    EXPECT_FALSE(wheel(*l.combo, -120));
    EXPECT_FALSE(wheel(*l.combo, 120));
    EXPECT_EQ(l.combo->currentIndex(), 1);
    EXPECT_EQ(l.picks, 0);
}

// A key press is one pick; holding the key does not run down the list sending a command per repeat.
TEST(DropDownList, AKeyPressIsOnePickAndAHeldKeyDoesNotRepeat)
{
    GuardedList l;
    keyPress(*l.combo, Qt::Key_Down);
    for (int i = 0; i < 5; ++i)
        keyPress(*l.combo, Qt::Key_Down, true);
    keyRelease(*l.combo, Qt::Key_Down);
    EXPECT_EQ(l.combo->currentIndex(), 2);
    EXPECT_EQ(l.picks, 1);
    for (int i = 0; i < 3; ++i)
        keyPress(*l.combo, Qt::Key_PageDown, true);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_6, Qt::NoModifier, QStringLiteral("6"), true);
    QApplication::sendEvent(l.combo, &letter);
    EXPECT_EQ(l.combo->currentIndex(), 2);
    EXPECT_EQ(l.picks, 1);
}

TEST(DropDownList, APickInTheOpenedListIsOneChange)
{
    GuardedList l;
    keyPress(*l.combo, Qt::Key_Space);
    ASSERT_TRUE(l.combo->view()->isVisible()) << "Space opens the list";
    QAbstractItemView *view = l.combo->view();
    view->setCurrentIndex(view->model()->index(3, 0));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(view, &enter);
    EXPECT_EQ(l.combo->currentIndex(), 3);
    EXPECT_EQ(l.picks, 1);
}

// The map's spin button steps by clicks and arrow keys only, each click being one step sent; the wheel
// does nothing on it.
TEST(SpinButton, TheWheelIsNotAWayToStepIt)
{
    TSpinButton s;
    int clicks = 0;
    QObject::connect(&s, &TSpinButton::OnUpClick, [&] { ++clicks; });
    QObject::connect(&s, &TSpinButton::OnDownClick, [&] { ++clicks; });
    s.show();
    wheel(s, 120);
    wheel(s, -120);
    EXPECT_EQ(clicks, 0);
}

} // namespace
