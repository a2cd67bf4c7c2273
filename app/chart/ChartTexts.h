#pragma once

#include "chart/ChartChannel.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <functional>

// The texts the chart shows, handed in by whoever opens it, so a language
// switch is followed and the command line can use the language last chosen.
struct ChartTexts
{
    // A program text by key (`chart.*`) in the current language.
    std::function<QString(QStringView key)> text;
    // A message row of the text table (the fault names, rows 0..8).
    std::function<QString(int row)> message;
    QChar decimal = QLatin1Char('.');

    QString label(int channel) const
    {
        const ChartChannel &c = ChartChannel::all().at(channel);
        const QString label = text(c.labelKey);
        return c.labelNumber ? label.arg(c.labelNumber) : label;
    }

    QString unit(ChartUnit unit) const
    {
        return unit == ChartUnit::Rpm ? text(u"chart.unit.rpm") : chartUnitSymbol(unit);
    }
};
