#pragma once

#include "link/FrameWriter.h"

class TCustomSerialPort;

// FrameWriter on the controller's serial port. Port failures (ESerialPort)
// pass straight through to the handler that sent the frame.
class SerialFrameWriter : public FrameWriter
{
public:
    explicit SerialFrameWriter(TCustomSerialPort &port) : m_port(port) {}

    void write(const QByteArray &bytes) override;
    void pause(int milliseconds) override;

private:
    TCustomSerialPort &m_port;
};
