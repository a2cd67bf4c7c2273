#include "app/common/UserMessage.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace {
UserMessage::Interceptor &interceptor()
{
    static UserMessage::Interceptor current;
    return current;
}

// The innermost box `show` has open, if any.
QPointer<QMessageBox> &openBox()
{
    static QPointer<QMessageBox> box;
    return box;
}
} // namespace

void UserMessage::show(QWidget *parent, const QString &text)
{
    if (interceptor()) {
        interceptor()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    QPointer<QMessageBox> &open = openBox();
    QPointer<QMessageBox> outer = open;
    open = &box;
    box.exec();
    open = outer;
}

void UserMessage::dismissOpen()
{
    if (QMessageBox *box = openBox())
        box->done(QMessageBox::Ok);
}

void UserMessage::setInterceptor(Interceptor newInterceptor)
{
    interceptor() = std::move(newInterceptor);
}
