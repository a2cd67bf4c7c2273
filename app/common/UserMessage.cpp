#include "app/common/UserMessage.h"

#include <QApplication>
#include <QMessageBox>

namespace {
UserMessage::Interceptor &interceptor()
{
    static UserMessage::Interceptor current;
    return current;
}
} // namespace

void UserMessage::show(QWidget *parent, const QString &text)
{
    if (interceptor()) {
        interceptor()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.exec();
}

void UserMessage::setInterceptor(Interceptor newInterceptor)
{
    interceptor() = std::move(newInterceptor);
}
