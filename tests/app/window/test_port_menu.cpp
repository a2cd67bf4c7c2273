// The "Porty" menu rules on the menu the window really builds, without a
// window around it.
#include "app/window/MainMenu.h"
#include "app/window/PortMenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>

#include <gtest/gtest.h>

namespace {

QStringList texts(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        out << a->text();
    return out;
}

QStringList names(const QList<QAction *> &actions)
{
    QStringList out;
    for (const QAction *a : actions)
        out << a->objectName();
    return out;
}

QStringList checkedNames(const QMenu *menu)
{
    QStringList out;
    for (const QAction *a : menu->actions())
        if (a->isChecked())
            out << a->objectName();
    return out;
}

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int n = from; n <= to; ++n)
        out << QString::number(n);
    return out;
}

struct PresentPortsCase
{
    const char *label;
    QStringList present;
    QStringList expectedTexts; // whole menu after captioning and removal
    QString expectedFirst;
};

void PrintTo(const PresentPortsCase &c, std::ostream *os)
{
    *os << c.label;
}

class PortMenuTest : public ::testing::TestWithParam<PresentPortsCase>
{
protected:
    QMainWindow window;
    MainMenu menus = MainMenu::build(&window);
};

TEST_P(PortMenuTest, KeepsOnlyPresentPortsInDefinitionOrderFollowedByConnectItems)
{
    const PresentPortsCase &c = GetParam();
    PortMenu ports(menus.ports);
    ports.captionPresentPorts(c.present);
    ports.removeAbsentPorts();

    EXPECT_EQ(texts(menus.ports), c.expectedTexts);
    EXPECT_EQ(ports.firstItemName(), c.expectedFirst);
    const QList<QAction *> all = menus.ports->actions();
    ASSERT_GE(all.size(), 2);
    EXPECT_EQ(all[all.size() - 2]->objectName(), QStringLiteral("polacz"));
    EXPECT_EQ(all.last()->objectName(), QStringLiteral("rozlacz1"));
    // Every remaining port item carries the component name it is captioned with.
    for (QAction *item : ports.portItems())
        EXPECT_EQ(item->objectName(), item->text());
}

const QStringList kTail{QStringLiteral("Połącz"), QStringLiteral("Rozłącz")};

INSTANTIATE_TEST_SUITE_P(
    Ports, PortMenuTest,
    ::testing::Values(
        PresentPortsCase{"two", {"COM1", "COM4"}, QStringList{"COM1", "COM4"} + kTail, "COM1"},
        // The system list is sorted as text; the menu keeps its own order.
        PresentPortsCase{"text_sorted", {"COM10", "COM2", "COM30"}, QStringList{"COM2", "COM10", "COM30"} + kTail,
                         "COM2"},
        // Names outside the menu are ignored rather than added.
        PresentPortsCase{"foreign", {"COM31", "ttyS0", "com5", "COM4"}, QStringList{"COM4"} + kTail, "COM4"},
        PresentPortsCase{"duplicates", {"COM3", "COM3"}, QStringList{"COM3"} + kTail, "COM3"},
        // Without any port the first item is the connect item itself.
        PresentPortsCase{"none", {}, kTail, "polacz"}),
    [](const auto &info) { return std::string(info.param.label); });

TEST(PortMenuDefinition, StartsWithThirtyNumberedItems)
{
    QMainWindow window;
    MainMenu menus = MainMenu::build(&window);
    EXPECT_EQ(texts(menus.ports), numbers(1, 30) + kTail);
    QStringList expectedNames;
    for (int n = 1; n <= 30; ++n)
        expectedNames << QStringLiteral("COM%1").arg(n);
    EXPECT_EQ(names(PortMenu(menus.ports).portItems()), expectedNames);
    EXPECT_TRUE(checkedNames(menus.ports).isEmpty());
}

TEST(PortMenuRemoval, DestroysTheItemsOfAbsentPorts)
{
    QMainWindow window;
    MainMenu menus = MainMenu::build(&window);
    QPointer<QAction> absent = menus.ports->findChild<QAction *>(QStringLiteral("COM2"));
    QPointer<QAction> present = menus.ports->findChild<QAction *>(QStringLiteral("COM5"));
    ASSERT_TRUE(absent && present);

    PortMenu ports(menus.ports);
    ports.captionPresentPorts({QStringLiteral("COM5")});
    ports.removeAbsentPorts();

    EXPECT_TRUE(absent.isNull());
    EXPECT_FALSE(present.isNull());
}

TEST(PortMenuRemoval, ItemWhoseCaptionAlreadyReadsComStays)
{
    // Removal looks at captions, not at the list: an item renamed earlier survives.
    QMainWindow window;
    MainMenu menus = MainMenu::build(&window);
    menus.ports->findChild<QAction *>(QStringLiteral("COM7"))->setText(QStringLiteral("COM7"));
    PortMenu ports(menus.ports);
    ports.captionPresentPorts({QStringLiteral("COM1")});
    ports.removeAbsentPorts();
    EXPECT_EQ(texts(menus.ports), QStringList({"COM1", "COM7"}) + kTail);
}

TEST(PortMenuChecks, CheckPortNamedMarksOnlyMatchingPortItems)
{
    QMainWindow window;
    MainMenu menus = MainMenu::build(&window);
    PortMenu ports(menus.ports);

    ports.checkPortNamed(QStringLiteral("COM12"));
    EXPECT_EQ(checkedNames(menus.ports), QStringList{"COM12"});

    // Unknown names, the connect items and an empty name check nothing more.
    for (const char *name : {"COM31", "polacz", "rozlacz1", ""})
        ports.checkPortNamed(QString::fromLatin1(name));
    EXPECT_EQ(checkedNames(menus.ports), QStringList{"COM12"});
}

TEST(PortMenuChecks, CheckOnlyLeavesExactlyTheChosenItemChecked)
{
    QMainWindow window;
    MainMenu menus = MainMenu::build(&window);
    PortMenu ports(menus.ports);
    for (const char *name : {"COM1", "COM2", "COM30"})
        ports.checkPortNamed(QString::fromLatin1(name));

    ports.checkOnly(menus.ports->findChild<QAction *>(QStringLiteral("COM9")));
    EXPECT_EQ(checkedNames(menus.ports), QStringList{"COM9"});
}

// The menu is listed again each time it opens: ports plugged in since appear
// in their place, ports pulled out go, items that stay are the same items.
TEST(PortMenuRelist, FollowsThePortsPresentWhenOpened)
{
    QMainWindow window;
    MainMenu menus = MainMenu::build(&window);
    PortMenu ports(menus.ports);
    ports.captionPresentPorts({QStringLiteral("COM1"), QStringLiteral("COM4")});
    ports.removeAbsentPorts();
    // The window's own options follow the connect items; they are no ports.
    menus.ports->addSeparator();
    menus.ports->addAction(QStringLiteral("Reconnect automatically"))->setCheckable(true);
    QPointer<QAction> kept = menus.ports->findChild<QAction *>(QStringLiteral("COM4"));
    QPointer<QAction> gone = menus.ports->findChild<QAction *>(QStringLiteral("COM1"));

    QStringList added;
    const QStringList present = PortMenu::menuPorts({"COM7", "ttyUSB0", "COM4", "COM31", "COM2", "COM07"});
    EXPECT_EQ(present, QStringList({"COM2", "COM4", "COM7"}));
    ports.relist(present, QStringLiteral("COM7"), [&](QAction *item) { added << item->objectName(); });

    EXPECT_EQ(names(ports.portItems()), QStringList({"COM2", "COM4", "COM7"}));
    EXPECT_EQ(added, QStringList({"COM2", "COM7"}));
    EXPECT_FALSE(kept.isNull());
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(checkedNames(menus.ports), QStringList{"COM7"});
    EXPECT_EQ(ports.firstItemName(), QStringLiteral("COM2"));
    const QList<QAction *> all = menus.ports->actions();
    EXPECT_EQ(all[3]->objectName(), QStringLiteral("polacz"));
    EXPECT_EQ(all[4]->objectName(), QStringLiteral("rozlacz1"));

    // Nothing changed: nothing is made again.
    added.clear();
    ports.relist(present, QStringLiteral("COM4"), [&](QAction *item) { added << item->objectName(); });
    EXPECT_TRUE(added.isEmpty());
    EXPECT_EQ(checkedNames(menus.ports), QStringList{"COM4"});

    // Every adapter pulled out: only the connect items and the options stay.
    ports.relist({}, QStringLiteral("COM4"), {});
    EXPECT_TRUE(ports.portItems().isEmpty());
    EXPECT_EQ(ports.firstItemName(), QStringLiteral("polacz"));
}

} // namespace
