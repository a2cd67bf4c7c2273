#pragma once

#include "i18n/TextTarget.h"

#include <QHash>
#include <QString>

class LanguageTable;
class QObject;
class QWidget;

// Puts one language column of LanguageTable into the window: every control
// text (rows 21-119, found through TextTarget by objectName), the help page
// and the captions of the two link labels. This is the one place that knows
// how each kind of text is set on each kind of control, so the rows stay
// plain data and a control added or moved by a tab's builder needs nothing
// here as long as its name is kept.
//
// Nothing set here raises a control's user signal: combo items are renamed in
// place (index and selection kept), captions and names only repaint. A switch
// therefore never sends anything to the controller.
class LanguageView
{
public:
    explicit LanguageView(QWidget *window) : m_window(window) {}

    // Applies the given column (German .. Czech). Returns the targets that
    // could not be set (no such control, or a control that has no such text);
    // the rest are set regardless.
    std::vector<TextTarget> apply(const LanguageTable &table, int column) const;

    // Whether the control of a target exists in the window and takes that
    // kind of text.
    bool reaches(const TextTarget &target) const;

private:
    using Controls = QHash<QString, QObject *>;
    // Every named object a target can address, chart series included (a
    // chart does not make its series children of any widget).
    Controls controls() const;
    static bool set(QObject *control, const TextTarget &target, const QString *text);
    void setHelpAndLinks(const LanguageTable &table, int column) const;

    QWidget *m_window;
};
