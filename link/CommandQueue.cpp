#include "link/CommandQueue.h"

#include "link/CommandBodies.h"
#include "link/CommandFrame.h"

CommandQueue::FrameResult CommandQueue::frame(const QByteArray &first, const QByteArray &second,
                                              const QByteArray &third)
{
    // The marker only means something in the after-next slot; framed, it would
    // put "AA 'Z' 'A' 'P' 'I' 'S'" on the line as if it were a command.
    if (first.isEmpty() || isSaveMarker(first))
        return FrameResult::Refused;

    if (m_retries <= 0) {
        // No budget set (0 after an acknowledgement or a disconnect): one
        // attempt, and the resend a wrong answer asks for ends the link.
        // Counting down from 0 would never reach it and resend for ever.
        m_retries = 1;
    } else if (--m_retries == 0) {
        return FrameResult::BudgetExhausted;
    }

    if (!second.isEmpty())
        m_next = second;
    if (!third.isEmpty())
        m_afterNext = third;
    m_current = CommandFrame::frame(first);
    m_lastCode = uint8_t(first[0]);
    return FrameResult::Framed;
}

bool CommandQueue::acknowledge(const QByteArray &answer)
{
    if (m_current.isEmpty())
        return true;
    // Offset 3 is the answer's code only when a byte follows it: the last
    // byte of an answer is its check byte.
    if (answer.size() > 4 && m_current.size() > 1 && answer[3] == m_current[1]) {
        m_retries = 0;
        m_current.clear();
        return true;
    }
    return false;
}

QByteArray CommandQueue::takeNext()
{
    QByteArray body = m_next;
    m_next = m_afterNext;
    m_afterNext.clear();
    return body;
}

bool CommandQueue::takeSaveMarker()
{
    if (!m_current.isEmpty() || !m_next.isEmpty() || !isSaveMarker(m_afterNext))
        return false;
    m_afterNext.clear();
    return true;
}

void CommandQueue::clear()
{
    m_current.clear();
    m_next.clear();
    m_afterNext.clear();
    m_retries = 0;
    m_lastCode = -1;
}

QByteArray CommandQueue::currentBody() const
{
    return CommandFrame::body(m_current);
}

bool CommandQueue::isSaveMarker(const QByteArray &body)
{
    return body == CommandBodies::saveMarker();
}
