#include "link/SerialFrameWriter.h"

#include "link/TSerialPort.h"

#include <QThread>

namespace {

// Long enough for the kernel's line work to run once, short against the
// 240 ms poll period.
constexpr unsigned long SettleUs = 250;

} // namespace

void SerialFrameWriter::write(const QByteArray &bytes)
{
    m_port.write(bytes);
    // On pseudo-terminals and other virtual lines (the simulator, port
    // bridges) the bytes only move on when a kernel worker runs. Straight
    // after a write the window goes on to repaint what the tick changed,
    // which on a busy machine keeps that worker, and the peer reading the
    // line, off the processor for a whole time slice. A short sleep lets
    // them run first; a real adapter's driver has already taken the bytes.
    QThread::usleep(SettleUs);
}

void SerialFrameWriter::pause(int milliseconds)
{
    // The controller's receive buffer needs a breath between 80-byte pieces;
    // the UI thread may block this briefly, nothing else runs in between anyway.
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}
