#pragma once

class QWidget;

// The "Panel Petrol" and "Panel Gaz" pages: the controls of the petrol-side
// and gas-side settings.
class PetrolGasTabs
{
public:
    static QWidget *petrol(QWidget *parent); // TabSheet1
    static QWidget *gas(QWidget *parent);    // TabSheet2
};
