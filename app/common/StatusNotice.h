#pragma once

#include <QString>

class QWidget;

// A short note in the main window's status bar, beside the version panel,
// for things the user should know but need not confirm (an edit that could
// not be sent, a file that was saved). It goes away by itself after a while
// or when the next note replaces it.
namespace StatusNotice {

inline constexpr int ShownMs = 10000;

// `anyWidget` is any widget of the main window; nothing happens without one.
void show(QWidget *anyWidget, const QString &text);

// The note shown right now (empty when none), for tests.
QString current(QWidget *anyWidget);

} // namespace StatusNotice
