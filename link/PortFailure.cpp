#include "link/PortFailure.h"

#include <QRegularExpression>

namespace {

constexpr int DeviceNotFound = 1;
constexpr int PermissionDenied = 2;
constexpr int DeviceGone = 6; // a resource error: the device vanished

} // namespace

int portErrorCode(const QString &message)
{
    static const QRegularExpression code(QStringLiteral("\\(win error code: (-?\\d+)\\)$"));
    const QRegularExpressionMatch m = code.match(message.trimmed());
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

PortFailure portFailureOf(const QString &message)
{
    const int code = portErrorCode(message);
    if (message.startsWith(QLatin1String("Unable to open com port"))) {
        if (code == DeviceNotFound)
            return PortFailure::Missing;
        if (code == PermissionDenied)
            return PortFailure::Busy;
        return PortFailure::Other;
    }
    // Reads, writes, purges and error-state queries on a device that has gone
    // away all end in a resource error.
    if (code == DeviceGone)
        return PortFailure::Unplugged;
    return PortFailure::Other;
}
