#pragma once

class QWidget;

// The "Adaptacja" page (calibration procedure) and the "Mapa" page
// (correction map chart with its editing controls).
class CalibrationMapTabs
{
public:
    static QWidget *calibration(QWidget *parent); // TabSheet3
    static QWidget *map(QWidget *parent);         // TabSheet4
};
