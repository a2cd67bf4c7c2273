#include "widgets/TDial.h"
#include "widgets/TVSlider.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct CLocale : ::testing::Environment {
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
};
const auto *const cLocale = ::testing::AddGlobalTestEnvironment(new CLocale);

struct Counts {
    int change = 0;
    int changed = 0;
    explicit Counts(TAnalogCControl &c)
    {
        QObject::connect(&c, &TAnalogCControl::OnValueChange, [this] { ++change; });
        QObject::connect(&c, &TAnalogCControl::OnValueChanged, [this] { ++changed; });
    }
};

void configure(TAnalogCControl &c, float from, float to, int dFrom, int dTo)
{
    // Upper ends first, so a lower end equal to the old upper one is not refused.
    c.SignalSettings().SetValueTo(to);
    c.SignalSettings().SetDigitalTo(dTo);
    c.SignalSettings().SetValueFrom(from);
    c.SignalSettings().SetDigitalFrom(dFrom);
}

// The control in a shown, active window with the keyboard focus, as the user meets it.
void focus(QWidget &w)
{
    w.show();
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    w.setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}

void key(QWidget &w, int k, bool autoRepeat = false)
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&w, &release);
}

void mouse(QWidget &w, QEvent::Type type, const QPointF &pos, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent e(type, pos, w.mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

void click(QWidget &w, const QPointF &pos, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(w, QEvent::MouseButtonPress, pos, button);
    mouse(w, QEvent::MouseButtonRelease, pos, button);
}

void wheel(QWidget &w, int delta)
{
    const QPointF pos(w.width() / 2.0, w.height() / 2.0);
    QWheelEvent e(pos, w.mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(&w, &e);
}

// Point on the dial at a mouse angle (degrees counter-clockwise from 3 o'clock).
QPointF onDial(const TDial &d, double degrees)
{
    const double a = degrees * 3.14159265358979323846 / 180.0;
    const qreal r = d.KnobRadius() * 0.6;
    return d.KnobCentre() + QPointF(r * std::cos(a), -r * std::sin(a));
}

} // namespace

TEST(InputControl, ValuesSnapToTheGridAndClampToTheScale)
{
    struct Case { float from; float to; int dFrom; int dTo; float value; float shown; int digit; };
    const Case cases[] = {
        {300, 6000, 3, 60, 1234, 1200, 12},
        {300, 6000, 3, 60, 1250, 1200, 12}, // position 12.5 -> 12
        {300, 6000, 3, 60, 1350, 1400, 14}, // 13.5 -> 14
        {300, 6000, 3, 60, 7000, 6000, 60}, // above the scale: its upper end
        {300, 6000, 3, 60, 100, 300, 3},
        {0, 12000, 0, 120, 2549, 2500, 25},
        {0, 1450, 0, 1450, 777.4f, 777, 777},
        {2, 60, 2, 60, 7.5f, 8, 8},
        {0, 5, 0, 500, 0.71f, 0.71f, 71},
    };
    for (const Case &c : cases) {
        TDial d;
        configure(d, c.from, c.to, c.dFrom, c.dTo);
        d.SetValue(c.value);
        EXPECT_EQ(d.Digit(), c.digit) << c.value;
        EXPECT_NEAR(d.Value(), c.shown, std::abs(c.shown) * 1e-6) << c.value;
    }

    // A step that does not divide evenly: 0.40..2.50 over 40..255.
    TVSlider s;
    configure(s, 0.4f, 2.5f, 40, 255);
    s.SetValue(1.0f);
    EXPECT_EQ(s.Digit(), 101);
    EXPECT_NEAR(s.Value(), 61 * 2.1 / 215 + 0.4, 1e-6);
    EXPECT_EQ(s.ValueText(), "1.0");

    // A value exactly at the upper end shows the upper end, with no rounding drift.
    TVSlider top;
    configure(top, 0.4f, 2.5f, 40, 255);
    top.SetValue(9.0f);
    EXPECT_EQ(top.Value(), 2.5f);
    EXPECT_EQ(top.Digit(), 255);
}

TEST(InputControl, SetDigitLimitsAndReportsEveryChange)
{
    TVSlider s;
    configure(s, 0, 100, 0, 100);
    Counts n(s);
    struct Step { int digit; int expected; int changes; };
    const Step steps[] = {{40, 40, 1}, {40, 40, 1}, {150, 100, 2}, {-3, 0, 3}, {0, 0, 3}};
    for (const Step &st : steps) {
        s.SetDigit(st.digit);
        EXPECT_EQ(s.Digit(), st.expected) << st.digit;
        EXPECT_EQ(s.Value(), float(st.expected)) << st.digit;
        EXPECT_EQ(n.change, st.changes) << st.digit;
    }
    EXPECT_EQ(n.changed, 0);
    EXPECT_TRUE(s.ChangedMark());
}

TEST(InputControl, LoadingSetsTheMarkButStaysSilent)
{
    TDial d;
    configure(d, 300, 6000, 3, 60);
    Counts n(d);
    d.SetLoading(true);
    d.SetValue(2500);
    d.SetLoading(false);
    EXPECT_EQ(d.Value(), 2500.0f);
    EXPECT_EQ(n.change, 0);
    EXPECT_TRUE(d.ChangedMark());
}

TEST(InputControl, KeysStepClampAndHonourTheKeySet)
{
    struct Case { int key; int start; int expected; };
    const Case cases[] = {
        {Qt::Key_PageUp, 30, 40},   {Qt::Key_PageDown, 30, 20}, {Qt::Key_End, 30, 100},
        {Qt::Key_Home, 30, 0},      {Qt::Key_Left, 30, 29},     {Qt::Key_Down, 30, 29},
        {Qt::Key_Up, 30, 31},       {Qt::Key_Right, 30, 31},    {Qt::Key_PageUp, 95, 100},
        {Qt::Key_PageDown, 4, 0},   {Qt::Key_Up, 100, 100},     {Qt::Key_A, 30, 30},
    };
    TDial d;
    configure(d, 0, 100, 0, 100);
    focus(d);
    ASSERT_TRUE(d.hasFocus());
    for (const Case &c : cases) {
        d.SetDigit(c.start);
        key(d, c.key);
        EXPECT_EQ(d.Digit(), c.expected) << "key " << c.key << " from " << c.start;
    }

    // Only the Up and Down keys, as on the level-sensor slider.
    TVSlider s;
    configure(s, 0, 5, 0, 500);
    s.SetEnabledKeys(_VK_UP | _VK_DOWN);
    focus(s);
    s.SetDigit(70);
    for (int k : {Qt::Key_PageUp, Qt::Key_End, Qt::Key_Right, Qt::Key_Home})
        key(s, k);
    EXPECT_EQ(s.Digit(), 70);
    key(s, Qt::Key_Up);
    EXPECT_EQ(s.Digit(), 71);
    EXPECT_FLOAT_EQ(s.Value(), 0.71f);

    // With keyboard operation off nothing moves.
    s.SetKeyboardEnabled(false);
    key(s, Qt::Key_Up);
    EXPECT_EQ(s.Digit(), 71);
}

TEST(InputControl, KeysNeedTheFocus)
{
    TDial d;
    configure(d, 0, 100, 0, 100);
    d.SetDigit(10);
    key(d, Qt::Key_Up);
    EXPECT_EQ(d.Digit(), 10);
}

TEST(InputControl, WheelNotchesMoveBySmallSteps)
{
    TDial d;
    configure(d, 0, 100, 0, 100);
    d.SetChangeSmall(5);
    d.SetDigit(50);
    struct Step { int delta; int expected; };
    const Step steps[] = {{120, 55}, {-120, 50}, {-240, 40}, {60, 40}, {60, 45}, {1200, 95}, {240, 100}};
    for (const Step &st : steps) {
        wheel(d, st.delta);
        EXPECT_EQ(d.Digit(), st.expected) << st.delta;
    }
}

TEST(ChangedMark, FirstReleaseAfterAProgramSetReportsOnce)
{
    TDial d;
    configure(d, 300, 6000, 3, 60);
    d.resize(120, 130);
    focus(d);
    Counts n(d);
    d.SetValue(2500);
    EXPECT_EQ(n.change, 1);
    EXPECT_EQ(n.changed, 0);

    click(d, d.KnobCentre());
    EXPECT_EQ(n.changed, 1);
    EXPECT_EQ(d.Value(), 2500.0f);
    click(d, d.KnobCentre());
    EXPECT_EQ(n.changed, 1);

    // The same through a key release: a key that moves nothing still ends the change.
    d.SetValue(3000);
    key(d, Qt::Key_Shift);
    EXPECT_EQ(n.changed, 2);
    key(d, Qt::Key_Shift);
    EXPECT_EQ(n.changed, 2);

    // A held key repeats presses; one report when it is let go.
    for (int i = 0; i < 3; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), i > 0);
        QApplication::sendEvent(&d, &press);
        if (i < 2) {
            QKeyEvent rel(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(&d, &rel);
        }
    }
    EXPECT_EQ(n.changed, 2);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&d, &release);
    EXPECT_EQ(n.changed, 3);
    EXPECT_EQ(d.Value(), 3300.0f);

    // The right button takes the focus but its release reports nothing.
    d.SetValue(1000);
    click(d, d.KnobCentre(), Qt::RightButton);
    EXPECT_EQ(n.changed, 3);
}

TEST(Dragging, DialTurnsWithTheMouseAroundItsCentre)
{
    // One position per degree of the 270-degree scale.
    TDial d;
    configure(d, 0, 270, 0, 270);
    d.resize(140, 160);
    focus(d);
    Counts n(d);
    d.SetDigit(0); // pointer at 225 degrees
    n.change = 0;

    // Mouse angles are counter-clockwise; turning clockwise raises the value.
    mouse(d, QEvent::MouseButtonPress, onDial(d, 100));
    struct Move { double angle; int digit; };
    const Move moves[] = {
        {100, 0},  // no move yet
        {70, 30},
        {10, 90},
        {350, 110}, // across the 0/360 line, clockwise by 20
        {20, 80},   // and back across it
        {200, 0},   // beyond the start: held at 0
        {190, 10},  // turning back at once moves off the stop
        {100, 100},
    };
    for (const Move &m : moves) {
        mouse(d, QEvent::MouseMove, onDial(d, m.angle));
        EXPECT_EQ(d.Digit(), m.digit) << "mouse at " << m.angle;
    }
    mouse(d, QEvent::MouseButtonRelease, onDial(d, 100));
    EXPECT_EQ(n.changed, 1);
    EXPECT_GT(n.change, 0);

    // Turning far past the end holds the pointer at 270.
    mouse(d, QEvent::MouseButtonPress, onDial(d, 90));
    for (double a = 80; a >= -300; a -= 10)
        mouse(d, QEvent::MouseMove, onDial(d, std::fmod(a + 720.0, 360.0)));
    EXPECT_EQ(d.Digit(), 270);
    mouse(d, QEvent::MouseButtonRelease, onDial(d, 0));

    // Moves without a left press on the face do nothing.
    mouse(d, QEvent::MouseMove, onDial(d, 200));
    EXPECT_EQ(d.Digit(), 270);
}

TEST(Dragging, DialOnACoarseScaleRoundsThePointerAngle)
{
    TDial d;
    configure(d, 300, 6000, 3, 60);
    d.resize(140, 160);
    focus(d);
    d.SetValue(300);
    mouse(d, QEvent::MouseButtonPress, onDial(d, 90));
    // 57 positions over 270 degrees: 135 degrees is position 28.5 + 3 -> 32 (ties... 28.5002 rounds up).
    mouse(d, QEvent::MouseMove, onDial(d, 90 - 135));
    EXPECT_EQ(d.Digit(), 32);
    EXPECT_EQ(d.Value(), 3200.0f);
    mouse(d, QEvent::MouseButtonRelease, onDial(d, 90 - 135));
}

TEST(Dragging, SliderFollowsTheMouseWithinItsTrack)
{
    TVSlider s;
    configure(s, 0, 100, 0, 100);
    s.resize(64, 200);
    focus(s);
    s.SetDigit(50);
    Counts n(s);
    const QRectF t = s.TrackRect();
    const qreal x = t.center().x();

    mouse(s, QEvent::MouseButtonPress, QPointF(x, s.ThumbY()));
    struct Move { qreal y; int digit; };
    const Move moves[] = {
        {t.top(), 100},
        {t.top() - 40, 100},
        {t.bottom(), 0},
        {t.bottom() + 40, 0},
        {t.bottom() - t.height() / 4, 25},
        {t.bottom() - t.height() * 0.505, 50}, // 50.5 -> 50
        {t.bottom() - t.height() * 0.515, 52}, // 51.5 -> 52
    };
    for (const Move &m : moves) {
        mouse(s, QEvent::MouseMove, QPointF(x, m.y));
        EXPECT_EQ(s.Digit(), m.digit) << m.y;
    }
    mouse(s, QEvent::MouseButtonRelease, QPointF(x, t.top()));
    EXPECT_EQ(n.changed, 1);

    // A press beside the track takes the focus but does not drag.
    s.SetDigit(10);
    mouse(s, QEvent::MouseButtonPress, QPointF(2, t.center().y()));
    mouse(s, QEvent::MouseMove, QPointF(2, t.top()));
    EXPECT_EQ(s.Digit(), 10);
    mouse(s, QEvent::MouseButtonRelease, QPointF(2, t.top()));
}

TEST(InputControl, ScaleChangeRemapsWithoutChangingTheValue)
{
    TDial d;
    configure(d, 0, 100, 0, 100);
    d.SetValue(40);
    Counts n(d);
    d.SignalSettings().SetDigitalTo(200);
    EXPECT_EQ(d.Value(), 40.0f);
    EXPECT_EQ(d.Digit(), 80);
    EXPECT_EQ(n.change, 0);

    // A value the new scale cannot show moves to its nearest end.
    TDial fresh;
    configure(fresh, 300, 6000, 3, 60);
    EXPECT_EQ(fresh.Value(), 300.0f);
    EXPECT_EQ(fresh.Digit(), 3);
}

TEST(Accessibility, InputControlsReportAndTakeValues)
{
    TDial d;
    d.setObjectName("RPM_Prog_przel");
    configure(d, 300, 6000, 3, 60);
    d.SignalSettings().SetValueFormat("###0");
    d.SignalSettings().SetValueUnit("rpm");
    d.SetValue(2500);
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&d);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Dial);
    EXPECT_EQ(a->text(QAccessible::Name), "RPM_Prog_przel");
    EXPECT_EQ(a->text(QAccessible::Value), "2500 rpm");
    ASSERT_NE(a->valueInterface(), nullptr);
    a->valueInterface()->setCurrentValue(1234.0);
    EXPECT_EQ(d.Value(), 1200.0f);
    EXPECT_DOUBLE_EQ(a->valueInterface()->minimumStepSize().toDouble(), 100.0);

    TVSlider s;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&s)->role(), QAccessible::Slider);
}
