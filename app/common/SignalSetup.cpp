#include "app/common/SignalSetup.h"

#include "widgets/TSignalSettings.h"

void SignalSetup::applyTo(TSignalSettings &signal) const
{
    // Moving the lower end past the present upper end first would be refused
    // (or collapse the span), so the end that moves away goes first.
    if (valueFrom && valueTo && *valueFrom >= signal.ValueTo()) {
        signal.SetValueTo(*valueTo);
        signal.SetValueFrom(*valueFrom);
    } else {
        if (valueFrom)
            signal.SetValueFrom(*valueFrom);
        if (valueTo)
            signal.SetValueTo(*valueTo);
    }
    if (digitalFrom && digitalTo && *digitalFrom >= signal.DigitalTo()) {
        signal.SetDigitalTo(*digitalTo);
        signal.SetDigitalFrom(*digitalFrom);
    } else {
        if (digitalFrom)
            signal.SetDigitalFrom(*digitalFrom);
        if (digitalTo)
            signal.SetDigitalTo(*digitalTo);
    }
    if (format)
        signal.SetValueFormat(*format);
    if (name1)
        signal.SetName1(*name1);
    if (name2)
        signal.SetName2(*name2);
    if (unit)
        signal.SetValueUnit(*unit);
}
