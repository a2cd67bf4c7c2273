#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QString>

class QWidget;

// Custom-painted widgets are invisible to screen readers and UI tests unless
// they describe themselves. A widget opts in with Describe(): its name, role,
// current value text and, for two-state widgets, whether it is checked.
class TWidgetAccessible : public QAccessibleWidget
{
public:
    explicit TWidgetAccessible(QWidget *w);

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;

    // Installs the factory once; safe to call from every constructor.
    static void Install();
    static void SetRole(QWidget *w, QAccessible::Role role);
    // Value text as read back through text(QAccessible::Value); also mirrored
    // into the description, which every bridge passes on.
    static void SetValue(QWidget *w, const QString &value);
    // Marks the widget as checkable and sets the checked state.
    static void SetChecked(QWidget *w, bool checked);
};
