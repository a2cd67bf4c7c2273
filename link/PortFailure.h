#pragma once

#include <QString>

// What a failure of the serial port means for the fitter. The port's own
// message ("WriteFile function failed (win error code: 6)") stays for the log
// and the details; the window tells the cause in the chosen language.
//
// The code in the message is the serial layer's error number (QSerialPort's):
// 1 device not found, 2 permission / in use, 6 resource gone (a device that
// disappeared while open, an unplugged USB adapter), 10 not open.
enum class PortFailure {
    Other,     // nothing more specific can be said: show the port's message
    Unplugged, // the device went away while in use
    Missing,   // the port could not be opened: no such device now
    Busy,      // the port could not be opened: in use, or no permission
};

PortFailure portFailureOf(const QString &message);

// The number in " (win error code: N)" at the end of a port message, or -1.
int portErrorCode(const QString &message);
