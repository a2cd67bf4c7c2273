#include "widgets/T270Meter.h"

T270Meter::T270Meter(QWidget *parent)
    : TRMeter(270.0, parent)
{
}
