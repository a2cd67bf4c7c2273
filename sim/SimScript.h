#pragma once

#include <QStringList>
#include <optional>

// Console lines waiting to run. "wait MS" holds back every line after it
// for that long; everything else is handed out in order once it is due.
class SimScript
{
public:
    void append(const QString &line);
    void appendText(const QString &text);
    // Lines whose turn has come (comments and blank lines removed).
    QStringList takeDue(qint64 nowUs);
    std::optional<qint64> nextUs() const;
    bool isEmpty() const { return m_lines.isEmpty(); }

private:
    QStringList m_lines;
    qint64 m_resumeUs = -1; // a wait in progress ends here
};
