#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

// Plays the user in front of the program's modal boxes: every few
// milliseconds it looks for an open message box, notes its text and presses
// a button (Yes or No for a question, as `answerYes` decides; OK otherwise).
// The boxes are real and run their own nested event loops while open.
class ModalWatcher : public QObject
{
public:
    ModalWatcher();

    std::function<bool(const QString &question)> answerYes = [](const QString &) { return true; };

    const QStringList &messages() const { return m_messages; }   // boxes with OK
    const QStringList &questions() const { return m_questions; } // Yes/No boxes
    // The most boxes seen open at the same time (a box opened inside another).
    int mostOpenAtOnce() const { return m_mostOpen; }

private:
    void look();

    QTimer m_timer;
    QStringList m_messages;
    QStringList m_questions;
    int m_mostOpen = 0;
};
