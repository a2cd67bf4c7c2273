#pragma once

#include <QByteArray>

// The three slots of outgoing commands and their retry budget. Only the
// current slot is ever sent; it holds a whole frame (AA, body, checksum). The
// next and after-next slots hold bare bodies, the after-next one possibly the
// "ZAPIS" marker, which is never a command.
//
// This class keeps the data and its rules; the session around it owns the
// timers, the link state and the disconnect that the queue's steps trigger.
class CommandQueue
{
public:
    // What happened to a body handed to frame().
    enum class FrameResult {
        Framed,          // now in the current slot
        BudgetExhausted, // the budget reached 0: nothing stored, link must end
        Refused          // the save marker or an empty body: never framed
    };

    CommandQueue() = default;

    // Decrements the budget, then (if it is not used up) stores the optional
    // second and third bodies and frames `first` into the current slot,
    // dropping whatever it held. Empty second/third leave their slots alone.
    FrameResult frame(const QByteArray &first, const QByteArray &second, const QByteArray &third);

    // An answer's code (offset 3) that echoes the current command clears the
    // slot and the budget. True when nothing is outstanding afterwards.
    bool acknowledge(const QByteArray &answer);

    // Moves next -> (taken), after-next -> next. Returns the body taken.
    QByteArray takeNext();

    // The save marker waits alone in the after-next slot: clear it, true.
    bool takeSaveMarker();

    // Back to the state of start-up and of every disconnect.
    void clear();

    const QByteArray &current() const { return m_current; }
    const QByteArray &next() const { return m_next; }
    const QByteArray &afterNext() const { return m_afterNext; }
    // The current frame without its 0xAA and checksum.
    QByteArray currentBody() const;

    int commandRetries() const { return m_retries; }
    void setCommandRetries(int retries) { m_retries = retries; }
    int lastCommandCode() const { return m_lastCode; }
    void setLastCommandCode(int code) { m_lastCode = code; }

    static bool isSaveMarker(const QByteArray &body);

private:
    QByteArray m_current;
    QByteArray m_next;
    QByteArray m_afterNext;
    int m_retries = 0;
    int m_lastCode = -1;
};
