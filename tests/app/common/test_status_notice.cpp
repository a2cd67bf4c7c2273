// Status-bar notes sit beside the version panel, never over it, and go away
// by themselves.
#include "tests/app/WindowFixture.h"

#include "app/common/StatusNotice.h"

#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>

namespace {

class StatusNoticeTest : public WindowFixture
{
};

TEST_F(StatusNoticeTest, ShowsBesideTheVersionPanelAndClearsItself)
{
    TZENU &w = start({});
    w.show();
    QWidget *anyControl = w.component(QStringLiteral("Sel_cyl"));
    ASSERT_NE(anyControl, nullptr);

    StatusNotice::show(anyControl, QStringLiteral("first"));
    StatusNotice::show(anyControl, QStringLiteral("second"));
    EXPECT_EQ(StatusNotice::current(&w), QStringLiteral("second"));
    EXPECT_EQ(w.statusPanelText(), QStringLiteral("ZENU ver."));
    EXPECT_TRUE(w.component<QLabel>(QStringLiteral("StatusBar1_Panel0"))->isVisible());
    // One label, reused.
    EXPECT_EQ(w.statusBar()->findChildren<QLabel *>(QStringLiteral("StatusNotice")).size(), 1);

    auto *clear = w.statusBar()->findChild<QTimer *>(QStringLiteral("StatusNoticeTimer"));
    ASSERT_NE(clear, nullptr);
    EXPECT_TRUE(clear->isActive());
    EXPECT_EQ(clear->interval(), StatusNotice::ShownMs);
    // Let it run out now instead of after ten seconds.
    QSignalSpy ranOut(clear, &QTimer::timeout);
    clear->start(1);
    ASSERT_TRUE(ranOut.wait(5000));
    EXPECT_TRUE(StatusNotice::current(&w).isEmpty());
}

TEST_F(StatusNoticeTest, WithoutAWindowNothingHappens)
{
    StatusNotice::show(nullptr, QStringLiteral("lost"));
    QWidget loose;
    StatusNotice::show(&loose, QStringLiteral("lost"));
    EXPECT_TRUE(StatusNotice::current(&loose).isEmpty());
}

} // namespace
