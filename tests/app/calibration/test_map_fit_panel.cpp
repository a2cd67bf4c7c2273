// "Fit to curves" on the map page: the proposal on the chart with its
// summary, writing it exactly as the arrows write a map, discarding it,
// undoing the last write, and the refusals that send nothing.
#include "app/calibration/CalibrationMapTabs.h"
#include "app/calibration/MapChart.h"
#include "app/calibration/MapFitPanel.h"
#include "app/calibration/MapPage.h"

#include "i18n/LanguageTable.h"
#include "live/InjectionTimeTables.h"

#include <QAbstractAxis>
#include <QApplication>
#include <QChart>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QValueAxis>
#include <QXYSeries>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace {

struct Sent
{
    int retries;
    CommandBodies::Group commands;
};

QByteArray flatBlock(int value)
{
    QByteArray block(602, '\0');
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        block[65 + k] = char(value);
    return block;
}

// Tables as the stream brings them: petrol and gas times per position, by rule.
void fill(InjectionTimeTables &tables, int from, int to, const std::function<std::pair<int, int>(int)> &at)
{
    for (int p = 0; p <= 255; p += 3) {
        LiveValues v;
        v.streamPosition = p;
        for (int j = 0; j < LiveValues::TableBytes; ++j) {
            const int pp = p + j, pg = p + 2 + j;
            v.petrolTableBytes[size_t(j)] = uint8_t(pp >= from && pp <= to ? at(pp).first : 0);
            v.gasTableBytes[size_t(j)] = uint8_t(pg >= from && pg <= to ? at(pg).second : 0);
        }
        tables.store(v);
    }
}

// Petrol 2.0..8.0 ms at 20..80 kPa, gas 1.2 times as long.
std::pair<int, int> twentyPercentMore(int p)
{
    return {p, p * 6 / 5};
}

class MapFitPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Numbers in the summary and notes follow the locale; these are English.
        QLocale::setDefault(QLocale::c());
        tab.reset(CalibrationMapTabs::map(nullptr));
        tab->resize(1100, 420);
        tab->show();
        QApplication::processEvents();
        MapPage::Link pageLink;
        pageLink.connected = [this] { return online; };
        pageLink.commandPending = [this] { return pending; };
        pageLink.queue = [this](int retries, const CommandBodies::Group &g) { sent.push_back({retries, g}); };
        pageLink.notice = [this](const QString &key) { notices << key; };
        page = std::make_unique<MapPage>(tab.get(), std::move(pageLink));
        page->loadCorrectionMap(flatBlock(100));

        texts.applyLanguageColumn(LanguageTable::English);
        MapFitPanel::Link link;
        link.connected = [this] { return online; };
        link.calibrating = [this] { return calibrating; };
        link.commandPending = [this] { return pending; };
        link.queue = [this](int retries, const CommandBodies::Group &g) { sent.push_back({retries, g}); };
        link.notice = [this](const QString &text) { notices << text; };
        link.text = [this](const QString &key) { return texts.programText(key); };
        link.tables = [this]() -> const InjectionTimeTables & { return tables; };
        panel = std::make_unique<MapFitPanel>(tab.get(), *page, std::move(link));
        fit = button("MapFitButton");
        write = button("MapFitWriteButton");
        reject = button("MapFitRejectButton");
        undo = button("MapFitUndoButton");
        summary = tab->findChild<QLabel *>(QStringLiteral("MapFitSummary"));
        ASSERT_NE(summary, nullptr);
    }

    QPushButton *button(const char *name)
    {
        auto *b = tab->findChild<QPushButton *>(QString::fromLatin1(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    QList<QPointF> mapShown() const { return page->chart().series[MapChart::Map]->points(); }
    QList<QPointF> proposalShown() const { return panel->proposalSeries()->points(); }

    LanguageTable texts = LanguageTable::builtIn();
    InjectionTimeTables tables;
    std::unique_ptr<QWidget> tab;
    std::unique_ptr<MapPage> page;
    std::unique_ptr<MapFitPanel> panel;
    QPushButton *fit = nullptr, *write = nullptr, *reject = nullptr, *undo = nullptr;
    QLabel *summary = nullptr;
    bool online = true, calibrating = false, pending = false;
    std::vector<Sent> sent;
    QStringList notices;
};

TEST_F(MapFitPanelTest, ProposalIsShownDashedOnTheLeftAxisWithItsSummaryAndNothingSent)
{
    fill(tables, 20, 80, twentyPercentMore);
    EXPECT_FALSE(write->isVisibleTo(tab.get()));
    fit->click();
    EXPECT_TRUE(sent.empty());
    const QList<QPointF> p = proposalShown();
    ASSERT_EQ(p.size(), CorrectionMap::Points);
    EXPECT_DOUBLE_EQ(p[30].x(), 4.0);
    EXPECT_DOUBLE_EQ(p[30].y(), 1.2) << "4.0 ms: 100 x 1.2";
    EXPECT_DOUBLE_EQ(p[0].y(), 1.0) << "1.0 ms lies a millisecond below the data: unchanged";
    const QList<QAbstractAxis *> axes = panel->proposalSeries()->attachedAxes();
    EXPECT_TRUE(axes.contains(page->chart().multiplier));
    EXPECT_FALSE(axes.contains(page->chart().map));
    EXPECT_EQ(panel->proposalSeries()->pen().style(), Qt::DashLine);
    EXPECT_EQ(panel->proposalSeries()->pen().color(), QColor(0xFF, 0x00, 0xFF));
    EXPECT_EQ(mapShown()[30].y(), 1.0) << "the map itself is unchanged until written";
    // Covered 2.0..8.0 ms, 100 -> 120 inside, fading over a millisecond each side:
    // points 11..71 plus nine on each side.
    EXPECT_EQ(summary->text(), QStringLiteral("Proposal: 2.0–8.0 ms, largest rise +20.0 %, largest fall −0.0 %, 79 points change"));
    EXPECT_TRUE(write->isVisibleTo(tab.get()));
    EXPECT_TRUE(reject->isVisibleTo(tab.get()));
    EXPECT_FALSE(undo->isVisibleTo(tab.get()));
}

TEST_F(MapFitPanelTest, WriteSendsThePointsAsTheArrowsDoAndTheChartShowsThemAsTheMap)
{
    fill(tables, 20, 80, twentyPercentMore);
    fit->click();
    const CorrectionMap proposal = panel->flow().lastResult().proposal;
    write->click();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].retries, MapPage::MapRetries);
    EXPECT_EQ(sent[0].commands, proposal.writeCommands());
    EXPECT_EQ(sent[0].commands.first.size(), 1 + CorrectionMap::Points);
    EXPECT_EQ(uint8_t(sent[0].commands.first[0]), 0x0B);
    EXPECT_EQ(uint8_t(sent[0].commands.first[31]), 120);
    EXPECT_EQ(sent[0].commands.second, CommandBodies::mapEditorFollowUp());
    EXPECT_EQ(page->correctionMap().values(), proposal.values());
    EXPECT_DOUBLE_EQ(mapShown()[30].y(), 1.2);
    EXPECT_TRUE(proposalShown().isEmpty());
    EXPECT_TRUE(summary->text().isEmpty());
    EXPECT_FALSE(write->isVisibleTo(tab.get()));
    EXPECT_TRUE(undo->isVisibleTo(tab.get()));
    EXPECT_EQ(notices.value(0), texts.programText(u"map.fit.written"));

    // Undo writes back the flat map, once.
    undo->click();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].retries, MapPage::MapRetries);
    EXPECT_EQ(sent[1].commands.first, QByteArray(1, char(0x0B)) + QByteArray(CorrectionMap::Points, char(100)));
    EXPECT_DOUBLE_EQ(mapShown()[30].y(), 1.0);
    EXPECT_FALSE(undo->isVisibleTo(tab.get()));
}

TEST_F(MapFitPanelTest, DiscardDropsTheProposalAndSendsNothing)
{
    fill(tables, 20, 80, twentyPercentMore);
    fit->click();
    reject->click();
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(proposalShown().isEmpty());
    EXPECT_TRUE(summary->text().isEmpty());
    EXPECT_FALSE(write->isVisibleTo(tab.get()));
    EXPECT_FALSE(undo->isVisibleTo(tab.get()));
    EXPECT_EQ(page->correctionMap().value(31), 100);
}

TEST_F(MapFitPanelTest, WriteWhileTheQueueIsBusyKeepsTheProposalAndSaysSo)
{
    fill(tables, 20, 80, twentyPercentMore);
    fit->click();
    pending = true;
    write->click();
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(notices.value(0), texts.programText(u"map.fit.not_sent_busy"));
    EXPECT_EQ(proposalShown().size(), CorrectionMap::Points);
    pending = false;
    write->click();
    EXPECT_EQ(sent.size(), 1u);
}

struct RefusalCase
{
    std::string name;
    bool online;
    bool calibrating;
    int from, to; // learned positions
    QString note; // English
    friend void PrintTo(const RefusalCase &c, std::ostream *os) { *os << c.name; }
};

class MapFitRefusal : public MapFitPanelTest, public ::testing::WithParamInterface<RefusalCase>
{
};

TEST_P(MapFitRefusal, SaysWhyAndSendsNothing)
{
    const RefusalCase &c = GetParam();
    fill(tables, c.from, c.to, twentyPercentMore);
    online = c.online;
    calibrating = c.calibrating;
    fit->click();
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(proposalShown().isEmpty());
    EXPECT_TRUE(summary->text().isEmpty());
    EXPECT_FALSE(write->isVisibleTo(tab.get()));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0], c.note);
}

INSTANTIATE_TEST_SUITE_P(
    MapFit, MapFitRefusal,
    ::testing::Values(
        RefusalCase{"Disconnected", false, false, 20, 80, QStringLiteral("Not fitted: no controller connected")},
        RefusalCase{"DuringCalibration", true, true, 20, 80, QStringLiteral("Not fitted: a calibration is running")},
        RefusalCase{"SevenPositions", true, false, 20, 26,
                    QStringLiteral("Not fitted: too little data, both curves share only 7 usable MAP positions (8 needed)")},
        RefusalCase{"UnderAMillisecond", true, false, 20, 28,
                    QStringLiteral("Not fitted: too little data, the curves cover only 0.8 ms (1 ms needed)")}),
    [](const auto &info) { return info.param.name; });

TEST_F(MapFitPanelTest, CaptionsInFourLanguagesAreTheAccessibleNames)
{
    const struct
    {
        LanguageTable::Column column;
        const char *fit, *write, *reject, *undo;
    } languages[] = {
        {LanguageTable::Polish, "Dopasuj do krzywych", "Zapisz mapę", "Odrzuć", "Cofnij"},
        {LanguageTable::English, "Fit to curves", "Write map", "Discard", "Undo"},
        {LanguageTable::German, "An Kurven anpassen", "Kennfeld schreiben", "Verwerfen", "Rückgängig"},
        {LanguageTable::Czech, "Přizpůsobit křivkám", "Zapsat mapu", "Zahodit", "Zpět"},
    };
    for (const auto &l : languages) {
        texts.applyLanguageColumn(l.column);
        panel->retranslate();
        for (const auto &[b, caption] : {std::pair{fit, l.fit}, {write, l.write}, {reject, l.reject}, {undo, l.undo}}) {
            EXPECT_EQ(b->text(), QString::fromUtf8(caption));
            EXPECT_EQ(b->accessibleName(), QString::fromUtf8(caption));
        }
    }
}

TEST(MapChartAxis, RightAxisLabelsRoundValuesAtBothMaxima)
{
    std::unique_ptr<QWidget> tab(CalibrationMapTabs::map(nullptr));
    QWidget *chart1 = tab->findChild<QWidget *>(QStringLiteral("Chart1"));
    QValueAxis *map = MapChart::parts(chart1).map;
    ASSERT_NE(map, nullptr);
    auto expect = [&](double max, double interval, int minor) {
        EXPECT_EQ(map->max(), max);
        EXPECT_EQ(map->tickType(), QValueAxis::TicksDynamic);
        EXPECT_EQ(map->tickAnchor(), 0.0);
        EXPECT_EQ(map->tickInterval(), interval) << max;
        EXPECT_EQ(map->minorTickCount(), minor) << max;
    };
    expect(100, 10, 0);
    MapChart::setRightAxisMaximum(chart1, 256);
    expect(256, 50, 4); // 0, 50 .. 250 with a line every 10 between
    MapChart::setRightAxisMaximum(chart1, 100);
    expect(100, 10, 0);
}

} // namespace
