// Connecting and disconnecting by the "Porty" menu or by the connection
// switch leave the window in the same state: the same menu items and
// buttons enabled, whichever way and in whatever order.
#include "E2eFixture.h"

#include "widgets/TToggleSwitch.h"

#include <QAction>
#include <QToolButton>

#include <map>

namespace {

enum class Way { Menu, Switch };

const char *nameOf(Way w) { return w == Way::Menu ? "menu" : "switch"; }

class E2eConnectWays : public E2eFixture
{
protected:
    TToggleSwitch *connectSwitch() { return window->component<TToggleSwitch>(QStringLiteral("Polacz_switch")); }

    // A press on the half of the switch that throws it, as the fitter's hand does.
    void throwSwitch()
    {
        TToggleSwitch *sw = connectSwitch();
        const bool horizontal = sw->width() >= sw->height();
        const bool on = sw->Checked();
        const QPoint at = horizontal ? QPoint(on ? sw->width() * 3 / 4 : sw->width() / 4, sw->height() / 2)
                                     : QPoint(sw->width() / 2, on ? sw->height() * 3 / 4 : sw->height() / 4);
        QTest::mouseClick(sw, Qt::LeftButton, Qt::NoModifier, at);
    }

    void connectBy(Way w)
    {
        if (w == Way::Menu)
            window->polacz->trigger();
        else
            throwSwitch();
        ASSERT_TRUE(waitConnected()) << "connect by " << nameOf(w) << ": " << linkReport();
        polls(1);
    }

    void disconnectBy(Way w)
    {
        if (w == Way::Menu)
            window->rozlacz1->trigger();
        else
            throwSwitch();
        ASSERT_TRUE(waitDisconnected(5000)) << "disconnect by " << nameOf(w) << ": " << linkReport();
        QCoreApplication::processEvents();
    }

    // What the fitter can reach: enabled and visible items and buttons.
    std::map<std::string, std::pair<bool, bool>> controls()
    {
        std::map<std::string, std::pair<bool, bool>> out;
        for (const char *name : {"polacz", "rozlacz1", "Odczyt1", "Zapis1", "Reset1", "Nagrywanie1", "EksportCSV1",
                                 "Odtwarzanie1"}) {
            const QAction *a = window->component<QAction>(QString::fromLatin1(name));
            EXPECT_NE(a, nullptr) << name;
            if (a)
                out[name] = {a->isEnabled(), a->isVisible()};
        }
        const QToolButton *record = window->component<QToolButton>(QStringLiteral("Nagrywanie_button"));
        EXPECT_NE(record, nullptr);
        if (record)
            out["Nagrywanie_button"] = {record->isEnabled(), true};
        out["Polacz_switch"] = {connectSwitch()->Checked(), true};
        return out;
    }

    static std::string describe(const std::map<std::string, std::pair<bool, bool>> &c)
    {
        std::string s;
        for (const auto &[name, state] : c)
            s += name + (state.first ? " on" : " off") + (state.second ? "" : " hidden") + "; ";
        return s;
    }
};

TEST_F(E2eConnectWays, EveryWayAndOrderLeavesTheSameControls)
{
    startBoth({QStringLiteral("--warm")});
    window->show();
    const auto atStart = controls();
    EXPECT_TRUE(atStart.at("Odtwarzanie1").first) << "replay is offered while nothing is connected";
    EXPECT_FALSE(atStart.at("Nagrywanie1").first);

    // Every pair of ways, each connect after a disconnect by either way.
    const std::pair<Way, Way> runs[] = {{Way::Menu, Way::Menu},     {Way::Switch, Way::Switch}, {Way::Menu, Way::Switch},
                                        {Way::Switch, Way::Menu},   {Way::Switch, Way::Switch}, {Way::Menu, Way::Menu}};
    std::optional<std::map<std::string, std::pair<bool, bool>>> connectedByMenu;
    for (const auto &[in, out] : runs) {
        SCOPED_TRACE(std::string("connect by ") + nameOf(in) + ", disconnect by " + nameOf(out));
        connectBy(in);
        if (HasFatalFailure())
            return;
        const auto connected = controls();
        EXPECT_TRUE(connected.at("Nagrywanie1").first) << describe(connected);
        EXPECT_TRUE(connected.at("Nagrywanie_button").first) << describe(connected);
        EXPECT_FALSE(connected.at("Odtwarzanie1").first) << describe(connected);
        EXPECT_TRUE(connected.at("Zapis1").first) << describe(connected);
        if (!connectedByMenu)
            connectedByMenu = connected;
        EXPECT_EQ(describe(connected), describe(*connectedByMenu));

        disconnectBy(out);
        if (HasFatalFailure())
            return;
        EXPECT_EQ(describe(controls()), describe(atStart));
    }
    EXPECT_TRUE(watcher->messages().isEmpty()) << watcher->messages().join(QStringLiteral(" | ")).toStdString();
}

} // namespace
