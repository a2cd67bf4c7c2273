#pragma once

#include <QString>

#include <functional>

class QWidget;

// The one way the window tells the user about a failure: a modal message box
// with a fixed text. Tests install an interceptor so no nested event loop
// runs and they can read what would have been shown.
class UserMessage
{
public:
    using Interceptor = std::function<void(const QString &text)>;

    static void show(QWidget *parent, const QString &text);
    // Closes the box `show` has open now, as its OK would; nothing when none
    // is open or an interceptor is installed.
    static void dismissOpen();

    // An empty interceptor restores the real message box.
    static void setInterceptor(Interceptor interceptor);
};
