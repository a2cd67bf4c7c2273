#pragma once

#include <QString>

class QAction;
class QMenu;
class QObject;

// Small pieces the recording control and the replay bar both show.
namespace RecordingUi {

// A length of recording as the user reads it: "mm:ss" (minutes grow past 99).
QString minutesSeconds(qint64 ms);

// A new item named `name`, placed in `menu` before its first separator (at
// the end when it has none), so it joins the file items above "Exit".
QAction *addBeforeFirstSeparator(QMenu *menu, QObject *owner, const QString &name);

} // namespace RecordingUi
