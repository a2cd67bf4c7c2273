// The "Wskaźnik poziomu" group on its own page: what the fitter's focus,
// keys and picks do to the edits, the slider and the commands handed on.
#include "app/settings/LevelSensorGroup.h"
#include "app/settings/SwitchTab.h"
#include "app/common/UserMessage.h"

#include "widgets/TVSlider.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

namespace CommandBodies {
inline void PrintTo(const Group &g, std::ostream *os)
{
    *os << '{' << g.first.toHex(' ').toStdString() << " | " << g.second.toHex(' ').toStdString() << '}';
}
} // namespace CommandBodies

namespace {

using CommandBodies::Group;

Group one(const char *hex) { return {QByteArray::fromHex(hex), {}, {}}; }
Group two(const char *first, const char *second) { return {QByteArray::fromHex(first), QByteArray::fromHex(second), {}}; }

const Group Begin = one("3101");

class LevelSensorGroupTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_oldLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
        UserMessage::setInterceptor([this](const QString &text) { messages << text; });
        page = std::make_unique<QWidget>();
        auto *column = new QVBoxLayout(page.get());
        column->addWidget(SwitchTab::build(page.get()).page);
        view = LevelSensorView::find(page.get());
        ASSERT_NE(view.changer, nullptr);
        group = std::make_unique<LevelSensorGroup>(
            view, [this](const Group &g) { sent << g; }, [this] { return stored; },
            [](const QString &key) { return key == QStringLiteral("level.not_a_number") ? QStringLiteral("bad %1") : key; },
            page.get());
        const char *texts[] = {"0,70", "1,50", "2,20", "2,80"};
        for (int j = 0; j < 4; ++j)
            view.thresholds[j]->setText(QString::fromLatin1(texts[j]));
        view.sensorType->setCurrentIndex(0);
        page->show();
        page->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
        view.reading->setFocus();
        sent.clear();
    }

    void TearDown() override
    {
        group.reset();
        page.reset();
        UserMessage::setInterceptor({});
        QLocale::setDefault(m_oldLocale);
    }

    QLineEdit *edit(int j) const { return view.thresholds[j - 1]; }
    bool green(int j) const { return edit(j)->palette().color(QPalette::Base) == LevelSensorGroup::activeColour(); }
    int greenCount() const
    {
        int n = 0;
        for (int j = 1; j <= 4; ++j)
            n += green(j) ? 1 : 0;
        return n;
    }
    void tap(Qt::Key key)
    {
        QTest::keyPress(view.changer, key);
        QTest::keyRelease(view.changer, key);
    }
    void pick(int item)
    {
        view.sensorType->setFocus();
        view.sensorType->setCurrentIndex(item);
        emit view.sensorType->activated(item);
    }

    std::unique_ptr<QWidget> page;
    LevelSensorView view;
    std::unique_ptr<LevelSensorGroup> group;
    QList<Group> sent;
    QStringList messages;
    QByteArray stored;

private:
    QLocale m_oldLocale;
};

} // namespace

TEST_F(LevelSensorGroupTest, EnteringAThresholdShowsTheSliderHoldingItsValue)
{
    EXPECT_FALSE(view.changer->isVisible());
    edit(1)->setFocus();
    EXPECT_TRUE(view.changer->isVisible());
    EXPECT_TRUE(view.changer->hasFocus());
    EXPECT_FALSE(edit(1)->hasFocus());
    EXPECT_TRUE(green(1));
    EXPECT_EQ(greenCount(), 1);
    EXPECT_EQ(view.changer->Digit(), 70);
    EXPECT_EQ(edit(1)->text(), QStringLiteral("0,7")); // rewritten in the slider's way
    EXPECT_EQ(sent, QList<Group>{Begin});
}

TEST_F(LevelSensorGroupTest, KeyOnTheSliderRewritesTheEditAndItsReleaseSendsTheWholeSet)
{
    edit(1)->setFocus();
    QTest::keyPress(view.changer, Qt::Key_Up);
    EXPECT_EQ(edit(1)->text(), QStringLiteral("0,71"));
    EXPECT_EQ(sent, QList<Group>{Begin}); // nothing until the key is let go
    QTest::keyRelease(view.changer, Qt::Key_Up);
    // 0.71 x 51 = 36.21 -> 0x24; the others as shown; type of item 0.
    EXPECT_EQ(sent, (QList<Group>{Begin, two("0d244c708f00", "3100")}));
    EXPECT_FALSE(view.changer->isVisible());
    EXPECT_EQ(greenCount(), 0);
    EXPECT_TRUE(view.reading->hasFocus());
    EXPECT_EQ(edit(1)->text(), QStringLiteral("0,71"));
}

TEST_F(LevelSensorGroupTest, SliderStopsAtFiveVoltsAndOnlyUpAndDownMoveIt)
{
    edit(4)->setText(QStringLiteral("4,99"));
    edit(4)->setFocus();
    QTest::keyPress(view.changer, Qt::Key_Right); // not one of its keys
    QTest::keyPress(view.changer, Qt::Key_PageUp);
    EXPECT_EQ(edit(4)->text(), QStringLiteral("4,99"));
    QTest::keyPress(view.changer, Qt::Key_Up);
    QTest::keyPress(view.changer, Qt::Key_Up);
    EXPECT_EQ(edit(4)->text(), QStringLiteral("5"));
    QTest::keyRelease(view.changer, Qt::Key_Up);
    // 5 V x 51 = 255.
    EXPECT_EQ(sent.last(), two("0d244c70ff00", "3100"));
}

TEST_F(LevelSensorGroupTest, LeavingTheSliderUnmovedHidesItAndSendsNothingMore)
{
    edit(2)->setFocus();
    view.reading->setFocus();
    EXPECT_FALSE(view.changer->isVisible());
    EXPECT_EQ(greenCount(), 0);
    EXPECT_EQ(sent, QList<Group>{Begin});
}

TEST_F(LevelSensorGroupTest, MovingToAnotherThresholdMovesTheGreen)
{
    edit(2)->setFocus();
    edit(3)->setFocus();
    EXPECT_TRUE(green(3));
    EXPECT_EQ(greenCount(), 1);
    EXPECT_EQ(view.changer->Digit(), 220);
    EXPECT_TRUE(view.changer->hasFocus());
    QTest::keyPress(view.changer, Qt::Key_Down);
    QTest::keyRelease(view.changer, Qt::Key_Down);
    // 2.19 x 51 = 111.69 -> 0x70 again; 1.50 stays "1,5" after its visit.
    EXPECT_EQ(edit(3)->text(), QStringLiteral("2,19"));
    EXPECT_EQ(edit(2)->text(), QStringLiteral("1,5"));
    EXPECT_EQ(sent, (QList<Group>{Begin, Begin, two("0d244c708f00", "3100")}));
}

TEST_F(LevelSensorGroupTest, FocusOnTheTypeListBeginsEditingWithoutTheSlider)
{
    view.sensorType->setFocus();
    EXPECT_EQ(sent, QList<Group>{Begin});
    EXPECT_FALSE(view.changer->isVisible());
    EXPECT_TRUE(view.sensorType->hasFocus());
    // Its popup taking the focus and giving it back is no new entry.
    QFocusEvent out(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(view.sensorType, &out);
    QFocusEvent in(QEvent::FocusIn, Qt::PopupFocusReason);
    QApplication::sendEvent(view.sensorType, &in);
    EXPECT_EQ(sent, QList<Group>{Begin});
}

TEST_F(LevelSensorGroupTest, TypeSetByTheProgramSendsNothing)
{
    view.sensorType->setCurrentIndex(1);
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(edit(1)->text(), QStringLiteral("0,70"));
}

TEST_F(LevelSensorGroupTest, ThresholdThatIsNoNumberStopsTheChangeWithAMessage)
{
    edit(3)->setText(QStringLiteral("x"));
    edit(1)->setFocus();
    tap(Qt::Key_Up);
    EXPECT_EQ(messages, QStringList{QStringLiteral("bad x")});
    EXPECT_EQ(sent, QList<Group>{Begin});
}

TEST_F(LevelSensorGroupTest, WithoutAPickedTypeTheControllersOwnTypeGoesBack)
{
    stored = QByteArray(602, '\0');
    stored[29] = char(0x05);
    view.sensorType->setCurrentIndex(-1);
    edit(1)->setFocus();
    tap(Qt::Key_Down);
    EXPECT_EQ(sent, (QList<Group>{Begin, two("0d234c708f05", "3100")})); // 0.69 x 51 = 35.19

    // Nothing is known about the type at all: the change is not sent.
    stored.clear();
    edit(1)->setFocus();
    tap(Qt::Key_Down);
    EXPECT_EQ(sent.size(), 3);
    EXPECT_EQ(sent.last(), Begin);
}

// Picking a type writes that type's defaults in the system's own decimal
// format and sends them, on a decimal-comma and a decimal-point system alike.
struct PickCase
{
    const char *name;
    QLocale::Language language;
    int item;
    std::array<const char *, 4> texts;
    const char *command;
};

class LevelSensorPick : public LevelSensorGroupTest, public testing::WithParamInterface<PickCase>
{
};

TEST_P(LevelSensorPick, WritesTheDefaultsAndSendsThemWithTheType)
{
    QLocale::setDefault(QLocale(GetParam().language));
    pick(GetParam().item);
    for (int j = 1; j <= 4; ++j)
        EXPECT_EQ(edit(j)->text(), QString::fromLatin1(GetParam().texts[j - 1])) << "threshold " << j;
    EXPECT_EQ(sent, (QList<Group>{Begin, two(GetParam().command, "3100")}));
    EXPECT_FALSE(view.changer->isVisible());
    EXPECT_TRUE(view.reading->hasFocus());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QStringLiteral(" | ")).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Types, LevelSensorPick,
    testing::Values(PickCase{"Rising_DecimalComma", QLocale::Polish, 0, {"0,70", "1,50", "2,20", "2,80"}, "0d244c708f00"},
                    PickCase{"Falling_DecimalComma", QLocale::Polish, 1, {"2,80", "2,20", "1,50", "0,70"}, "0d8f704c2402"},
                    PickCase{"Rising_DecimalPoint", QLocale::English, 0, {"0.70", "1.50", "2.20", "2.80"}, "0d244c708f00"},
                    PickCase{"Falling_DecimalPoint", QLocale::English, 1, {"2.80", "2.20", "1.50", "0.70"}, "0d8f704c2402"}),
    [](const testing::TestParamInfo<PickCase> &info) { return std::string(info.param.name); });
