#include "calibration/CorrectionMap.h"
#include "calibration/MapEdit.h"
#include "calibration/MapPixels.h"
#include "calibration/MapSelection.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// A press as the chart page forwards it: a pixel in a plot of some width, in
// the plain or zoomed view.
double markAt(double x, double plotWidth, double axisMaximum)
{
    return MapPixels::markPosition(MapPixels::nominal(x, plotWidth), axisMaximum);
}

// ---------------------------------------------------------------------------
// Pixel -> point, at the designed width and at other widths.

struct PixelCase
{
    std::string name;
    double x;
    double plotWidth;
    double axisMaximum;
    double mark;
    int point;

    friend void PrintTo(const PixelCase &c, std::ostream *os) { *os << c.name; }
};

class PixelToPoint : public ::testing::TestWithParam<PixelCase>
{
};

TEST_P(PixelToPoint, MarksThePoint)
{
    const PixelCase &c = GetParam();
    const double mark = markAt(c.x, c.plotWidth, c.axisMaximum);
    EXPECT_DOUBLE_EQ(mark, c.mark);
    EXPECT_EQ(MapPixels::pointAt(mark), c.point);
}

INSTANTIATE_TEST_SUITE_P(
    Map, PixelToPoint,
    ::testing::Values(
        // Round(37.73) + 2 and Round(113.19) + 2
        PixelCase{"Pixel100", 100, 652, 25.5, 100, 40}, PixelCase{"Pixel300", 300, 652, 25.5, 300, 115},
        // Trunc(300 / 2.076) - 1 = 143 on the unzoomed scale, point Round(53.95) + 2
        PixelCase{"Zoomed300", 300, 652, 12.75, 143, 56},
        PixelCase{"WiderPixel100", 150, 978, 25.5, 100, 40}, PixelCase{"WiderPixel300", 450, 978, 25.5, 300, 115},
        PixelCase{"WiderZoomed300", 450, 978, 12.75, 143, 56},
        PixelCase{"NarrowerPixel300", 150, 326, 25.5, 300, 115},
        // The last pixels would give points 247 and 248.
        PixelCase{"Pixel649HeldAtLastPoint", 649, 652, 25.5, 649, 246},
        PixelCase{"RightEdgeHeldAtLastPoint", 652, 652, 25.5, 652, 246},
        PixelCase{"Pixel646IsLastPoint", 646, 652, 25.5, 646, 246},
        // Left of the zoomed plot's first pixels the position goes below 0.
        PixelCase{"ZoomedLeftEdgeHeldAtFirstPoint", 0, 652, 12.75, -1, 2}),
    [](const auto &info) { return info.param.name; });

TEST(MapPixels, MarkerTimeFollowsTheAxisMaximum)
{
    EXPECT_DOUBLE_EQ(MapPixels::timeAt(0, 25.5), 1.0);
    EXPECT_DOUBLE_EQ(MapPixels::timeAt(326, 25.5), 1.0 + 24.6 / 2);
    EXPECT_DOUBLE_EQ(MapPixels::timeAt(326, 12.75), 1.0 + 11.85 / 2);
}

// ---------------------------------------------------------------------------
// Marking.

struct Press
{
    double c;
    bool rightAlone = false;
};

struct MarkingCase
{
    std::string name;
    std::vector<Press> presses;
    double from;
    double to;
    bool arrowsEnabled;
    bool highlighted;

    friend void PrintTo(const MarkingCase &c, std::ostream *os) { *os << c.name; }
};

class Marking : public ::testing::TestWithParam<MarkingCase>
{
};

TEST_P(Marking, EndsWithBounds)
{
    const MarkingCase &c = GetParam();
    MapSelection sel;
    for (const Press &p : c.presses)
        sel.press(p.c, p.rightAlone);
    EXPECT_DOUBLE_EQ(sel.selFrom(), c.from);
    EXPECT_DOUBLE_EQ(sel.selTo(), c.to);
    EXPECT_EQ(sel.arrowsEnabled(), c.arrowsEnabled);
    EXPECT_EQ(sel.highlighted(), c.highlighted);
}

INSTANTIATE_TEST_SUITE_P(
    Map, Marking,
    ::testing::Values(MarkingCase{"Nothing", {}, 0, 0, true, false},
                      MarkingCase{"FirstClickSetsStartAnywhere", {{10}}, 10, 0, false, false},
                      MarkingCase{"BelowPixel26MovesNothing", {{10}, {20}}, 10, 0, false, false},
                      MarkingCase{"RightOfStartSetsEnd", {{100}, {300}}, 100, 300, true, true},
                      MarkingCase{"LeftOfStartMovesStart", {{100}, {50}}, 50, 0, false, false},
                      MarkingCase{"LeftOfEndMovesStart", {{100}, {300}, {200}}, 200, 300, true, true},
                      MarkingCase{"RightOfEndMovesEnd", {{100}, {300}, {400}}, 100, 400, true, true},
                      MarkingCase{"AtEndMovesEnd", {{100}, {300}, {300}}, 100, 300, true, true},
                      MarkingCase{"BelowPixel26KeepsArea", {{100}, {300}, {20}}, 100, 300, true, true},
                      MarkingCase{"RightButtonAloneClears", {{100}, {300}, {200, true}}, 0, 0, true, false},
                      MarkingCase{"ClearedThenStartAgain", {{100}, {300}, {0, true}, {120}}, 120, 0, false, false}),
    [](const auto &info) { return info.param.name; });

TEST(Marking, PressReportsWhatMoved)
{
    MapSelection sel;
    EXPECT_EQ(sel.press(100, false), MapSelection::Press::StartMoved);
    EXPECT_EQ(sel.press(20, false), MapSelection::Press::Ignored);
    EXPECT_EQ(sel.press(300, false), MapSelection::Press::EndMoved);
    EXPECT_EQ(sel.press(5, true), MapSelection::Press::Cleared);
}

// ---------------------------------------------------------------------------
// Editing.

class MapEditing : public ::testing::Test
{
protected:
    // A map that is not flat, so re-lining shows.
    void SetUp() override
    {
        for (int k = 1; k <= CorrectionMap::Points; ++k)
            map.setValue(k, 60 + k / 2);
        before = map;
    }

    MapSelection area(double fromPx, double toPx)
    {
        MapSelection sel;
        sel.press(markAt(fromPx, 652, 25.5), false);
        sel.press(markAt(toPx, 652, 25.5), false);
        return sel;
    }

    CorrectionMap map;
    CorrectionMap before;
};

TEST_F(MapEditing, UpWithoutAreaAddsOneEverywhere)
{
    ASSERT_TRUE(MapEdit::step(map, MapSelection{}, +1));
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        EXPECT_EQ(map.value(k), before.value(k) + 1) << "point " << k;
    for (const MapEdit::ChartPoint &p : MapEdit::mapCurve(map, MapSelection{}))
        EXPECT_FALSE(p.marked);
}

TEST_F(MapEditing, AreaFromPixel100To300RelinesThroughPoint78)
{
    const MapSelection sel = area(100, 300);
    ASSERT_EQ(sel.firstPoint(), 40);
    ASSERT_EQ(sel.lastPoint(), 115);
    ASSERT_TRUE(MapEdit::step(map, sel, +1));

    const int vs = before.value(40), ve = before.value(115), vm = before.value(78) + 1;
    EXPECT_EQ(map.value(40), vs);
    EXPECT_EQ(map.value(115), ve);
    EXPECT_EQ(map.value(78), vm);
    for (int k = 41; k <= 77; ++k)
        EXPECT_EQ(map.value(k), vs + CommandBodies::roundHalfEven(double(vm - vs) / 38 * (k - 40))) << k;
    for (int k = 79; k <= 114; ++k)
        EXPECT_EQ(map.value(k), ve + CommandBodies::roundHalfEven(double(vm - ve) / 38 * (115 - k))) << k;
    for (int k : {1, 39, 116, 246})
        EXPECT_EQ(map.value(k), before.value(k)) << k;

    int marked = 0;
    for (const MapEdit::ChartPoint &p : MapEdit::mapCurve(map, sel))
        marked += p.marked;
    EXPECT_EQ(marked, 115 - 40 + 1);
}

TEST_F(MapEditing, ShortAreaTakesTheLeftHalfsWidthOnBothSides)
{
    for (int k = 10; k <= 15; ++k)
        map.setValue(k, 100);
    map.setValue(15, 110);
    MapEdit::reline(map, 10, 15, -1); // m = Round(12.5) = 12
    EXPECT_EQ(map.value(10), 100);
    EXPECT_EQ(map.value(12), 99);
    EXPECT_EQ(map.value(11), 100 + CommandBodies::roundHalfEven(-1 / 2.0)); // 99.5 -> 100
    EXPECT_EQ(map.value(13), 99);                                            // the new value of point 12
    EXPECT_EQ(map.value(14), 110 - CommandBodies::roundHalfEven(11 / 2.0));  // halfway, 5.5 -> 6
    EXPECT_EQ(map.value(15), 110);
}

TEST_F(MapEditing, OnlyTheStartSetChangesNothing)
{
    MapSelection sel;
    sel.press(100, false);
    EXPECT_FALSE(MapEdit::step(map, sel, +1));
    EXPECT_EQ(map.values(), before.values());
    for (const MapEdit::ChartPoint &p : MapEdit::mapCurve(map, sel))
        EXPECT_FALSE(p.marked);
}

struct LimitCase
{
    std::string name;
    int value;
    int delta;
    int expected;

    friend void PrintTo(const LimitCase &c, std::ostream *os) { *os << c.name; }
};

class MapLimits : public ::testing::TestWithParam<LimitCase>
{
};

TEST_P(MapLimits, StepStopsAtTheByteRange)
{
    const LimitCase &c = GetParam();
    CorrectionMap map;
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        map.setValue(k, c.value);
    MapEdit::step(map, MapSelection{}, c.delta);
    MapSelection sel;
    sel.press(100, false);
    sel.press(300, false);
    MapEdit::step(map, sel, c.delta);

    const QByteArray body = map.writeCommands().first;
    ASSERT_EQ(body.size(), 1 + CorrectionMap::Points);
    for (int k = 1; k <= CorrectionMap::Points; ++k) {
        ASSERT_EQ(map.value(k), c.expected) << "point " << k;
        ASSERT_EQ(uint8_t(body.at(k)), c.expected) << "point " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Map, MapLimits,
                         ::testing::Values(LimitCase{"DownAtZero", 0, -1, 0}, LimitCase{"UpAt255", 255, +1, 255},
                                           LimitCase{"DownFrom1", 1, -1, 0}),
                         [](const auto &info) { return info.param.name; });

TEST(CorrectionMap, FillsFromBlockAndWritesTheSameBytes)
{
    QByteArray block(602, '\0');
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        block[65 + k] = char(uint8_t(k));
    block[65] = char(0xEE);
    block[312] = char(0xEE);
    CorrectionMap map;
    ASSERT_TRUE(map.loadFromSettingsBlock(block));
    EXPECT_EQ(map.value(1), 1);
    EXPECT_EQ(map.value(246), 246);

    const CommandBodies::Group g = map.writeCommands();
    EXPECT_EQ(g.first, QByteArray(1, char(0x0B)) + block.mid(66, 246));
    QByteArray second(21, '\0');
    second[0] = char(0x20);
    second[11] = char(0x0A);
    second[12] = char(0xFF);
    EXPECT_EQ(g.second, second);
    EXPECT_TRUE(g.third.isEmpty());

    EXPECT_FALSE(map.loadFromSettingsBlock(block.left(311)));
    EXPECT_EQ(map.value(246), 246);
}

TEST(WorkingPoint, LinesUpFromThePointAndToTheRightEdge)
{
    const std::vector<MapEdit::ChartPoint> expected{{3.2, 35}, {3.2, 500}, {3.2, 35}, {100, 35}};
    EXPECT_EQ(MapEdit::workingPointLine(3.2, 35), expected);
}

} // namespace
