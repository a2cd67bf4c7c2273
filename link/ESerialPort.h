#pragma once

#include <QString>
#include <stdexcept>

// Failure of the serial layer or of the settings store. The text is what the
// user sees in the message box; the window's handlers catch it at their
// boundary so it never crosses the event loop.
class ESerialPort : public std::runtime_error
{
public:
    explicit ESerialPort(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    // "<message> (win error code: <code>)"
    ESerialPort(const QString &message, int systemCode)
        : ESerialPort(QStringLiteral("%1 (win error code: %2)").arg(message).arg(systemCode)) {}

    QString message() const { return m_message; }

private:
    QString m_message;
};
