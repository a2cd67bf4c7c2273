#pragma once

#include <QString>

// The program's list of COM names (value "COMn" = device path under
// "Software\ZENU\SERIALCOMM"), and its stored port settings (ComPort1).
// Failures of the settings store throw std::runtime_error.
namespace ComMap {

inline const QString MapKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\SERIALCOMM");
inline const QString PortKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\ZENU\\ComPort1");

void add(const QString &comName, const QString &device);
// Makes it the program's port, with the controller's line settings.
void select(const QString &comName);
// Removes the entry only while it still names `device`: another simulator
// may have taken the name since.
void remove(const QString &comName, const QString &device);

} // namespace ComMap
