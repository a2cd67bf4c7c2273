// The message box can be closed by the program as its OK would, so a newer
// message does not wait behind a stale one.
#include "app/common/UserMessage.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(UserMessage, DismissOpenClosesTheInnermostBoxOnly)
{
    UserMessage::setInterceptor({});
    QStringList closedInOrder;
    int stillOpenAfterDismiss = -1;
    // A safety net: should dismissing not work, the boxes are closed here
    // and the test fails instead of hanging.
    bool rescued = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        rescued = true;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(w))
                box->done(QMessageBox::Ok);
        }
    });
    rescue.start(10000);

    QTimer::singleShot(0, [&] {
        // Inside the outer box: a second one opens; dismissing closes it.
        QTimer::singleShot(0, [&] {
            UserMessage::dismissOpen();
            QTimer::singleShot(0, [&] {
                int open = 0;
                for (QWidget *w : QApplication::topLevelWidgets())
                    open += qobject_cast<QMessageBox *>(w) && w->isVisible() ? 1 : 0;
                stillOpenAfterDismiss = open;
                UserMessage::dismissOpen();
            });
        });
        UserMessage::show(nullptr, QStringLiteral("inner"));
        closedInOrder << QStringLiteral("inner");
    });
    UserMessage::show(nullptr, QStringLiteral("outer"));
    closedInOrder << QStringLiteral("outer");

    EXPECT_FALSE(rescued);
    EXPECT_EQ(closedInOrder, (QStringList{"inner", "outer"}));
    EXPECT_EQ(stillOpenAfterDismiss, 1) << "the outer box stayed until it was dismissed too";
    UserMessage::dismissOpen(); // none open: nothing happens
}

} // namespace
