// The scope tab: what each view sets on the two channels, the order in which
// the feed hands gauge values over, and the petrol bar's label rule.
#include "live/PetrolBarLabel.h"
#include "live/ScopeFeed.h"
#include "live/ScopeViews.h"

#include <gtest/gtest.h>

#include <QHash>

namespace {

using Channel = ScopeViews::Channel;

TEST(ScopeViews, EachViewSetsNamesUnitsAndScaleEnds)
{
    struct Case
    {
        ScopeView view;
        const char *button;
        Channel ch1;
        Channel ch2;
    };
    const Channel rpm{QStringLiteral("RPM [x 1000]"), QStringLiteral("  "), 8.0f, QStringLiteral("RPM_zegar")};
    const Case cases[] = {
        {ScopeView::PetrolLpg, "OSC_PETROL_LPG",
         {QStringLiteral("Petrol"), QStringLiteral("[ms] "), 40.0f, QStringLiteral("Skala_PB_time")},
         {QStringLiteral("Gaz"), QStringLiteral(" [ms]"), 40.0f, QStringLiteral("Skala_LPG_time")}},
        {ScopeView::MapP1, "OSC_MAP_P1",
         {QStringLiteral("MAP"), QStringLiteral("[kPa] "), 250.0f, QStringLiteral("Slala_P_MAP")},
         {QStringLiteral("P1"), QStringLiteral(" [bar]"), 4.0f, QStringLiteral("Skala_P1_MAP")}},
        {ScopeView::TempLpgRed, "TEMP_LPG_RED",
         {QStringLiteral("Gaz"), QString::fromUtf16(u"[°C] "), 120.0f, QStringLiteral("TempGaz")},
         {QStringLiteral("Red"), QString::fromUtf16(u" [°C]"), 120.0f, QStringLiteral("TempWoda")}},
        {ScopeView::RpmLambda1, "RPM_LAMBDA1", rpm,
         {QStringLiteral("LAMBDA1"), QStringLiteral(" [V]"), 1.0f, QStringLiteral("lambda_1")}},
        {ScopeView::RpmLambda2, "RPM_LAMBDA2", rpm,
         {QStringLiteral("LAMBDA2"), QStringLiteral(" [V]"), 5.0f, QStringLiteral("lambda_2")}},
    };
    for (const Case &c : cases) {
        // lambda_1 still on 0..1 V, lambda_2 already switched to 0..5 V.
        const ScopeViews::Settings s = ScopeViews::settings(c.view, 1.0f, 5.0f);
        EXPECT_EQ(s.ch1, c.ch1) << c.button;
        EXPECT_EQ(s.ch2, c.ch2) << c.button;
        EXPECT_EQ(scopeViewButton(c.view), QLatin1String(c.button));
        EXPECT_EQ(scopeViewForButton(QLatin1String(c.button)), c.view);
    }
    EXPECT_FALSE(scopeViewForButton(QStringLiteral("Cyl_0_show")).has_value());
}

TEST(ScopeViews, LambdaEndIsTakenAtTheClick)
{
    // The same view chosen again after the bar switched its range.
    EXPECT_EQ(ScopeViews::settings(ScopeView::RpmLambda1, 1.0f, 1.0f).ch2.valueTo, 1.0f);
    EXPECT_EQ(ScopeViews::settings(ScopeView::RpmLambda1, 5.0f, 1.0f).ch2.valueTo, 5.0f);
    EXPECT_EQ(ScopeViews::settings(ScopeView::RpmLambda2, 5.0f, 1.0f).ch2.valueTo, 1.0f);
    // Other views do not depend on the lambda bars.
    EXPECT_EQ(ScopeViews::settings(ScopeView::MapP1, 5.0f, 5.0f), ScopeViews::settings(ScopeView::MapP1, 1.0f, 1.0f));
}

TEST(ScopeFeed, HandsTheCheckedViewsSourcesInOrder)
{
    using E = ScopeFeed::Entry;
    struct Case
    {
        std::array<bool, ScopeViewCount> checked;
        QList<E> order;
    };
    const Case cases[] = {
        {{false, false, false, false, false}, {}},
        // Petrol/gas hands channel 2 first.
        {{true, false, false, false, false}, {{2, "Skala_LPG_time"}, {1, "Skala_PB_time"}}},
        {{false, true, false, false, false}, {{1, "Slala_P_MAP"}, {2, "Skala_P1_MAP"}}},
        {{false, false, true, false, false}, {{1, "TempGaz"}, {2, "TempWoda"}}},
        {{false, false, false, true, false}, {{1, "RPM_zegar"}, {2, "lambda_1"}}},
        {{false, false, false, false, true}, {{1, "RPM_zegar"}, {2, "lambda_2"}}},
        // Should more than one ever be checked, they go in button order.
        {{false, true, false, false, true},
         {{1, "Slala_P_MAP"}, {2, "Skala_P1_MAP"}, {1, "RPM_zegar"}, {2, "lambda_2"}}},
    };
    for (const Case &c : cases) {
        const QList<E> got = ScopeFeed::order(c.checked);
        EXPECT_EQ(got, c.order) << (got.isEmpty() ? "empty" : got.first().source.toStdString());
    }
}

TEST(ScopeFeed, SamplesAreTheGaugesCurrentValues)
{
    const QHash<QString, float> gauges = {{"Slala_P_MAP", 256.0f}, {"Skala_P1_MAP", 1.0f},
                                          {"Skala_PB_time", 3.5f}, {"Skala_LPG_time", 4.25f}};
    auto read = [&](const QString &name) { return gauges.value(name, -1.0f); };
    EXPECT_EQ(ScopeFeed::samples({false, true, false, false, false}, read),
              (QList<ScopeFeed::Sample>{{1, 256.0f}, {2, 1.0f}}));
    EXPECT_EQ(ScopeFeed::samples({true, false, false, false, false}, read),
              (QList<ScopeFeed::Sample>{{2, 4.25f}, {1, 3.5f}}));
    EXPECT_TRUE(ScopeFeed::samples({}, read).isEmpty());
}

TEST(PetrolBarLabel, NamesTheCylinderOnlyWhenItsInjectorLedIsLit)
{
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(PetrolBarLabel::afterChoice(k, true), QStringLiteral("CYL %1").arg(k + 1));
        EXPECT_FALSE(PetrolBarLabel::afterChoice(k, false).has_value()) << k;
    }
    EXPECT_FALSE(PetrolBarLabel::afterChoice(8, true).has_value());
    EXPECT_FALSE(PetrolBarLabel::afterChoice(-1, true).has_value());
}

} // namespace
