#include "sim/CommandReader.h"

#include "link/CommandFrame.h"
#include "link/WireCodec.h"
#include "sim/CommandCatalogue.h"

CommandReader::CommandReader(qint64 quietUs, qint64 stallUs)
    : m_quietUs(quietUs), m_stallUs(stallUs)
{
}

void CommandReader::reset()
{
    m_state = State::WaitLead;
    m_current = {};
    m_done.clear();
}

void CommandReader::feed(const QByteArray &bytes, qint64 nowUs)
{
    for (char c : bytes)
        feedByte(uint8_t(c), nowUs);
}

void CommandReader::feedByte(uint8_t raw, qint64 nowUs)
{
    switch (m_state) {
    case State::WaitLead:
        if (raw == CommandFrame::Lead) {
            m_current = {};
            m_current.line.append(char(raw));
            m_current.firstUs = m_current.lastUs = nowUs;
            m_state = State::WaitStart;
        } else {
            ++m_noise;
        }
        return;
    case State::WaitStart:
        if (WireCodec::decodeCommand(raw) == CommandFrame::Start) {
            m_current.line.append(char(raw));
            m_current.frame.append(char(CommandFrame::Start));
            m_current.lastUs = nowUs;
            m_state = State::Body;
        } else if (raw == CommandFrame::Lead) {
            // The earlier lead was noise; this one may be real.
            ++m_noise;
            m_current.firstUs = m_current.lastUs = nowUs;
        } else {
            m_noise += 2;
            m_state = State::WaitLead;
        }
        return;
    case State::Body:
        m_current.line.append(char(raw));
        m_current.frame.append(char(WireCodec::decodeCommand(raw)));
        m_current.lastUs = nowUs;
        checkComplete();
        return;
    }
}

void CommandReader::checkComplete()
{
    const int code = m_current.code();
    if (code < 0)
        return;
    const int wanted = CommandCatalogue::bodyLength(uint8_t(code)) + 2;
    switch (CommandCatalogue::lengthKind(uint8_t(code))) {
    case CommandCatalogue::Length::Fixed:
    case CommandCatalogue::Length::UntilQuiet:
        if (m_current.frame.size() >= wanted)
            finish(CommandFrame::isValidFrame(m_current.frame) ? ReceivedCommand::Status::Ok
                                                                : ReceivedCommand::Status::BadChecksum);
        return;
    case CommandCatalogue::Length::Unknown:
        return;
    }
}

void CommandReader::finish(ReceivedCommand::Status status)
{
    m_current.status = status;
    m_done.append(m_current);
    m_current = {};
    m_state = State::WaitLead;
}

void CommandReader::poll(qint64 nowUs)
{
    if (m_state == State::WaitLead)
        return;
    const qint64 idle = nowUs - m_current.lastUs;
    if (m_state == State::WaitStart) {
        if (idle >= m_stallUs) {
            ++m_noise;
            m_current = {};
            m_state = State::WaitLead;
        }
        return;
    }
    const int code = m_current.code();
    const auto kind = code < 0 ? CommandCatalogue::Length::Fixed : CommandCatalogue::lengthKind(uint8_t(code));
    if (kind == CommandCatalogue::Length::Fixed) {
        if (idle >= m_stallUs)
            finish(ReceivedCommand::Status::Incomplete);
        return;
    }
    if (idle < m_quietUs)
        return;
    if (kind == CommandCatalogue::Length::Unknown)
        finish(ReceivedCommand::Status::UnknownCode);
    else
        finish(CommandFrame::isValidFrame(m_current.frame) ? ReceivedCommand::Status::Ok
                                                            : ReceivedCommand::Status::BadChecksum);
}

std::optional<qint64> CommandReader::deadline() const
{
    if (m_state == State::WaitLead)
        return std::nullopt;
    const int code = m_current.code();
    const bool untilQuiet = code >= 0 && CommandCatalogue::lengthKind(uint8_t(code)) != CommandCatalogue::Length::Fixed;
    return m_current.lastUs + (untilQuiet ? m_quietUs : m_stallUs);
}

QList<ReceivedCommand> CommandReader::take()
{
    QList<ReceivedCommand> out;
    out.swap(m_done);
    return out;
}
