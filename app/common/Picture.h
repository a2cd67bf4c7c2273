#pragma once

#include <QString>

class QLabel;
class QWidget;

// The decorative pictures of the "Panel Petrol" and "Info" tabs, drawn in
// code: the program's name over a stylised gas injector.
class Picture
{
public:
    static QLabel *create(const QString &name, QWidget *parent);
};
