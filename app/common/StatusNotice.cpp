#include "app/common/StatusNotice.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

namespace {

const QString NoticeName = QStringLiteral("StatusNotice");

QStatusBar *statusBarOf(QWidget *anyWidget)
{
    auto *window = anyWidget ? qobject_cast<QMainWindow *>(anyWidget->window()) : nullptr;
    return window ? window->statusBar() : nullptr;
}

} // namespace

void StatusNotice::show(QWidget *anyWidget, const QString &text)
{
    QStatusBar *bar = statusBarOf(anyWidget);
    if (!bar)
        return;
    // A label of its own rather than the bar's temporary message, which would
    // hide the version panel while it shows.
    auto *label = bar->findChild<QLabel *>(NoticeName);
    if (!label) {
        label = new QLabel(bar);
        label->setObjectName(NoticeName);
        bar->addWidget(label, 1);
        auto *clear = new QTimer(label);
        clear->setObjectName(NoticeName + QStringLiteral("Timer"));
        clear->setSingleShot(true);
        clear->setInterval(ShownMs);
        QObject::connect(clear, &QTimer::timeout, label, &QLabel::clear);
    }
    label->setText(text);
    label->findChild<QTimer *>()->start();
}

QString StatusNotice::current(QWidget *anyWidget)
{
    QStatusBar *bar = statusBarOf(anyWidget);
    const auto *label = bar ? bar->findChild<QLabel *>(NoticeName) : nullptr;
    return label ? label->text() : QString();
}
