#include "link/SerialFrameWriter.h"

#include "link/TSerialPort.h"

SerialFrameWriter::SerialFrameWriter(TCustomSerialPort &port)
    : PacedWriter([&port](const QByteArray &bytes) { port.write(bytes); },
                  [&port] { return port.connected(); })
{
}
