#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

// What assistive technology (and black-box tests) see of a painted analog widget: its name, its value
// as shown with the unit, and the numeric value with the ends of its scale.
class TAnalogAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    TAnalogAccessible(QWidget *widget, QAccessible::Role role);

    // Registers the factory once per program.
    static void Install();
    // Tells listening assistive technology that the widget's value moved.
    static void NotifyValueChanged(QWidget *widget);

    QString text(QAccessible::Text t) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;
};
