#include "link/TSerialPort.h"

#include "link/ComPortMap.h"
#include "link/ERegistry.h"
#include "link/RegistryKey.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QMetaObject>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <array>
#include <utility>

namespace {

// Driver queue size of the controller link; also what QSerialPort may hold
// before it stops pulling bytes from the device.
constexpr qint64 kQueueSize = 2048;
// A read waits at most this long for bytes that are not there yet, so the
// receive handler never stalls the window.
constexpr int kReadTotalMs = 2;
// A write may take this long per byte plus the constant before it gives up.
constexpr int kWritePerByteMs = 15;
constexpr int kWriteConstantMs = 25;

struct BaudName {
    BaudRateChoice choice;
    const char *text;
    int rate;
};

constexpr std::array<BaudName, 16> kBaudNames{{
    {BaudRateChoice::Custom, "Custom", 0},
    {BaudRateChoice::Br110, "110", 110},
    {BaudRateChoice::Br300, "300", 300},
    {BaudRateChoice::Br600, "600", 600},
    {BaudRateChoice::Br1200, "1200", 1200},
    {BaudRateChoice::Br2400, "2400", 2400},
    {BaudRateChoice::Br4800, "4800", 4800},
    {BaudRateChoice::Br9600, "9600", 9600},
    {BaudRateChoice::Br14400, "14400", 14400},
    {BaudRateChoice::Br19200, "19200", 19200},
    {BaudRateChoice::Br38400, "38400", 38400},
    {BaudRateChoice::Br56000, "56000", 56000},
    {BaudRateChoice::Br57600, "57600", 57600},
    {BaudRateChoice::Br115200, "115200", 115200},
    {BaudRateChoice::Br128000, "128000", 128000},
    {BaudRateChoice::Br256000, "256000", 256000},
}};

const BaudName &baudName(BaudRateChoice choice)
{
    for (const BaudName &b : kBaudNames) {
        if (b.choice == choice)
            return b;
    }
    return kBaudNames[7]; // 9600
}

// The stored text if it is one of `allowed` (any case), else the fallback.
QString matchText(const std::optional<QString> &stored, const QStringList &allowed,
                  const QString &fallback)
{
    if (stored) {
        for (const QString &a : allowed) {
            if (a.compare(*stored, Qt::CaseInsensitive) == 0)
                return a;
        }
    }
    return fallback;
}

using RtsControl = TCustomSerialPort::RtsControl;
using FlowOptions = TCustomSerialPort::FlowOptions;

FlowOptions hardwareFlow() { return {true, false, false, RtsControl::Handshake}; }
FlowOptions softwareFlow() { return {false, true, true, RtsControl::Disable}; }
FlowOptions noFlow() { return {false, false, false, RtsControl::Disable}; }

QSerialPort::StopBits qtStopBits(const QString &text)
{
    if (text == QLatin1String("1.5"))
        return QSerialPort::OneAndHalfStop;
    if (text == QLatin1String("2"))
        return QSerialPort::TwoStop;
    return QSerialPort::OneStop;
}

QSerialPort::Parity qtParity(const QString &text)
{
    if (text == QLatin1String("Odd"))
        return QSerialPort::OddParity;
    if (text == QLatin1String("Even"))
        return QSerialPort::EvenParity;
    if (text == QLatin1String("Mark"))
        return QSerialPort::MarkParity;
    if (text == QLatin1String("Space"))
        return QSerialPort::SpaceParity;
    return QSerialPort::NoParity;
}

QSerialPort::FlowControl qtFlow(const FlowOptions &f)
{
    if (f.xonXoffIn || f.xonXoffOut)
        return QSerialPort::SoftwareControl;
    if (f.ctsOutputFlow || f.rts == RtsControl::Handshake)
        return QSerialPort::HardwareControl;
    return QSerialPort::NoFlowControl;
}

// Canonical path of a device node, "" when it is not there.
QString resolveDevice(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : QString();
}

[[noreturn]] void raise(const char *message, QSerialPort &serial)
{
    const int code = int(serial.error());
    serial.clearError();
    throw ESerialPort(QLatin1String(message), code);
}

// True for the outcomes of a wait that are not failures of the device.
bool quietWaitEnd(QSerialPort &serial)
{
    const auto e = serial.error();
    if (e == QSerialPort::NoError || e == QSerialPort::TimeoutError) {
        serial.clearError();
        return true;
    }
    return false;
}

// A write's wait reads what arrives meanwhile; the read notification queued
// for those bytes then finds the device empty, which Qt records as a read
// error. The line is fine (a device that is gone gives a resource error), so
// that mark is dropped.
bool drainedAhead(QSerialPort &serial)
{
    if (serial.error() != QSerialPort::ReadError)
        return false;
    serial.clearError();
    return true;
}

} // namespace

struct TCustomSerialPort::Private
{
    QSerialPort serial;
    QString port = QStringLiteral("COM7");
    BaudRateChoice baudRate = BaudRateChoice::Custom;
    int customBaudRate = 7200;
    QString stopBits = QStringLiteral("1");
    QString dataBits = QStringLiteral("8");
    QString parity = QStringLiteral("None");
    FlowOptions flow;
    bool connected = false;
    // Bumped at each open and close, so a notification queued for an earlier
    // opening is dropped.
    quint64 generation = 0;
    // A check for a vanished device is waiting in the event loop.
    bool lossCheckQueued = false;
    // The loss has been told for this opening.
    bool lossTold = false;
};

TCustomSerialPort::TCustomSerialPort(QObject *parent)
    : QObject(parent), d(new Private)
{
    // Hand every receive event to the event loop instead of acting inside
    // QSerialPort's callback: a read or write wait may raise readyRead
    // synchronously, and the program's handler must never run nested in it.
    // The count is taken when the queued notification is handled.
    connect(&d->serial, &QSerialPort::readyRead, this, [this] { queueNotification(); });
    // A device that goes away while nothing is being read or written (a
    // pulled adapter between two polls) is met by QSerialPort's own
    // notifier: as a resource error, after which it stops listening, or, on
    // a terminal that was hung up, as a read that finds the end of the file,
    // again and again. Tell it at once rather than at the next write or the
    // answer's time-out.
    connect(&d->serial, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError)
            queueDeviceLoss();
    });
}

TCustomSerialPort::~TCustomSerialPort()
{
    try {
        close();
    } catch (const ESerialPort &) {
        // Nothing left to tell anyone about a port that is going away.
    }
    delete d;
}

void TCustomSerialPort::open()
{
    if (d->connected)
        return;
    openDevice();
}

void TCustomSerialPort::openDevice()
{
    const QString name = d->port;
    QString device = name;
#ifndef Q_OS_WIN
    // COM names are ours on this system: the map says which device is meant.
    // A full device path is taken as it is.
    if (!name.startsWith(QLatin1Char('/'))) {
        try {
            const RegistryKey key(ComPortMap::storeKeyPath());
            device = ComPortMap::read(key).deviceFor(name);
        } catch (const ERegistry &e) {
            throw ESerialPort(QStringLiteral("Unable to open com port"), e.code());
        }
        if (device.isEmpty())
            throw ESerialPort(QStringLiteral("Unable to open com port"),
                              int(QSerialPort::DeviceNotFoundError));
    }
#endif
    d->serial.setPortName(device);
    if (!d->serial.open(QIODevice::ReadWrite))
        raise("Unable to open com port", d->serial);
    d->serial.setReadBufferSize(kQueueSize);
    try {
        applyLineSettings();
    } catch (const ESerialPort &) {
        d->serial.close();
        d->serial.clearError();
        throw;
    }
    ++d->generation;
    d->lossTold = false;
    d->connected = true;
}

void TCustomSerialPort::close()
{
    if (!d->connected)
        return;
    d->connected = false;
    ++d->generation;
    const bool purged = d->serial.clear(QSerialPort::AllDirections);
    const int code = int(d->serial.error());
    d->serial.close();
    d->serial.clearError();
    if (!purged)
        throw ESerialPort(QStringLiteral("PurgeComm function failed"), code);
}

bool TCustomSerialPort::connected() const
{
    return d->connected;
}

QString TCustomSerialPort::port() const
{
    return d->port;
}

void TCustomSerialPort::setPort(const QString &name)
{
    if (name == d->port)
        return;
    d->port = name;
    if (d->connected) {
        close();
        openDevice();
    }
}

BaudRateChoice TCustomSerialPort::baudRate() const
{
    return d->baudRate;
}

void TCustomSerialPort::setBaudRate(BaudRateChoice choice)
{
    if (choice == d->baudRate)
        return;
    d->baudRate = choice;
    if (d->connected)
        applyLineSettings();
}

int TCustomSerialPort::customBaudRate() const
{
    return d->customBaudRate;
}

void TCustomSerialPort::setCustomBaudRate(int rate)
{
    if (rate == d->customBaudRate)
        return;
    d->customBaudRate = rate;
    if (d->connected)
        applyLineSettings();
}

int TCustomSerialPort::effectiveBaudRate() const
{
    if (d->baudRate == BaudRateChoice::Custom)
        return d->customBaudRate;
    return baudName(d->baudRate).rate;
}

QString TCustomSerialPort::stopBits() const
{
    return d->stopBits;
}

QString TCustomSerialPort::dataBits() const
{
    return d->dataBits;
}

QString TCustomSerialPort::parity() const
{
    return d->parity;
}

QString TCustomSerialPort::flowControl() const
{
    if (d->flow == hardwareFlow())
        return QStringLiteral("Hardware");
    if (d->flow == softwareFlow())
        return QStringLiteral("Software");
    if (d->flow == noFlow())
        return QStringLiteral("None");
    return QStringLiteral("Custom");
}

TCustomSerialPort::FlowOptions TCustomSerialPort::flowOptions() const
{
    return d->flow;
}

void TCustomSerialPort::setFlowOptions(const FlowOptions &options)
{
    if (options == d->flow)
        return;
    d->flow = options;
    if (d->connected)
        applyLineSettings();
}

void TCustomSerialPort::applyLineSettings()
{
    QSerialPort &s = d->serial;
    const bool ok = s.setBaudRate(effectiveBaudRate())
                    && s.setDataBits(QSerialPort::DataBits(d->dataBits.toInt()))
                    && s.setParity(qtParity(d->parity))
                    && s.setStopBits(qtStopBits(d->stopBits))
                    && s.setFlowControl(qtFlow(d->flow));
    if (!ok)
        raise("SetCommState function failed", s);
    // Modem lines are held in their state where the device has them; a
    // pseudo-terminal has none, and that must not stop the line from working.
    s.setDataTerminalReady(false);
    if (d->flow.rts != RtsControl::Handshake)
        s.setRequestToSend(d->flow.rts == RtsControl::Enable);
    s.clearError();
}

int TCustomSerialPort::bytesWaiting()
{
    QSerialPort &s = d->serial;
    if (!d->connected)
        throw ESerialPort(QStringLiteral("ClearCommError function failed"),
                          int(QSerialPort::NotOpenError));
    // Only what the notifier has pulled in. A wait here would drain the device
    // behind the socket notifier, whose next read then finds nothing, which
    // QSerialPort records as a read error or, worse, as a resource error that
    // silently stops every further notification.
    return int(s.bytesAvailable());
}

QByteArray TCustomSerialPort::read(int count)
{
    QSerialPort &s = d->serial;
    if (!d->connected)
        throw ESerialPort(QStringLiteral("ReadFile function failed"), int(QSerialPort::NotOpenError));
    if (count <= 0)
        return {};
    QByteArray bytes = s.read(count);
    QElapsedTimer clock;
    clock.start();
    while (bytes.size() < count) {
        const int left = kReadTotalMs - int(clock.elapsed());
        if (left <= 0)
            break;
        if (!s.waitForReadyRead(left)) {
            if (quietWaitEnd(s) || drainedAhead(s))
                break;
            raise("ReadFile function failed", s);
        }
        bytes += s.read(count - bytes.size());
    }
    if (s.error() == QSerialPort::ResourceError)
        raise("ReadFile function failed", s);
    drainedAhead(s);
    return bytes;
}

void TCustomSerialPort::write(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    QSerialPort &s = d->serial;
    if (!d->connected)
        throw ESerialPort(QStringLiteral("WriteFile function failed"), int(QSerialPort::NotOpenError));
    if (s.write(bytes) != bytes.size())
        raise("WriteFile function failed", s);
    const int limit = kWritePerByteMs * int(bytes.size()) + kWriteConstantMs;
    QElapsedTimer clock;
    clock.start();
    while (s.bytesToWrite() > 0) {
        const int left = limit - int(clock.elapsed());
        if (left <= 0)
            break;
        if (!s.waitForBytesWritten(left)) {
            if (quietWaitEnd(s))
                continue; // the loop condition decides whether time is up
            raise("WriteFile function failed", s);
        }
    }
    // A write that timed out is over: what was not handed to the device is
    // dropped rather than sent late, in the middle of the next frame.
    if (s.bytesToWrite() > 0)
        s.clear(QSerialPort::Output);
}

void TCustomSerialPort::clearLineErrors()
{
    if (!d->connected)
        throw ESerialPort(QStringLiteral("ClearCommError function failed"),
                          int(QSerialPort::NotOpenError));
    d->serial.clearError();
}

QStringList TCustomSerialPort::listPorts()
{
    const auto infos = QSerialPortInfo::availablePorts();
#ifdef Q_OS_WIN
    QStringList names;
    for (const QSerialPortInfo &info : infos)
        names << info.portName();
    names.removeDuplicates();
    names.sort(Qt::CaseSensitive);
    return names;
#else
    QStringList devices;
    for (const QSerialPortInfo &info : infos)
        devices << info.systemLocation();
    try {
        RegistryKey key(ComPortMap::storeKeyPath());
        ComPortMap map = ComPortMap::read(key);
        const QStringList names = map.assign(devices, resolveDevice);
        if (!map.added().isEmpty()) {
            map.writeAdded(key);
            key.flush();
        }
        return names;
    } catch (const ERegistry &e) {
        throw ESerialPort(QStringLiteral("Registry error"), e.code());
    }
#endif
}

void TCustomSerialPort::loadSettings(const QString &path)
{
    // Everything is read first and applied only when all of it was readable,
    // so a failed load leaves the component as it was.
    QString port;
    BaudRateChoice baud = BaudRateChoice::Br9600;
    int custom = d->customBaudRate;
    QString stopBits, dataBits, parity;
    FlowOptions flow = d->flow;
    try {
        const RegistryKey key(path + QLatin1Char('\\') + objectName());
        port = key.readString(QStringLiteral("Port")).value_or(QString());
        if (const auto text = key.readString(QStringLiteral("BaudRate"))) {
            for (const BaudName &b : kBaudNames) {
                if (text->compare(QLatin1String(b.text), Qt::CaseInsensitive) == 0)
                    baud = b.choice;
            }
        }
        if (baud == BaudRateChoice::Custom) {
            const auto rate = key.readInt(QStringLiteral("CustomBaudRate"));
            if (!rate)
                throw ESerialPort(QStringLiteral("Failed to load settings"));
            custom = *rate;
        }
        stopBits = matchText(key.readString(QStringLiteral("StopBits")),
                             {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")},
                             QStringLiteral("1"));
        dataBits = matchText(key.readString(QStringLiteral("DataBits")),
                             {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"),
                              QStringLiteral("8")},
                             QStringLiteral("8"));
        parity = matchText(key.readString(QStringLiteral("Parity")),
                           {QStringLiteral("None"), QStringLiteral("Odd"), QStringLiteral("Even"),
                            QStringLiteral("Mark"), QStringLiteral("Space")},
                           QStringLiteral("None"));
        const QString flowText = matchText(
            key.readString(QStringLiteral("FlowControl")),
            {QStringLiteral("Hardware"), QStringLiteral("Software"), QStringLiteral("None")}, {});
        if (flowText == QLatin1String("Hardware"))
            flow = hardwareFlow();
        else if (flowText == QLatin1String("Software"))
            flow = softwareFlow();
        else if (flowText == QLatin1String("None"))
            flow = noFlow();
    } catch (const std::exception &) {
        throw ESerialPort(QStringLiteral("Failed to load settings"));
    }

    const bool reopen = d->connected && port != d->port;
    d->port = port;
    d->baudRate = baud;
    d->customBaudRate = custom;
    d->stopBits = stopBits;
    d->dataBits = dataBits;
    d->parity = parity;
    d->flow = flow;
    if (!d->connected)
        return;
    try {
        if (reopen) {
            close();
            openDevice();
        } else {
            applyLineSettings();
        }
    } catch (const ESerialPort &) {
        throw ESerialPort(QStringLiteral("Failed to load settings"));
    }
}

void TCustomSerialPort::storeSettings(const QString &path)
{
    try {
        RegistryKey key(path + QLatin1Char('\\') + objectName());
        key.writeString(QStringLiteral("Port"), d->port);
        key.writeString(QStringLiteral("BaudRate"), QLatin1String(baudName(d->baudRate).text));
        if (d->baudRate == BaudRateChoice::Custom)
            key.writeInt(QStringLiteral("CustomBaudRate"), d->customBaudRate);
        key.writeString(QStringLiteral("StopBits"), d->stopBits);
        key.writeString(QStringLiteral("DataBits"), d->dataBits);
        key.writeString(QStringLiteral("Parity"), d->parity);
        key.writeString(QStringLiteral("FlowControl"), flowControl());
        key.flush();
    } catch (const std::exception &) {
        throw ESerialPort(QStringLiteral("Failed to store settings"));
    }
}

void TCustomSerialPort::queueNotification()
{
    const quint64 generation = d->generation;
    QMetaObject::invokeMethod(this, [this, generation] { handleNotification(generation); },
                              Qt::QueuedConnection);
}

void TCustomSerialPort::queueDeviceLoss()
{
    if (!d->connected || d->lossCheckQueued || d->lossTold)
        return;
    d->lossCheckQueued = true;
    const quint64 generation = d->generation;
    QMetaObject::invokeMethod(this, [this, generation] { handleDeviceLoss(generation); },
                              Qt::QueuedConnection);
}

void TCustomSerialPort::handleDeviceLoss(quint64 generation)
{
    QSerialPort &s = d->serial;
    const QSerialPort::SerialPortError error = s.error();
    // A read or write that met the failure itself has raised it and cleared
    // the error: nothing more to tell.
    if (!d->connected || generation != d->generation || error == QSerialPort::NoError) {
        d->lossCheckQueued = false;
        return;
    }
    bool gone = error == QSerialPort::ResourceError;
    if (!gone) {
        // A read that found nothing is also what a notification for bytes a
        // wait has already taken looks like. Ask the device for its modem
        // lines: only one that has gone away fails that with a resource error.
        s.clearError();
        s.pinoutSignals();
        gone = s.error() == QSerialPort::ResourceError;
    }
    s.clearError();
    d->lossCheckQueued = false;
    d->lossTold = gone;
    if (gone)
        emit errorRaised(ESerialPort(QStringLiteral("ReadFile function failed"), int(QSerialPort::ResourceError)).message());
}

void TCustomSerialPort::handleNotification(quint64 generation)
{
    if (!d->connected || generation != d->generation)
        return;
    try {
        const int count = bytesWaiting();
        if (count > 0)
            emit rxChar(count);
    } catch (const std::exception &e) {
        // Never let a failure leave through the event loop; the window shows it.
        emit errorRaised(QString::fromStdString(e.what()));
    }
}
