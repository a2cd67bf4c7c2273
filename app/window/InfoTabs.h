#pragma once

class QWidget;

// The last three pages: "OBDII" (present but never in use), "Help" (the help
// text of the current language) and "Info" (picture, the maker's web and
// mail links, language flag buttons).
class InfoTabs
{
public:
    static QWidget *obd(QWidget *parent);  // TabSheet10
    static QWidget *help(QWidget *parent); // TabSheet11
    static QWidget *info(QWidget *parent); // TabSheet12
};
