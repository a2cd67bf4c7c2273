#pragma once

#include "link/LinkInterfaces.h"

class TCustomSerialPort;

// The session's view of `ComPort1`. Every call goes straight to the port
// component; its ESerialPort failures pass through unchanged.
class SessionPort : public LinkPort
{
public:
    explicit SessionPort(TCustomSerialPort &port) : m_port(port) {}

    void open() override;
    void close() override;
    bool connected() const override;
    QString portName() const override;
    void setCustomBaudRate(int rate) override;
    void clearLineErrors() override;
    int bytesWaiting() override;
    QByteArray read(int count) override;
    void storeSettings(const QString &path) override;

private:
    TCustomSerialPort &m_port;
};
