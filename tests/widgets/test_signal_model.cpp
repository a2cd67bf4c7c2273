#include "widgets/ScaleTicks.h"
#include "widgets/TArrowSettings.h"
#include "widgets/TMinMax.h"
#include "widgets/TSectorSettings.h"
#include "widgets/TSignalSettings.h"
#include "widgets/ValueFormat.h"

#include <QLocale>

#include <gtest/gtest.h>

TEST(ValueFormat, PicturesWithPointAndComma)
{
    struct Case { const char *pattern; double value; const char *expected; };
    const Case cases[] = {
        // The number formats the window uses.
        {"##0.0", 12.34, "12.3"},
        {"#0.00", 0.7, "0.70"},
        {"###0", 2500.4, "2500"},
        {"##0.##0", 1.5, "1.500"},
        {"##0.##0", 0.000001, "0.000"},
        {"#0,0", 5, "05"},
        {"#0.0", 1.0, "1.0"},
        {"##0", 49.6, "50"},
        {"##0.0", -40, "-40.0"},
        {"#0.00", 16.34f, "16.34"},
        // Optional places after the last "0" drop trailing zeros only.
        {"0.##", 1.5, "1.5"},
        {"0.##", 1.0, "1"},
        {"0.##", 1.257, "1.26"},
        {"0.0#", 2.0, "2.0"},
        {"0.0#", 2.05, "2.05"},
        // Leading zeros come from the "0" places before the point.
        {"000", 7, "007"},
        {"#.00", 0.5, ".50"},
        {"##0.0", 0.04, "0.0"},
        // Grouping.
        {"#0,0", 1234567, "1,234,567"},
        {"#,##0.0", 1234.56, "1,234.6"},
        {"#,##0", 999, "999"},
        {"#,##0", -1234, "-1,234"},
        // Ties go to the even neighbour, judged on the number as written.
        {"###0", 2.5, "2"},
        {"###0", 3.5, "4"},
        {"###0", -2.5, "-2"},
        {"##0.0", 0.25, "0.2"},
        {"##0.0", 0.35f, "0.4"},
        {"##0.0", 0.45f, "0.4"},
        {"#0.00", 0.125, "0.12"},
        {"#0.00", 0.135, "0.14"},
        {"#0.00", 2.675f, "2.68"},
        {"##0.##0", 9.9995, "10.000"},
        {"###0", 0.5, "0"},
        {"###0", 9999999.0f, "9999999"},
        // A value that rounds to zero carries no minus sign.
        {"##0.0", -0.04, "0.0"},
        // Literal text around the number.
        {"0.0 V", 12.34, "12.3 V"},
        {"'U='0.00", 1.5, "U=1.50"},
        // Sections for positive, negative and zero values.
        {"0.0;(0.0);zero", 1.5, "1.5"},
        {"0.0;(0.0);zero", -1.5, "(1.5)"},
        {"0.0;(0.0);zero", 0, "zero"},
        {"0.0;(0.0);zero", 0.04, "zero"},
        {"0.0;(0.0)", 0, "0.0"},
        {"0.0;;-", -2, "-2.0"},
        {"0.0;;-", 0, "-"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ValueFormat::Format(QString::fromLatin1(c.pattern), c.value, u'.', u','), QString::fromLatin1(c.expected))
            << c.pattern << " " << c.value;
}

TEST(ValueFormat, UsesTheGivenAndTheLocaleSeparators)
{
    EXPECT_EQ(ValueFormat::Format("##0.0", 12.34, u',', u'.'), "12,3");
    EXPECT_EQ(ValueFormat::Format("#,##0.00", 1234.5, u',', u'\u00a0'), QString::fromUtf8("1\u00a0234,50"));

    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(ValueFormat::Format("#0.00", 0.7), "0,70");
    EXPECT_EQ(ValueFormat::Format("#,##0", 1234), "1.234");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(ValueFormat::Format("#0.00", 0.7), "0.70");
    QLocale::setDefault(saved);
}

TEST(ValueFormat, NonFiniteValuesDoNotBreakTheText)
{
    EXPECT_EQ(ValueFormat::Format("##0.0", std::numeric_limits<double>::quiet_NaN(), u'.', u','), "NAN");
    EXPECT_EQ(ValueFormat::Format("##0.0", -std::numeric_limits<double>::infinity(), u'.', u','), "-INF");
}

TEST(TSignalSettings, DefaultsAndDerivedFigures)
{
    TSignalSettings s;
    EXPECT_EQ(s.DigitalFrom(), 0);
    EXPECT_EQ(s.DigitalTo(), 1000);
    EXPECT_EQ(s.Name1(), "SignalName1");
    EXPECT_EQ(s.Name2(), "SignalName2");
    EXPECT_EQ(s.ValueFormat(), "##0.0");
    EXPECT_EQ(s.ValueFrom(), 0.0f);
    EXPECT_EQ(s.ValueTo(), 100.0f);
    EXPECT_EQ(s.ValueUnit(), "%");
    EXPECT_DOUBLE_EQ(s.Span(), 100.0);
    EXPECT_EQ(s.PositionSpan(), 1000);
    EXPECT_DOUBLE_EQ(s.ValuePerPosition(), 0.1);
    EXPECT_DOUBLE_EQ(s.PositionsPerValue(), 10.0);
    EXPECT_DOUBLE_EQ(s.PerMillePerValue(), 10.0);
}

TEST(TSignalSettings, SetterIgnoreRules)
{
    TSignalSettings s;
    int changes = 0;
    s.SetOnChange([&] { ++changes; });

    struct Step { const char *what; std::function<void()> apply; float from; float to; int changes; };
    const Step steps[] = {
        {"0 on a lower end that is 0", [&] { s.SetValueFrom(0.0f); }, 0.0f, 100.0f, 0},
        {"lower end equal to the upper end", [&] { s.SetValueFrom(100.0f); }, 0.0f, 100.0f, 0},
        {"upper end equal to the lower end", [&] { s.SetValueTo(0.0f); }, 0.0f, 100.0f, 0},
        {"upper end equal to itself", [&] { s.SetValueTo(100.0f); }, 0.0f, 100.0f, 0},
        {"new lower end", [&] { s.SetValueFrom(-40.0f); }, -40.0f, 100.0f, 1},
        {"0 is kept just above zero", [&] { s.SetValueFrom(0.0f); }, 0.000001f, 100.0f, 2},
        {"lower end equal to itself", [&] { s.SetValueFrom(0.000001f); }, 0.000001f, 100.0f, 2},
        {"0 once more", [&] { s.SetValueFrom(0.0f); }, 0.000001f, 100.0f, 2},
        {"upper end equal to the stored lower end", [&] { s.SetValueTo(0.000001f); }, 0.000001f, 100.0f, 2},
        {"new upper end", [&] { s.SetValueTo(240.0f); }, 0.000001f, 240.0f, 3},
    };
    for (const Step &st : steps) {
        st.apply();
        EXPECT_EQ(s.ValueFrom(), st.from) << st.what;
        EXPECT_EQ(s.ValueTo(), st.to) << st.what;
        EXPECT_EQ(changes, st.changes) << st.what;
    }

    // Texts and positions change only when different.
    changes = 0;
    s.SetName1("SignalName1");
    s.SetName2("SignalName2");
    s.SetValueFormat("##0.0");
    s.SetValueUnit("%");
    s.SetDigitalFrom(0);
    s.SetDigitalTo(1000);
    EXPECT_EQ(changes, 0);
    s.SetName1("MAP [kPa]");
    s.SetName2("CYL 1");
    s.SetValueFormat("###0");
    s.SetValueUnit("V");
    s.SetDigitalFrom(3);
    s.SetDigitalTo(60);
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(s.Name1(), "MAP [kPa]");
    EXPECT_EQ(s.DigitalTo(), 60);
}

TEST(TSignalSettings, PositionsRoundHalfToEven)
{
    struct Case { float from; float to; int dFrom; int dTo; double value; int digit; };
    const Case cases[] = {
        {0, 100, 0, 1000, 50, 500},
        {0, 100, 0, 1000, 0.25, 2},   // 2.5 -> 2
        {0, 100, 0, 1000, 0.75, 8},   // 7.5 -> 8
        {0, 100, 0, 1000, 1.25, 12},  // 12.5 -> 12
        {0, 100, 0, 1000, -0.25, -2}, // -2.5 -> -2
        {0, 100, 0, 1000, 150, 1500}, // not limited to the scale
        {0.000001f, 120, 0, 1000, -40, -333},
        {300, 6000, 3, 60, 1234, 12},
        {300, 6000, 3, 60, 1250, 12}, // 12.5 -> 12
        {300, 6000, 3, 60, 1350, 14}, // 13.5 -> 14
        {0.000001f, 10, 0, 1000, 6, 600},
    };
    for (const Case &c : cases) {
        TSignalSettings s;
        s.SetValueTo(c.to);
        s.SetValueFrom(c.from);
        s.SetDigitalTo(c.dTo);
        s.SetDigitalFrom(c.dFrom);
        EXPECT_EQ(s.ValueToDigit(c.value), c.digit) << c.from << ".." << c.to << " value " << c.value;
    }
    EXPECT_EQ(TSignalSettings::RoundHalfEven(0.5), 0);
    EXPECT_EQ(TSignalSettings::RoundHalfEven(1.5), 2);
    EXPECT_EQ(TSignalSettings::RoundHalfEven(-1.5), -2);
    EXPECT_EQ(TSignalSettings::RoundHalfEven(2.4999), 2);
    EXPECT_EQ(TSignalSettings::RoundHalfEven(-2.5001), -3);
}

TEST(TSectorSettings, DefaultsAndOverlapGoesToTheHigherSector)
{
    TSectorSettings s;
    EXPECT_EQ(s.SectorAt(1).Color, QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(s.SectorAt(2).Color, QColor(0x00, 0x80, 0x00));
    EXPECT_EQ(s.SectorAt(3).Color, QColor(0xFF, 0x00, 0x00));
    EXPECT_EQ(s.Offset(), 0);

    struct Case { int perMille; int sector; };
    const Case defaults[] = {{0, 1}, {333, 1}, {334, 2}, {666, 2}, {667, 3}, {1000, 3}, {-1, 0}, {1001, 0}};
    for (const Case &c : defaults)
        EXPECT_EQ(s.SectorOf(c.perMille), c.sector) << c.perMille;

    s.SetSector(1, Qt::green, 100, 600);
    s.SetSector(2, Qt::yellow, 600, 750);
    s.SetSector(3, Qt::red, 750, 1000);
    const Case overlapping[] = {{99, 0}, {100, 1}, {599, 1}, {600, 2}, {749, 2}, {750, 3}, {1000, 3}};
    for (const Case &c : overlapping)
        EXPECT_EQ(s.SectorOf(c.perMille), c.sector) << c.perMille;
}

TEST(TMinMax, RemembersExtremesWithTheirMoments)
{
    TMinMax m;
    EXPECT_EQ(m.Min(), 9999999.0f);
    EXPECT_EQ(m.Max(), -9999999.0f);
    EXPECT_FALSE(m.MinSet());
    EXPECT_EQ(m.MinColor(), QColor(0x00, 0xFF, 0xFF));
    EXPECT_TRUE(m.UseSectorCol());
    EXPECT_TRUE(m.MinVisible() && m.MaxVisible());

    const QDateTime t1(QDate(2024, 5, 1), QTime(10, 0, 0));
    const QDateTime t2 = t1.addSecs(5);
    EXPECT_TRUE(m.Update(30, t1));
    EXPECT_EQ(m.Min(), 30.0f);
    EXPECT_EQ(m.Max(), 30.0f);
    EXPECT_FALSE(m.Update(30, t2));
    EXPECT_EQ(m.MinTime(), t1);
    EXPECT_TRUE(m.Update(10, t2));
    EXPECT_EQ(m.Min(), 10.0f);
    EXPECT_EQ(m.MinTime(), t2);
    EXPECT_EQ(m.MaxTime(), t1);
    m.Reset();
    EXPECT_EQ(m.Min(), 9999999.0f);
    EXPECT_EQ(m.Max(), -9999999.0f);
}

TEST(TArrowSettings, ShapesOutsideTheDrawnSetAreIgnored)
{
    TArrowSettings a;
    int changes = 0;
    a.SetOnChange([&] { ++changes; });
    a.SetShape(2);
    EXPECT_EQ(a.Shape(), 2);
    a.SetShape(0);
    a.SetShape(7);
    a.SetShape(2);
    EXPECT_EQ(a.Shape(), 2);
    a.SetShape(6);
    EXPECT_EQ(a.Shape(), 6);
    EXPECT_EQ(changes, 2);
}

TEST(ScaleTicks, RoundStepsAndTheStoredZero)
{
    struct Case { double from; double to; int maxCount; double step; };
    const Case cases[] = {{0, 240, 8, 40}, {0.000001, 240, 8, 40}, {0, 10, 10, 1}, {0, 3, 8, 0.5},
                          {0, 120, 6, 20}, {0, 50, 6, 10}, {0, 1, 5, 0.2}, {0, 30, 8, 5}, {0, 12000, 8, 2000},
                          {0, 7, 10, 1}};
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(ScaleTicks::Step(c.from, c.to, c.maxCount), c.step) << c.from << ".." << c.to;

    const auto ticks = ScaleTicks::Values(0.000001, 10, 1);
    ASSERT_EQ(ticks.size(), 11u);
    EXPECT_EQ(ticks.front(), 0.0);
    EXPECT_EQ(ticks.back(), 10.0);
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(ScaleTicks::Label(0.5, 0.5), "0.5");
    EXPECT_EQ(ScaleTicks::Label(12000, 2000), "12000");
}
