#pragma once

class QWidget;

// The panel above the tabs (`Panel1Gora`): supply voltage, injection times,
// active gas injectors, lambda probes, MAP/P1, engine speed, the fuel switch
// with the level LEDs, temperatures, the connection switch and the hidden
// fault banner.
class TopPanel
{
public:
    static QWidget *build(QWidget *parent);
};
