#include "link/LineQuality.h"

void LineQuality::errorAt(qint64 nowMs)
{
    m_errors.append(nowMs);
}

int LineQuality::errorsInLastMinute(qint64 nowMs)
{
    while (!m_errors.isEmpty() && m_errors.first() <= nowMs - WindowMs)
        m_errors.removeFirst();
    return int(m_errors.size());
}
