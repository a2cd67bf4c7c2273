#pragma once

#include "link/PacedWriter.h"

class TCustomSerialPort;

// FrameWriter on the controller's serial port. A piece written at once fails
// straight into the handler that sent the frame (ESerialPort); a deferred
// piece's failure goes to the failure handler.
class SerialFrameWriter : public PacedWriter
{
public:
    explicit SerialFrameWriter(TCustomSerialPort &port);
};
