#pragma once

#include <QIcon>
#include <QString>

// Small flag pictures for the language items and buttons, drawn in code so
// the program carries no image files. key is a language item's name
// ("NiemieckiDE", "AngielskiGB", "PolskiPL", "Russian", "Ceski").
class FlagIcon
{
public:
    static QIcon forLanguage(const QString &key);
};
