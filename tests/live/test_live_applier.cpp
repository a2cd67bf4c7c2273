// The apply plan of a live frame: the exact order of the rest frame's
// display updates, ignition, lambda ranges, level LEDs, the shown cylinder,
// short answers, the hand-on calls and the time tables.
#include "LiveFrameBytes.h"

#include "live/LiveFrameApplier.h"
#include "live/LiveFrameDecoder.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringList>

#include <vector>

namespace {

using Kind = LiveDisplayAction::Kind;
using Action = LiveDisplayAction;

Action value(int step, const char *target, float v)
{
    Action a;
    a.step = step;
    a.kind = Kind::Value;
    a.target = QLatin1String(target);
    a.number = v;
    return a;
}

Action flagged(int step, Kind kind, const char *target, bool on)
{
    Action a;
    a.step = step;
    a.kind = kind;
    a.target = QLatin1String(target);
    a.flag = on;
    return a;
}

Action integer(int step, Kind kind, const char *target, int n)
{
    Action a;
    a.step = step;
    a.kind = kind;
    a.target = QLatin1String(target);
    a.integer = n;
    return a;
}

Action colours(int step, const char *target, LiveColour off, LiveColour on)
{
    Action a;
    a.step = step;
    a.kind = Kind::SwitchColours;
    a.target = QLatin1String(target);
    a.colourOff = off;
    a.colourOn = on;
    return a;
}

Action text(int step, const char *target, const char *t)
{
    Action a;
    a.step = step;
    a.kind = Kind::Text;
    a.target = QLatin1String(target);
    a.text = QLatin1String(t);
    return a;
}

Action call(int step, Kind kind, int n = 0)
{
    Action a;
    a.step = step;
    a.kind = kind;
    a.integer = n;
    return a;
}

QString describe(const Action &a)
{
    return QStringLiteral("step %1 kind %2 %3 n=%4 i=%5 f=%6 t=%7")
        .arg(a.step)
        .arg(int(a.kind))
        .arg(a.target)
        .arg(double(a.number))
        .arg(a.integer)
        .arg(a.flag)
        .arg(a.text);
}

void expectSameActions(const QList<Action> &got, const std::vector<Action> &want)
{
    ASSERT_EQ(size_t(got.size()), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(got[qsizetype(i)], want[i]) << i << ": got " << describe(got[qsizetype(i)]).toStdString()
                                               << "\nwant " << describe(want[i]).toStdString();
}

class LiveFrameApplierTest : public ::testing::Test
{
protected:
    QList<Action> apply(const QByteArray &answer, LiveFrameApplier::Inputs in = {})
    {
        in.decimalSeparator = separator;
        return applier.apply(LiveFrameDecoder::decode(answer), in);
    }

    static QList<Action> only(const QList<Action> &actions, const QString &target)
    {
        QList<Action> out;
        for (const Action &a : actions) {
            if (a.target == target)
                out.append(a);
        }
        return out;
    }

    static const Action *find(const QList<Action> &actions, Kind kind, const QString &target = {})
    {
        for (const Action &a : actions) {
            if (a.kind == kind && a.target == target)
                return &a;
        }
        return nullptr;
    }

    QChar separator = QLatin1Char(',');
    InjectionTimeTables tables;
    LiveFrameApplier applier{tables};
};

TEST_F(LiveFrameApplierTest, RestFrameUpdatesEveryDisplayInSequence)
{
    const QList<Action> got = apply(QByteArray(500, '\0'));
    const auto off = LiveColour::BtnFace;
    expectSameActions(got, {
        value(2, "lambda_1", 0), value(2, "lambda_2", 0),
        value(4, "RPM_zegar", 0), value(4, "RPM_Edit", 0),
        value(5, "BATERY_vpp", 0.70f),
        value(6, "TempWoda", 0), value(6, "TempGaz", 0),
        value(7, "Slala_P_MAP", 0), value(7, "P_MAP_edit", 0),
        value(7, "Skala_P1_MAP", 0), value(7, "P1_MAP_edit", 0),
        flagged(8, Kind::Enabled, "Zaplon_panel", false),
        colours(8, "paliwo_Switch", off, off),
        integer(8, Kind::SectorOffset, "RPM_zegar", 300),
        integer(8, Kind::PointerShape, "RPM_zegar", 2),
        value(8, "lambda_1", 0), value(8, "lambda_2", 0),
        value(8, "Skala_PB_time", 0), value(8, "Skala_LPG_time", 0),
        flagged(9, Kind::Checked, "paliwo_Switch", false),
        value(10, "Skala_LPG_time", 0), value(10, "Skala_LPG_time1", 0),
        value(11, "Skala_PB_time", 0),
        value(12, "Skala_PB_time1", 0), value(12, "Skala_PB_time2", 0), value(12, "Skala_PB_time3", 0),
        value(12, "Skala_PB_time4", 0), value(12, "Skala_PB_time5", 0), value(12, "Skala_PB_time6", 0),
        value(12, "Skala_PB_time7", 0), value(12, "Skala_PB_time8", 0),
        flagged(13, Kind::LedLit, "rezerwa_led_gora", true), flagged(13, Kind::LedLit, "Rezerwa_led_panel", true),
        flagged(13, Kind::LedLit, "Gaz_led_1g", false), flagged(13, Kind::LedLit, "Gaz_led_1p", false),
        flagged(13, Kind::LedLit, "Gaz_led_2g", false), flagged(13, Kind::LedLit, "Gaz_led_2p", false),
        flagged(13, Kind::LedLit, "Gaz_led_3g", false), flagged(13, Kind::LedLit, "Gaz_led_3p", false),
        flagged(13, Kind::LedLit, "Gaz_led_4g", false), flagged(13, Kind::LedLit, "Gaz_led_4p", false),
        text(14, "U_zbiornika", "0,00"),
        call(15, Kind::FeedOscilloscope),
        call(16, Kind::ShowCurrentFaults),
        call(17, Kind::UpdateTimeCurves, 0),
    });
}

TEST_F(LiveFrameApplierTest, FullFrameWithIgnitionOnShowsItsValues)
{
    const QByteArray frame = liveFrame({{4, 0x01}, {5, 0x01}, {6, 0x2C}, {7, 0x01}, {8, 0x14}, {9, 0},
                                        {18, 0}, {19, 10}, {20, 0}, {21, 8}, {22, 50}, {23, 0}, {24, 0x64},
                                        {25, 0}, {26, 0x60}, {29, 200}, {30, 51}, {31, 3}, {32, 85},
                                        {33, 0xF6}, {55, 25}, {51, 0x32}, {52, 0}, {53, 0x3C}, {54, 0}},
                                       0x00);
    LiveFrameApplier::Inputs in;
    in.shownCylinder = 1;
    const QList<Action> got = apply(frame, in);

    // Ignition on: no zeroing in step 8, the switch gets its live colours.
    EXPECT_EQ(only(got, QStringLiteral("lambda_1")), QList<Action>{value(2, "lambda_1", 0.98f)});
    EXPECT_EQ(only(got, QStringLiteral("lambda_2")), QList<Action>{value(2, "lambda_2", 0.49f)});
    EXPECT_EQ(only(got, QStringLiteral("Zaplon_panel")),
              QList<Action>{flagged(8, Kind::Enabled, "Zaplon_panel", true)});
    EXPECT_EQ(only(got, QStringLiteral("paliwo_Switch")),
              (QList<Action>{colours(8, "paliwo_Switch", LiveColour::Red, LiveColour::Lime),
                             flagged(9, Kind::Checked, "paliwo_Switch", true)}));
    EXPECT_EQ(only(got, QStringLiteral("RPM_zegar")),
              (QList<Action>{value(4, "RPM_zegar", 0.8f), integer(8, Kind::SectorOffset, "RPM_zegar", 0),
                             integer(8, Kind::PointerShape, "RPM_zegar", 6)}));
    EXPECT_EQ(only(got, QStringLiteral("Skala_LPG_time")), QList<Action>{value(10, "Skala_LPG_time", 2.56f)});
    // Cylinder 2 is shown on the top bar.
    EXPECT_EQ(only(got, QStringLiteral("Skala_PB_time")), QList<Action>{value(11, "Skala_PB_time", 2.0f)});

    const std::vector<Action> values = {
        value(4, "RPM_Edit", 800), value(5, "BATERY_vpp", 12.97f), value(6, "TempWoda", 85),
        value(6, "TempGaz", -10), value(7, "Slala_P_MAP", 96), value(7, "P_MAP_edit", 96),
        value(7, "Skala_P1_MAP", 1), value(7, "P1_MAP_edit", 1), value(10, "Skala_LPG_time1", 2.56f),
        value(12, "Skala_PB_time1", 30), value(12, "Skala_PB_time2", 2), value(12, "Skala_PB_time7", 5),
        value(12, "Skala_PB_time8", 6), text(14, "U_zbiornika", "1,00"),
    };
    for (const Action &want : values) {
        const QList<Action> mine = only(got, want.target);
        ASSERT_EQ(mine.size(), 1) << want.target.toStdString();
        EXPECT_EQ(mine.first(), want) << describe(mine.first()).toStdString();
    }
}

TEST_F(LiveFrameApplierTest, LambdaBarSwitchesToFiveVoltsOnceAndForEachBarAlone)
{
    struct Frame
    {
        int lambda1;
        int lambda2;
        bool switch1; // a ScaleTo 5 for lambda_1 in this frame
        bool switch2;
    };
    const Frame frames[] = {
        {61, 0, false, false},   // 1.1956 V keeps 0..1 V
        {62, 0, true, false},    // 1.2152 V switches lambda_1 only
        {255, 61, false, false}, // already switched; lambda_2 still below
        {0, 0, false, false},    // never switched back
        {0, 62, false, true},
        {62, 62, false, false},
    };
    for (const Frame &f : frames) {
        const QList<Action> got = apply(liveFrame({{4, 1}, {22, f.lambda1}, {55, f.lambda2}}));
        const Action *s1 = find(got, Kind::ScaleTo, QStringLiteral("lambda_1"));
        const Action *s2 = find(got, Kind::ScaleTo, QStringLiteral("lambda_2"));
        EXPECT_EQ(s1 != nullptr, f.switch1) << f.lambda1 << "/" << f.lambda2;
        EXPECT_EQ(s2 != nullptr, f.switch2) << f.lambda1 << "/" << f.lambda2;
        for (const Action *s : {s1, s2}) {
            if (s) {
                EXPECT_EQ(s->number, 5.0f);
                EXPECT_EQ(s->step, 3);
            }
        }
    }
    EXPECT_TRUE(applier.lambdaWide(0));
    EXPECT_TRUE(applier.lambdaWide(1));
}

TEST_F(LiveFrameApplierTest, LambdaReadingCountsEvenWithIgnitionOff)
{
    // The range follows the reading of step 2; step 8 zeroes the bar after.
    const QList<Action> got = apply(liveFrame({{4, 0}, {22, 100}}));
    ASSERT_NE(find(got, Kind::ScaleTo, QStringLiteral("lambda_1")), nullptr);
    EXPECT_EQ(only(got, QStringLiteral("lambda_1")).last(), value(8, "lambda_1", 0));
}

TEST_F(LiveFrameApplierTest, LevelStepLightsReserveOrLevelLeds)
{
    struct Case
    {
        int step;
        bool reserve;
        bool levels[4];
    };
    const Case cases[] = {
        {0, true, {false, false, false, false}},
        {1, false, {true, false, false, false}},
        {2, false, {true, true, false, false}},
        {3, false, {true, true, true, false}},
        {4, false, {true, true, true, true}},
        {5, false, {true, true, true, false}},
        {255, false, {true, true, true, false}},
    };
    for (const Case &c : cases) {
        const QList<Action> got = apply(liveFrame({{31, c.step}}));
        for (const char *reserve : {"rezerwa_led_gora", "Rezerwa_led_panel"}) {
            const Action *a = find(got, Kind::LedLit, QLatin1String(reserve));
            ASSERT_NE(a, nullptr);
            EXPECT_EQ(a->flag, c.reserve) << reserve << " at " << c.step;
        }
        for (int level = 1; level <= 4; ++level) {
            for (const char *where : {"g", "p"}) {
                const QString name = QStringLiteral("Gaz_led_%1%2").arg(level).arg(QLatin1String(where));
                const Action *a = find(got, Kind::LedLit, name);
                ASSERT_NE(a, nullptr) << name.toStdString();
                EXPECT_EQ(a->flag, c.levels[level - 1]) << name.toStdString() << " at " << c.step;
            }
        }
    }
}

TEST_F(LiveFrameApplierTest, TopPetrolBarShowsTheChosenCylinder)
{
    // Each cylinder a different time: lo = 10 x (k+1) -> (k+1) ms.
    const QByteArray frame = liveFrame({{4, 1}, {6, 10}, {7, 0}, {8, 20}, {9, 0}, {10, 30}, {11, 0}, {12, 40},
                                        {13, 0}, {14, 50}, {15, 0}, {16, 60}, {17, 0}, {51, 70}, {52, 0},
                                        {53, 80}, {54, 0}});
    for (int k = 0; k < 8; ++k) {
        LiveFrameApplier::Inputs in;
        in.shownCylinder = k;
        const QList<Action> got = apply(frame, in);
        EXPECT_EQ(only(got, QStringLiteral("Skala_PB_time")),
                  QList<Action>{value(11, "Skala_PB_time", float((k + 1) * 10 * 0.1))})
            << k;
        // The per-cylinder bars are not affected by the choice.
        EXPECT_EQ(only(got, QStringLiteral("Skala_PB_time%1").arg(k + 1)).first().number,
                  float((k + 1) * 10 * 0.1));
    }
}

TEST_F(LiveFrameApplierTest, ShortAnswersLeaveMissingDisplaysAlone)
{
    EXPECT_TRUE(apply(liveFrame({{4, 1}}, 0x00, 5)).isEmpty());
    EXPECT_TRUE(apply(QByteArray()).isEmpty());

    // Seven bytes (data up to offset 5, then the check byte): only ignition
    // and fuel, the ignition-off zeroing and the scope.
    expectSameActions(apply(liveFrame({{4, 0}, {5, 1}}, 0x00, 7)), {
        flagged(8, Kind::Enabled, "Zaplon_panel", false),
        colours(8, "paliwo_Switch", LiveColour::BtnFace, LiveColour::BtnFace),
        integer(8, Kind::SectorOffset, "RPM_zegar", 300),
        integer(8, Kind::PointerShape, "RPM_zegar", 2),
        value(8, "lambda_1", 0), value(8, "lambda_2", 0),
        value(8, "Skala_PB_time", 0), value(8, "Skala_LPG_time", 0),
        flagged(9, Kind::Checked, "paliwo_Switch", true),
        call(15, Kind::FeedOscilloscope),
    });

    // Length n: which targets may appear. A target never appears without its
    // data, and the last byte of an answer is its check byte, never data.
    struct Case
    {
        int length;
        QStringList present;
        QStringList absent;
    };
    const Case cases[] = {
        {27, {"Skala_P1_MAP", "RPM_Edit", "Skala_PB_time6", "Skala_LPG_time1", "lambda_1"},
         {"Slala_P_MAP", "P_MAP_edit", "BATERY_vpp", "TempWoda", "U_zbiornika", "Gaz_led_1g", "Skala_PB_time7"}},
        {35, {"TempGaz", "U_zbiornika", "Gaz_led_4p", "Slala_P_MAP"}, {"lambda_2", "Skala_PB_time8"}},
        {54, {"Skala_PB_time7"}, {"Skala_PB_time8", "lambda_2"}},
        {56, {"Skala_PB_time8"}, {"lambda_2"}},
        {57, {"lambda_2"}, {}},
    };
    for (const Case &c : cases) {
        const QList<Action> got = apply(liveFrame({{4, 1}}, 0x00, c.length));
        QSet<QString> targets;
        for (const Action &a : got)
            targets.insert(a.target);
        for (const QString &t : c.present)
            EXPECT_TRUE(targets.contains(t)) << t.toStdString() << " at " << c.length;
        for (const QString &t : c.absent)
            EXPECT_FALSE(targets.contains(t)) << t.toStdString() << " at " << c.length;
    }

    // With cylinder 8 shown, the top bar keeps its value until byte 54 arrives.
    LiveFrameApplier::Inputs in;
    in.shownCylinder = 7;
    EXPECT_TRUE(only(apply(liveFrame({{4, 1}}, 0x00, 55), in), QStringLiteral("Skala_PB_time")).isEmpty());
    EXPECT_EQ(only(apply(liveFrame({{4, 1}}, 0x00, 56), in), QStringLiteral("Skala_PB_time")).size(), 1);
}

TEST_F(LiveFrameApplierTest, HandOnCallsFollowTheDataTheyNeed)
{
    struct Case
    {
        int length;
        bool calibrating;
        bool faults;
        bool curves;
        bool sample;
    };
    const Case cases[] = {
        {37, true, false, false, false},  // no fault byte 48, no position
        {38, true, false, false, true},   // position and every sampled byte arrived
        {49, false, false, true, false},  // selector, but fault byte 48 missing
        {50, false, true, true, false},
        {57, false, true, true, false},
        {57, true, true, true, true},
    };
    for (const Case &c : cases) {
        LiveFrameApplier::Inputs in;
        in.calibrationRunning = c.calibrating;
        const QList<Action> got = apply(liveFrame({{36, 130}, {47, 2}}, 0x00, c.length), in);
        EXPECT_NE(find(got, Kind::FeedOscilloscope), nullptr) << c.length;
        EXPECT_EQ(find(got, Kind::ShowCurrentFaults) != nullptr, c.faults) << c.length;
        const Action *curves = find(got, Kind::UpdateTimeCurves);
        EXPECT_EQ(curves != nullptr, c.curves) << c.length;
        if (curves) {
            EXPECT_EQ(curves->integer, 2);
        }
        const Action *sample = find(got, Kind::StoreCalibrationSample);
        EXPECT_EQ(sample != nullptr, c.sample) << c.length << " " << c.calibrating;
        if (sample) {
            EXPECT_EQ(sample->integer, 130);
            EXPECT_EQ(got.last(), *sample) << "the sample is the last step";
        }
        // Steps never go backwards.
        for (qsizetype i = 1; i < got.size(); ++i)
            EXPECT_LE(got[i - 1].step, got[i].step);
    }
}

TEST_F(LiveFrameApplierTest, TimeTablesTakeTheFramesBytesAtItsPosition)
{
    auto frameAt = [](int p, int base) {
        return liveFrame({{36, p}, {37, 0xEE}, {38, base}, {39, 0xEE}, {40, base + 1}, {41, base + 2},
                          {42, base + 3}, {43, 0xEE}, {44, base + 4}, {45, 0xEE}, {46, base + 5}});
    };
    apply(frameAt(10, 1));
    const auto &petrol = tables.PetrolTimeTable();
    const auto &gas = tables.GasTimeTable();
    EXPECT_EQ(tables.lastStreamPosition(), 10);
    EXPECT_EQ((std::vector<int>{petrol[9], petrol[10], petrol[11], petrol[12], petrol[13]}),
              (std::vector<int>{0, 1, 2, 3, 0}));
    EXPECT_EQ((std::vector<int>{gas[11], gas[12], gas[13], gas[14], gas[15]}),
              (std::vector<int>{0, 4, 5, 6, 0}));

    // Near the end the positions past 255 are dropped, not wrapped to 0.
    struct EndCase
    {
        int p;
        int petrolWritten; // how many of P, P+1, P+2 fit
        int gasWritten;    // how many of P+2, P+3, P+4 fit
    };
    const EndCase ends[] = {{251, 3, 3}, {252, 3, 2}, {253, 3, 1}, {254, 2, 0}, {255, 1, 0}};
    for (const EndCase &e : ends) {
        InjectionTimeTables fresh;
        LiveFrameApplier own(fresh);
        own.apply(LiveFrameDecoder::decode(frameAt(e.p, 100)), {});
        EXPECT_EQ(fresh.lastStreamPosition(), e.p);
        for (int i = 0; i < 3; ++i) {
            if (e.p + i < 256) {
                EXPECT_EQ(fresh.PetrolTimeTable()[size_t(e.p + i)], 100 + i) << e.p;
            }
            if (e.p + 2 + i < 256) {
                EXPECT_EQ(fresh.GasTimeTable()[size_t(e.p + 2 + i)], 103 + i) << e.p;
            }
        }
        int petrolSet = 0;
        int gasSet = 0;
        for (int i = 0; i < 256; ++i) {
            petrolSet += fresh.PetrolTimeTable()[size_t(i)] != 0;
            gasSet += fresh.GasTimeTable()[size_t(i)] != 0;
        }
        EXPECT_EQ(petrolSet, e.petrolWritten) << e.p;
        EXPECT_EQ(gasSet, e.gasWritten) << e.p;
    }
}

TEST_F(LiveFrameApplierTest, TimeTablesKeepWhatAShortAnswerDidNotCarry)
{
    apply(liveFrame({{36, 50}, {38, 9}, {40, 9}, {41, 9}, {42, 9}, {44, 9}, {46, 9}}));
    // Position 60 arrives, but the answer's data ends with byte 41.
    apply(liveFrame({{36, 60}, {38, 1}, {40, 2}, {41, 3}}, 0xFF, 43));
    EXPECT_EQ(tables.lastStreamPosition(), 60);
    EXPECT_EQ(tables.PetrolTimeTable()[60], 1);
    EXPECT_EQ(tables.PetrolTimeTable()[62], 3);
    EXPECT_EQ(tables.GasTimeTable()[62], 0);
    EXPECT_EQ(tables.GasTimeTable()[52], 9);

    // Without a position nothing moves, not even the remembered position.
    apply(liveFrame({{4, 1}}, 0xFF, 36));
    EXPECT_EQ(tables.lastStreamPosition(), 60);
    EXPECT_EQ(tables.PetrolTimeTable()[50], 9);
}

} // namespace
