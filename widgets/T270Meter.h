#pragma once

#include "widgets/TRMeter.h"

// The round meter with a 270-degree scale, as on a tachometer.
class T270Meter : public TRMeter
{
    Q_OBJECT
public:
    explicit T270Meter(QWidget *parent = nullptr);
};
