#pragma once

#include "sim/ReceivedCommand.h"
#include "sim/Transmission.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

// One JSON object per line for every frame in either direction: monotonic
// time of the first and the last byte (microseconds), the bytes as on the
// line, the decoded bytes and the code. Written as it happens, so a crash or
// a kill leaves a usable log.
class FrameLog
{
public:
    FrameLog() = default;
    // False when the file cannot be created; the simulator then runs unlogged.
    bool open(const QString &path);
    bool isOpen() const { return m_file != nullptr; }

    void received(const ReceivedCommand &c);
    void sent(const Transmission &t);

    static QByteArray formatReceived(const ReceivedCommand &c);
    static QByteArray formatSent(const Transmission &t);

private:
    void write(const QByteArray &line);
    std::unique_ptr<QFile> m_file;
};
