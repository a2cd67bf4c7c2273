#pragma once

#include "app/common/UserMessage.h"
#include "link/ESerialPort.h"

#include <exception>

class QWidget;

// The boundary of a click handler: a failure ends the handler and is shown to
// the user, and never reaches the event loop.
class HandlerGuard
{
public:
    template <class Handler>
    static void run(QWidget *parent, Handler &&handler)
    {
        try {
            handler();
        } catch (const ESerialPort &e) {
            UserMessage::show(parent, e.message());
        } catch (const std::exception &e) {
            UserMessage::show(parent, QString::fromLocal8Bit(e.what()));
        }
    }
};
