#pragma once

#include "link/CommandBodies.h"

#include <QByteArray>

// What `Button2Click` ("Reset" on the Error tab) hands to the command queue:
// the retry budget, then the one body that clears the controller's fault log.
// The window queues it and empties both fault lists itself; the current list
// comes back with the next frame, the registered one with the next read-all.
class FaultLogReset
{
public:
    static constexpr int CommandRetries = 5;
    static QByteArray body() { return CommandBodies::clearFaults(); }
};
