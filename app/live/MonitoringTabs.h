#pragma once

class QWidget;

// The live-monitoring pages: "Error" (current and registered faults),
// "Oscyloskop" (two-channel scope) and "Diagnostyka" (per-cylinder bars).
class MonitoringTabs
{
public:
    static QWidget *faults(QWidget *parent);      // TabSheet5
    static QWidget *scope(QWidget *parent);       // TabSheet7
    static QWidget *diagnostics(QWidget *parent); // TabSheet8
};
