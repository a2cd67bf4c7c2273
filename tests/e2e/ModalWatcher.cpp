#include "ModalWatcher.h"

#include <QAbstractButton>
#include <QApplication>

#include <algorithm>

ModalWatcher::ModalWatcher()
{
    m_timer.setInterval(15);
    connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::look);
    m_timer.start();
}

void ModalWatcher::look()
{
    int open = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(w);
        open += box && box->isVisible() ? 1 : 0;
    }
    m_mostOpen = std::max(m_mostOpen, open);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box || !box->isVisible())
            continue;
        QAbstractButton *press = nullptr;
        if (box->button(QMessageBox::Yes)) {
            m_questions << box->text();
            press = box->button(answerYes(box->text()) ? QMessageBox::Yes : QMessageBox::No);
        } else {
            m_messages << box->text();
            press = box->button(QMessageBox::Ok);
        }
        if (!press || !box->isEnabled()) {
            // A box nobody can press would hang the real program; fail loudly.
            m_messages << QStringLiteral("<box cannot be answered: %1>").arg(box->text());
            box->done(0);
            continue;
        }
        press->click();
    }
}
