#include "app/recording/RecordingUi.h"

#include <QAction>
#include <QMenu>

namespace RecordingUi {

QString minutesSeconds(qint64 ms)
{
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QAction *addBeforeFirstSeparator(QMenu *menu, QObject *owner, const QString &name)
{
    auto *item = new QAction(owner);
    item->setObjectName(name);
    QAction *separator = nullptr;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator()) {
            separator = a;
            break;
        }
    }
    menu->insertAction(separator, item);
    return item;
}

} // namespace RecordingUi
