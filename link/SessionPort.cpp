#include "link/SessionPort.h"

#include "link/TSerialPort.h"

void SessionPort::open() { m_port.open(); }
void SessionPort::close() { m_port.close(); }
bool SessionPort::connected() const { return m_port.connected(); }
QString SessionPort::portName() const { return m_port.port(); }

void SessionPort::setCustomBaudRate(int rate) { m_port.setCustomBaudRate(rate); }

void SessionPort::clearLineErrors() { m_port.clearLineErrors(); }
int SessionPort::bytesWaiting() { return m_port.bytesWaiting(); }
QByteArray SessionPort::read(int count) { return m_port.read(count); }
void SessionPort::storeSettings(const QString &path) { m_port.storeSettings(path); }
