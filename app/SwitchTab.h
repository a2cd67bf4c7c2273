#pragma once

class QWidget;

// The "Przełącznik" page: the conditions for switching to gas and back to
// petrol (dials), and the tank-level indicator with its sensor thresholds.
class SwitchTab
{
public:
    static QWidget *build(QWidget *parent); // TabSheet9
};
