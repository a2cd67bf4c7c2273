#include "link/SerialFrameWriter.h"

#include "link/TSerialPort.h"

#include <QThread>

void SerialFrameWriter::write(const QByteArray &bytes)
{
    m_port.write(bytes);
    // The driver's own work moves the bytes on to the line; give it the
    // processor now rather than after the window has redrawn everything the
    // tick changed, which on a busy machine holds a poll back by milliseconds.
    QThread::yieldCurrentThread();
}

void SerialFrameWriter::pause(int milliseconds)
{
    // The controller's receive buffer needs a breath between 80-byte pieces;
    // the UI thread may block this briefly, nothing else runs in between anyway.
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}
