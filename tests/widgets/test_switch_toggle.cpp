#include "widgets/TToggleSwitch.h"

#include "tests/widgets/test_flash_support.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

const QColor kLime(0x00, 0xFF, 0x00);
const QColor kRed(0xFF, 0x00, 0x00);

TEST(ToggleSwitch, Defaults)
{
    TToggleSwitch sw;
    EXPECT_EQ(sw.Mode(), mSwitch);
    EXPECT_EQ(sw.size(), QSize(57, 25));
    EXPECT_EQ(sw.sizeHint(), QSize(57, 25));
    EXPECT_EQ(sw.Orientation(), boHorizontal);
    EXPECT_FALSE(sw.SwapGraphic());
    EXPECT_EQ(sw.TextOn(), QStringLiteral("1"));
    EXPECT_EQ(sw.TextOff(), QStringLiteral("0"));
    EXPECT_EQ(sw.ColorOn(), kLime);
    EXPECT_EQ(sw.ColorOff(), kRed);
    EXPECT_FALSE(sw.Checked());
}

struct HalfCase {
    TBinOrientation orientation;
    bool swap;
    bool checkedBefore;
    bool pressFirstHalf; // left or upper half
    bool toggles;
};

std::string HalfName(const HalfCase &c)
{
    return std::string(c.orientation == boHorizontal ? "horizontal" : "vertical") + (c.swap ? "Swapped" : "")
           + (c.checkedBefore ? "_on" : "_off") + (c.pressFirstHalf ? "_firstHalf" : "_secondHalf");
}

void PrintTo(const HalfCase &c, std::ostream *os)
{
    *os << HalfName(c) << (c.toggles ? ", toggles" : ", stays");
}

class SwitchHalves : public ::testing::TestWithParam<HalfCase> {};

TEST_P(SwitchHalves, OnlyTheFreeHalfThrowsTheSwitch)
{
    const HalfCase c = GetParam();
    TToggleSwitch sw;
    sw.SetOrientation(c.orientation);
    sw.SetSwapGraphic(c.swap);
    sw.SetChecked(c.checkedBefore);
    const QSize s = sw.size();
    const QPointF first = c.orientation == boHorizontal ? QPointF(s.width() * 0.25, s.height() / 2.0)
                                                        : QPointF(s.width() / 2.0, s.height() * 0.25);
    const QPointF second = c.orientation == boHorizontal ? QPointF(s.width() * 0.75, s.height() / 2.0)
                                                         : QPointF(s.width() / 2.0, s.height() * 0.75);
    // The knob is never in the half that throws the switch.
    EXPECT_EQ(sw.KnobInFirstHalf(), !(c.toggles ? c.pressFirstHalf : !c.pressFirstHalf));

    Counter clicks(&sw, &TBinGControl::OnClick);
    Counter status(&sw, &TBinGControl::OnStatusChanged);
    click(&sw, c.pressFirstHalf ? first : second);
    EXPECT_EQ(sw.Checked(), c.toggles ? !c.checkedBefore : c.checkedBefore);
    EXPECT_EQ(status.n, c.toggles ? 1 : 0);
    EXPECT_EQ(clicks.n, 1) << "a click is reported either way";
    if (c.toggles) {
        // The knob has moved to the half that was pressed.
        EXPECT_EQ(sw.KnobInFirstHalf(), c.pressFirstHalf);
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllCombinations, SwitchHalves,
    ::testing::Values(
        // Horizontal: toggles on the left half while off, on the right half while on.
        HalfCase{boHorizontal, false, false, true, true}, HalfCase{boHorizontal, false, false, false, false},
        HalfCase{boHorizontal, false, true, false, true}, HalfCase{boHorizontal, false, true, true, false},
        // Vertical: upper half while off, lower half while on.
        HalfCase{boVertical, false, false, true, true}, HalfCase{boVertical, false, false, false, false},
        HalfCase{boVertical, false, true, false, true}, HalfCase{boVertical, false, true, true, false},
        // SwapGraphic exchanges on and off for the test.
        HalfCase{boHorizontal, true, false, false, true}, HalfCase{boHorizontal, true, false, true, false},
        HalfCase{boHorizontal, true, true, true, true}, HalfCase{boHorizontal, true, true, false, false},
        HalfCase{boVertical, true, false, false, true}, HalfCase{boVertical, true, false, true, false},
        HalfCase{boVertical, true, true, true, true}, HalfCase{boVertical, true, true, false, false}),
    [](const auto &info) { return HalfName(info.param); });

TEST(ToggleSwitch, TextAndColourFollowCheckedEvenWithSwappedGraphic)
{
    TToggleSwitch sw;
    sw.SetTextOn(QStringLiteral("LPG"));
    sw.SetTextOff(QStringLiteral("PB"));
    for (bool swap : {false, true}) {
        sw.SetSwapGraphic(swap);
        sw.SetChecked(false);
        EXPECT_EQ(sw.ShownText(), QStringLiteral("PB"));
        EXPECT_EQ(sw.ShownColor(), kRed);
        sw.SetChecked(true);
        EXPECT_EQ(sw.ShownText(), QStringLiteral("LPG"));
        EXPECT_EQ(sw.ShownColor(), kLime);
    }
    // Changing the on text while on shows it at once (the connect switch names its port).
    sw.SetTextOn(QStringLiteral("COM3 - ON"));
    EXPECT_EQ(sw.ShownText(), QStringLiteral("COM3 - ON"));
    const QColor face = QApplication::palette().color(QPalette::Button);
    sw.SetColorOn(face);
    sw.SetColorOff(face);
    EXPECT_EQ(sw.ShownColor(), face);
}

TEST(ToggleSwitch, OrientationTurnsTheWidgetSoTheLongSideRunsAlongIt)
{
    struct Step {
        TBinOrientation o;
        QSize before, after;
    };
    const Step steps[] = {
        {boVertical, {57, 25}, {25, 57}},
        {boVertical, {25, 57}, {25, 57}}, // no change of orientation, no change of size
        {boHorizontal, {25, 57}, {57, 25}},
        {boHorizontal, {80, 30}, {80, 30}},
    };
    TToggleSwitch sw;
    for (const Step &s : steps) {
        sw.resize(s.before);
        sw.SetOrientation(s.o);
        EXPECT_EQ(sw.size(), s.after);
    }
    // A switch already taller than wide is left as it is when made vertical.
    TToggleSwitch tall;
    tall.resize(30, 70);
    tall.SetOrientation(boVertical);
    EXPECT_EQ(tall.size(), QSize(30, 70));
    EXPECT_EQ(tall.sizeHint(), QSize(25, 57));
}

TEST(ToggleSwitch, IndicatorModeClickRunsTheHandlerWithoutToggling)
{
    // The fuel switch: its state comes from the live frame only.
    TToggleSwitch sw;
    sw.SetMode(mIndicator);
    Counter clicks(&sw, &TBinGControl::OnClick);
    Counter status(&sw, &TBinGControl::OnStatusChanged);
    for (QPointF at : {QPointF(10, 12), QPointF(45, 12)}) {
        click(&sw, at);
        EXPECT_FALSE(sw.Checked());
    }
    EXPECT_EQ(clicks.n, 2);
    EXPECT_EQ(status.n, 0);
}

TEST(ToggleSwitch, ReleaseOutsideIsNoClickButThePressStillToggles)
{
    TToggleSwitch sw;
    Counter clicks(&sw, &TBinGControl::OnClick);
    press(&sw, QPointF(10, 12));
    EXPECT_TRUE(sw.Checked());
    release(&sw, QPointF(200, 200));
    EXPECT_TRUE(sw.Checked());
    EXPECT_EQ(clicks.n, 0);
}

TEST(ToggleSwitch, ScreenReadersSeeTheShownText)
{
    TToggleSwitch sw;
    sw.SetTextOff(QStringLiteral("Rozłączony"));
    sw.setObjectName(QStringLiteral("Polacz_switch")); // named after its texts were set
    QAccessibleInterface *ai = QAccessible::queryAccessibleInterface(&sw);
    ASSERT_NE(ai, nullptr);
    EXPECT_EQ(ai->role(), QAccessible::CheckBox);
    EXPECT_EQ(ai->text(QAccessible::Value), QStringLiteral("Rozłączony"));
    EXPECT_EQ(ai->text(QAccessible::Name), QStringLiteral("Polacz_switch"));
    sw.SetChecked(true);
    EXPECT_TRUE(ai->state().checked);
    EXPECT_EQ(ai->text(QAccessible::Value), QStringLiteral("1"));
}

// The connection switch's face in the window is about 71 x 30 pixels.
struct CaptionCase {
    const char *name;
    const char *text;
    QSizeF room;
    int lines;      // 1 or 2; 0: cut with "…"
    bool readable;  // at ReadablePixels or more
};

void PrintTo(const CaptionCase &c, std::ostream *os)
{
    *os << c.name;
}

class SwitchCaptions : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(SwitchCaptions, FitTheFaceAndStayReadable)
{
    const CaptionCase c = GetParam();
    QFont font = QApplication::font();
    font.setBold(true);
    const TToggleSwitch::Caption caption =
        TToggleSwitch::FitCaption(QString::fromUtf8(c.text), font, c.room);
    font.setPixelSize(caption.pixelSize);
    const QFontMetricsF fm(font);
    if (c.lines == 0) {
        ASSERT_EQ(caption.lines.size(), 1);
        EXPECT_TRUE(caption.lines.first().endsWith(QChar(0x2026))) << caption.lines.first().toStdString();
    } else {
        ASSERT_EQ(caption.lines.size(), c.lines) << caption.lines.join(QLatin1Char('|')).toStdString();
        // Nothing of the text is lost by the break.
        EXPECT_EQ(caption.lines.join(QLatin1Char(' ')), QString::fromUtf8(c.text));
    }
    for (const QString &line : caption.lines)
        EXPECT_LE(fm.horizontalAdvance(line), c.room.width() - 3) << line.toStdString();
    EXPECT_LE(fm.height() * caption.lines.size(), c.room.height() + 1);
    EXPECT_EQ(caption.pixelSize >= TToggleSwitch::ReadablePixels, c.readable) << caption.pixelSize;
}

INSTANTIATE_TEST_SUITE_P(
    ToggleSwitch, SwitchCaptions,
    ::testing::Values(
        CaptionCase{"ShortOnOneLine", "COM5 - ON", {71, 30}, 1, true},
        CaptionCase{"PolishReconnectOnTwoLines", "Łączenie… (12)", {71, 30}, 2, true},
        CaptionCase{"GermanReconnectOnTwoLines", "Verbinde… (12)", {71, 30}, 2, true},
        CaptionCase{"CzechReconnectOnTwoLines", "Připojuji… (12)", {71, 30}, 2, true},
        CaptionCase{"SentenceTooLongForAnyLine", "Łączenie ponownie z portem… (12)", {71, 30}, 2, false},
        CaptionCase{"OneLongWordIsCut", "Verbindungswiederherstellung", {40, 12}, 0, false}),
    [](const ::testing::TestParamInfo<CaptionCase> &info) { return std::string(info.param.name); });

} // namespace
