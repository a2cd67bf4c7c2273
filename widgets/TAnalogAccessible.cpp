#include "widgets/TAnalogAccessible.h"

#include "widgets/TAnalogCControl.h"
#include "widgets/TAnalogGControl.h"

namespace {

QAccessibleInterface *factory(const QString &, QObject *object)
{
    if (auto *display = qobject_cast<TAnalogGControl *>(object))
        return new TAnalogAccessible(display, QAccessible::ProgressBar);
    if (auto *input = qobject_cast<TAnalogCControl *>(object))
        return new TAnalogAccessible(input, input->inherits("TDial") ? QAccessible::Dial : QAccessible::Slider);
    return nullptr;
}

const TSignalSettings *signalOf(const QObject *object)
{
    if (auto *display = qobject_cast<const TAnalogGControl *>(object))
        return &display->SignalSettings();
    if (auto *input = qobject_cast<const TAnalogCControl *>(object))
        return &input->SignalSettings();
    return nullptr;
}

} // namespace

TAnalogAccessible::TAnalogAccessible(QWidget *widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

void TAnalogAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

void TAnalogAccessible::NotifyValueChanged(QWidget *widget)
{
    if (!QAccessible::isActive())
        return;
    QVariant value;
    if (auto *display = qobject_cast<TAnalogGControl *>(widget))
        value = double(display->Value());
    else if (auto *input = qobject_cast<TAnalogCControl *>(widget))
        value = double(input->Value());
    QAccessibleValueChangeEvent event(widget, value);
    QAccessible::updateAccessibility(&event);
}

QString TAnalogAccessible::text(QAccessible::Text t) const
{
    const QWidget *w = widget();
    const TSignalSettings *signal = signalOf(w);
    QString shown;
    if (auto *display = qobject_cast<const TAnalogGControl *>(w))
        shown = display->ValueText();
    else if (auto *input = qobject_cast<const TAnalogCControl *>(w))
        shown = input->ValueText();
    switch (t) {
    case QAccessible::Name:
        if (!w->accessibleName().isEmpty())
            return w->accessibleName();
        if (!w->objectName().isEmpty())
            return w->objectName();
        return signal ? signal->Name1().trimmed() : QString();
    case QAccessible::Value:
        return signal ? (shown + u' ' + signal->ValueUnit()).trimmed() : shown;
    case QAccessible::Description:
        if (!w->accessibleDescription().isEmpty())
            return w->accessibleDescription();
        return signal ? (signal->Name1().trimmed() + u' ' + signal->Name2().trimmed()).trimmed() : QString();
    default:
        return QAccessibleWidget::text(t);
    }
}

void *TAnalogAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QVariant TAnalogAccessible::currentValue() const
{
    if (auto *display = qobject_cast<const TAnalogGControl *>(widget()))
        return double(display->Value());
    if (auto *input = qobject_cast<const TAnalogCControl *>(widget()))
        return double(input->Value());
    return {};
}

void TAnalogAccessible::setCurrentValue(const QVariant &value)
{
    // Only input controls take a value from outside; displays show what the program gives them.
    if (auto *input = qobject_cast<TAnalogCControl *>(widget()))
        input->SetValueByUser(value.toFloat());
}

QVariant TAnalogAccessible::maximumValue() const
{
    const TSignalSettings *s = signalOf(widget());
    return s ? QVariant(double(std::max(s->ValueFrom(), s->ValueTo()))) : QVariant();
}

QVariant TAnalogAccessible::minimumValue() const
{
    const TSignalSettings *s = signalOf(widget());
    return s ? QVariant(double(std::min(s->ValueFrom(), s->ValueTo()))) : QVariant();
}

QVariant TAnalogAccessible::minimumStepSize() const
{
    const TSignalSettings *s = signalOf(widget());
    return s ? QVariant(std::abs(s->ValuePerPosition())) : QVariant();
}
