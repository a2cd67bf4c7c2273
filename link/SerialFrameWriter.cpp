#include "link/SerialFrameWriter.h"

#include "link/TSerialPort.h"

#include <QThread>

void SerialFrameWriter::write(const QByteArray &bytes)
{
    m_port.write(bytes);
}

void SerialFrameWriter::pause(int milliseconds)
{
    // The controller's receive buffer needs a breath between 80-byte pieces;
    // the UI thread may block this briefly, nothing else runs in between anyway.
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}
