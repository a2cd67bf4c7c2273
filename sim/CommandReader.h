#pragma once

#include "sim/ReceivedCommand.h"

#include <QList>
#include <optional>

// Cuts the controller's input into commands. A command starts with the raw
// lead 0xCC followed by the coded 0xAA; its length comes from the catalogue
// by its code. The write-all and unknown codes end when the line has been
// quiet for a while. Bytes outside a command are line noise and are counted.
// Time is passed in by the caller (microseconds, any monotonic origin).
class CommandReader
{
public:
    explicit CommandReader(qint64 quietUs = 100000, qint64 stallUs = 1000000);

    void feed(const QByteArray &bytes, qint64 nowUs);
    // Ends a frame whose end is the line going quiet, and gives up on one
    // that stalled. Call it by deadline().
    void poll(qint64 nowUs);
    std::optional<qint64> deadline() const;

    QList<ReceivedCommand> take();
    qint64 noiseBytes() const { return m_noise; }
    bool inFrame() const { return m_state != State::WaitLead; }
    void reset();

private:
    enum class State { WaitLead, WaitStart, Body };
    void feedByte(uint8_t raw, qint64 nowUs);
    void finish(ReceivedCommand::Status status);
    void checkComplete();

    qint64 m_quietUs;
    qint64 m_stallUs;
    State m_state = State::WaitLead;
    ReceivedCommand m_current;
    QList<ReceivedCommand> m_done;
    qint64 m_noise = 0;
};
