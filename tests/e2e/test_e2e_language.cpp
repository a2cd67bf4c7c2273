// A language switch while the window is connected to zenu-sim: the texts
// change, but nothing except polls goes on the line and the settings shown
// keep their values.
#include "E2eFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QMenu>

namespace {

constexpr int PollCode = 0x55;

class E2eLanguage : public E2eFixture
{
protected:
    // Everything the program sent that was not a poll.
    int nonPolls() const
    {
        int n = 0;
        for (const LoggedFrame &f : frames())
            n += f.incoming && f.code != PollCode;
        return n;
    }
};

TEST_F(E2eLanguage, SwitchWhileConnectedSendsNothingButPolls)
{
    startBoth({QStringLiteral("--warm")});
    window->component<QAction>(kCom)->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    polls(2);
    auto *cylinders = window->component<QComboBox>(QStringLiteral("Sel_cyl"));
    auto *pulses = window->component<QComboBox>(QStringLiteral("Sel_Impuls"));
    ASSERT_TRUE(cylinders && pulses);
    // Choices as the program sets them from a settings block.
    cylinders->setCurrentIndex(1);
    pulses->setCurrentIndex(3);
    polls(1);
    const int before = nonPolls();

    // Every language by menu and by flag, and the current one again.
    for (const char *key : {"NiemieckiDE", "AngielskiGB", "Ceski"})
        window->component<QAction>(QString::fromLatin1(key))->trigger();
    window->component<QAbstractButton>(QStringLiteral("GPolskiPL"))->click();
    window->component<QAction>(QStringLiteral("PolskiPL"))->trigger();
    EXPECT_EQ(window->Jazyk->title(), QStringLiteral("Język"));
    polls(3);

    EXPECT_EQ(nonPolls(), before);
    EXPECT_TRUE(window->session().queue().current().isEmpty()) << "a command is waiting";
    EXPECT_EQ(cylinders->currentIndex(), 1);
    EXPECT_EQ(pulses->currentIndex(), 3);
    EXPECT_EQ(pulses->currentText(), QStringLiteral("4 cyl."));
}

} // namespace
