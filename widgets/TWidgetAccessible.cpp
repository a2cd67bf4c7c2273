#include "widgets/TWidgetAccessible.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr const char *kValue = "zenuAccessibleValue";
constexpr const char *kRole = "zenuAccessibleRole";
constexpr const char *kChecked = "zenuAccessibleChecked";

QAccessibleInterface *factory(const QString &, QObject *object)
{
    auto *w = qobject_cast<QWidget *>(object);
    if (w && w->property(kRole).isValid())
        return new TWidgetAccessible(w);
    return nullptr;
}

void notifyValue(QWidget *w, const QString &value)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent ev(w, value);
    QAccessible::updateAccessibility(&ev);
}

void notifyChecked(QWidget *w)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent ev(w, changed);
    QAccessible::updateAccessibility(&ev);
}
} // namespace

TWidgetAccessible::TWidgetAccessible(QWidget *w)
    : QAccessibleWidget(w)
{
}

QString TWidgetAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return widget()->property(kValue).toString();
    const QString s = QAccessibleWidget::text(t);
    // A captionless widget is still found by the name the window gave it.
    if (t == QAccessible::Name && s.isEmpty())
        return widget()->objectName();
    return s;
}

QAccessible::Role TWidgetAccessible::role() const
{
    return QAccessible::Role(widget()->property(kRole).toInt());
}

QAccessible::State TWidgetAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    const QVariant checked = widget()->property(kChecked);
    if (checked.isValid()) {
        s.checkable = true;
        s.checked = checked.toBool();
    }
    return s;
}

void TWidgetAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

void TWidgetAccessible::SetRole(QWidget *w, QAccessible::Role role)
{
    Install();
    w->setProperty(kRole, int(role));
}

void TWidgetAccessible::SetValue(QWidget *w, const QString &value)
{
    // Dynamic properties are looked up by name and every write sends an event: read once, write on change.
    const QVariant old = w->property(kValue);
    if (old.isValid() && old.toString() == value)
        return;
    w->setProperty(kValue, value);
    w->setAccessibleDescription(value);
    notifyValue(w, value);
}

void TWidgetAccessible::SetChecked(QWidget *w, bool checked)
{
    const QVariant old = w->property(kChecked);
    if (old.isValid() && old.toBool() == checked)
        return;
    w->setProperty(kChecked, checked);
    notifyChecked(w);
}
