#pragma once

#include <QByteArray>
#include <cstdint>

// One command as the controller read it off the line.
struct ReceivedCommand
{
    enum class Status {
        Ok,          // a known code, complete, checksum right
        BadChecksum, // complete, but the sum does not match: a real device stays silent
        UnknownCode, // a code the controller does not know; ended by the line going quiet
        Incomplete,  // the line stalled in the middle of a frame
    };

    QByteArray line;  // the bytes as they came, lead 0xCC included
    QByteArray frame; // decoded: AA, body, checksum
    qint64 firstUs = 0;
    qint64 lastUs = 0;
    Status status = Status::Ok;

    int code() const { return frame.size() > 1 ? uint8_t(frame[1]) : -1; }
    // Code and parameters, without AA and checksum.
    QByteArray body() const { return frame.size() >= 3 ? frame.mid(1, frame.size() - 2) : QByteArray(); }
};
