#include "app/settings/SettingControls.h"

#include "app/common/InstrumentFactory.h"
#include "app/common/PlainControls.h"

#include "widgets/TDial.h"
#include "widgets/TPickOnlyGuard.h"
#include "widgets/TVSlider.h"

#include <QComboBox>

QComboBox *SettingControls::combo(SettingsTable::Id id, QWidget *parent)
{
    const SettingsTable::Row &row = SettingsTable::row(id);
    QStringList items;
    for (const char *item : row.items)
        items << QString::fromUtf8(item);
    QComboBox *combo = PlainControls::combo(QString::fromLatin1(row.control), items, parent);
    // A pick sends the setting: nothing from a wheel rolled over the page, nor a command per repeat of a held key.
    TPickOnlyGuard::Install(combo);
    return combo;
}

SignalSetup SettingControls::withRange(SettingsTable::Id id, SignalSetup look)
{
    const SettingsTable::Row &row = SettingsTable::row(id);
    // A zero lower end is the widgets' own default and is left to them.
    if (row.valueFrom != 0.0)
        look.valueFrom = float(row.valueFrom);
    look.valueTo = float(row.valueTo);
    if (row.digitalFrom != 0)
        look.digitalFrom = row.digitalFrom;
    look.digitalTo = row.digitalTo;
    return look;
}

TDial *SettingControls::dial(SettingsTable::Id id, QWidget *parent, SignalSetup look)
{
    return InstrumentFactory::dial(QString::fromLatin1(SettingsTable::row(id).control), parent,
                                   withRange(id, std::move(look)));
}

TVSlider *SettingControls::slider(SettingsTable::Id id, QWidget *parent, SignalSetup look)
{
    return InstrumentFactory::verticalSlider(QString::fromLatin1(SettingsTable::row(id).control), parent,
                                             withRange(id, std::move(look)));
}
