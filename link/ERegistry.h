#pragma once

#include <QString>
#include <stdexcept>

// Failure of the settings store. `code()` is the system's error number where
// one exists (the registry's error code on Windows, QSettings::Status
// elsewhere), so the serial layer can append it to its own fixed messages.
class ERegistry : public std::runtime_error
{
public:
    ERegistry(const QString &what, int code)
        : std::runtime_error(what.toStdString()), m_code(code) {}

    int code() const { return m_code; }

private:
    int m_code;
};
