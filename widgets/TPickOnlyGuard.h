#pragma once

#include <QObject>

class QComboBox;

// Keeps a closed drop-down list from changing its item under the wheel or a held key. Qt steps a
// closed combo box one item per wheel notch or key press and reports each step as a pick, so a turn
// of the wheel over a settings list would send a command per notch, rolling the wheel down a page
// would change whatever list passes under the mouse, and a held cursor key would send a command per
// repeat. With the guard on, the wheel goes on to the page behind (the page still scrolls), the
// repeats of a held key are dropped, and a single key press stays one pick: one change, one report,
// so the list is still reachable by keyboard. The opened list (a click, Space, F4 or Alt+Down) works
// as always.
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
