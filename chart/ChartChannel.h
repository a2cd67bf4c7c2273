#pragma once

#include "live/LiveValues.h"

#include <QString>
#include <QVector>

#include <cmath>

// The unit a channel is shown in; one value axis per unit in a pane.
enum class ChartUnit { Rpm, Kpa, Bar, Volt, Celsius, Ms, Plain };

// One quantity of a live answer that a chart can draw: every column the CSV
// export writes (except the time), under the export's column name, in the
// unit and with the decimals the window's gauge for it shows.
struct ChartChannel
{
    QString key;      // the CSV column name, also what the pane choice stores
    QString labelKey; // text key of the label (`chart.ch.*`)
    int labelNumber;  // the cylinder, probe or table entry the label names; 0 for none
    ChartUnit unit;
    int decimals;
    // Whether the value is a state (0/1, a flag byte, a step) rather than a
    // measurement; drawn as steps on its own.
    bool discrete;

    // All channels, in the export's column order.
    static const QVector<ChartChannel> &all();
    // Index in all(), or -1.
    static int indexOf(QStringView key);
    // The channel's value in `values`, NaN when the answer did not carry it.
    static float valueOf(int channel, const LiveValues &values);
};

// The fixed unit text ("kPa", "V"); empty for Rpm (language dependent, the
// `chart.unit.rpm` text) and Plain.
QString chartUnitSymbol(ChartUnit unit);
