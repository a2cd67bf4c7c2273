#pragma once

#include "link/ESerialPort.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QSerialPort;

enum class BaudRateChoice {
    Custom, Br110, Br300, Br600, Br1200, Br2400, Br4800, Br9600, Br14400, Br19200,
    Br38400, Br56000, Br57600, Br115200, Br128000, Br256000
};

// The port component `ComPort1`: one serial line to the controller with the
// controller's line settings (8N1, no flow control, DTR and RTS held off).
// Every failure raises ESerialPort with a fixed message; nothing here shows a
// dialog. Receive notifications arrive on the UI thread as rxChar(count),
// only while the port is open and only when count > 0.
class TCustomSerialPort : public QObject
{
    Q_OBJECT
public:
    explicit TCustomSerialPort(QObject *parent = nullptr);
    ~TCustomSerialPort() override;

    // 1, 2: open / close; each does nothing when already in that state.
    void open();
    void close();
    bool connected() const;

    // 3: port name ("COM7"); changing it while open reopens under the new name.
    QString port() const;
    void setPort(const QString &name);

    // 4: baud rate choice and the custom rate; re-applied at once when open.
    BaudRateChoice baudRate() const;
    void setBaudRate(BaudRateChoice choice);
    int customBaudRate() const;
    void setCustomBaudRate(int rate);
    int effectiveBaudRate() const;

    QString stopBits() const;    // "1", "1.5", "2"
    QString dataBits() const;    // "5".."8"
    QString parity() const;      // "None", "Odd", "Even", "Mark", "Space"
    QString flowControl() const; // "Hardware", "Software", "None", "Custom"

    // The individual flow options behind flowControl(); the window definition
    // has them all off, which reads as "None".
    enum class RtsControl { Disable, Enable, Handshake };
    struct FlowOptions {
        bool ctsOutputFlow = false;
        bool xonXoffIn = false;
        bool xonXoffOut = false;
        RtsControl rts = RtsControl::Disable;
        bool operator==(const FlowOptions &) const = default;
    };
    FlowOptions flowOptions() const;
    void setFlowOptions(const FlowOptions &options);

    int bytesWaiting();                  // 5
    QByteArray read(int count);          // 6
    void write(const QByteArray &bytes); // 7: blocks until written or timed out
    void clearLineErrors();              // 8

    // 9: names of the ports present ("COM1".."COM30" style), sorted as text.
    static QStringList listPorts();

    // 11, 12: "HKEY_LOCAL_MACHINE\\Software\\ZENU" + "\\" + objectName().
    void loadSettings(const QString &path);
    void storeSettings(const QString &path);

signals:
    // 10: bytes are waiting; count > 0, handled on the UI thread.
    void rxChar(int count);
    // A failure met while handling a notification (or thrown by an rxChar
    // handler); it cannot be raised into the event loop, so it is handed on
    // with its message for the window to show.
    void errorRaised(const QString &message);

private:
    void openDevice();
    void applyLineSettings();
    void queueNotification();
    void handleNotification(quint64 generation);
    void queueDeviceLoss();
    void handleDeviceLoss(quint64 generation);

    struct Private;
    Private *d;
};

class TSerialPort : public TCustomSerialPort
{
    Q_OBJECT
public:
    using TCustomSerialPort::TCustomSerialPort;
};
