#pragma once

#include <QObject>

class QComboBox;

// Keeps a closed drop-down list from changing its item under the wheel or a cursor key. Qt steps a
// closed combo box one item per wheel notch or key press and reports each step as a pick, so a turn
// of the wheel over a settings list would send a command per notch, and rolling the wheel down a page
// would change whatever list passes under the mouse. With the guard on, a closed list changes only
// through its opened list (a click, Space, F4 or Alt+Down, then a pick), which is one change and one
// report. The wheel goes on to the page behind, so the page still scrolls.
class TPickOnlyGuard : public QObject
{
    Q_OBJECT
public:
    // Installs a guard owned by the combo box.
    static void Install(QComboBox *combo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TPickOnlyGuard(QComboBox *combo);
};
