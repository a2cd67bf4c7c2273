#include "widgets/TPickOnlyGuard.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QWheelEvent>

namespace {
// Keys with which a closed, non-editable list changes its item by itself (held, they repeat).
bool stepsTheItem(const QKeyEvent &key)
{
    if (key.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    case Qt::Key_Space:
        return false; // opens the list
    default:
        // Typing a letter jumps to the item that starts with it.
        return !key.text().isEmpty() && key.text().at(0).isPrint();
    }
}
} // namespace

TPickOnlyGuard::TPickOnlyGuard(QComboBox *combo)
    : QObject(combo)
{
}

void TPickOnlyGuard::Install(QComboBox *combo)
{
    combo->installEventFilter(new TPickOnlyGuard(combo));
}

bool TPickOnlyGuard::eventFilter(QObject *watched, QEvent *event)
{
    const bool wheel = event->type() == QEvent::Wheel;
    const bool stepKey = event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->isAutoRepeat()
        && stepsTheItem(*static_cast<QKeyEvent *>(event));
    if (!wheel && !stepKey)
        return false;
    auto *combo = qobject_cast<QComboBox *>(watched);
    if (!combo || combo->isEditable() || combo->view()->isVisible())
        return false;
    // Not taken: Qt hands the event on to the parent, so a wheel scrolls the page.
    event->ignore();
    return true;
}
