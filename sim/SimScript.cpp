#include "sim/SimScript.h"

void SimScript::append(const QString &line)
{
    QString l = line;
    const qsizetype hash = l.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        l.truncate(hash);
    l = l.simplified();
    if (!l.isEmpty())
        m_lines << l;
}

void SimScript::appendText(const QString &text)
{
    for (const QString &l : text.split(QLatin1Char('\n')))
        append(l);
}

QStringList SimScript::takeDue(qint64 nowUs)
{
    QStringList out;
    if (m_resumeUs >= 0) {
        if (nowUs < m_resumeUs)
            return out;
        m_resumeUs = -1;
    }
    while (!m_lines.isEmpty()) {
        const QString l = m_lines.takeFirst();
        const QStringList w = l.split(QLatin1Char(' '));
        if (w.size() == 2 && w[0] == QLatin1String("wait")) {
            bool ok = false;
            const double ms = w[1].toDouble(&ok);
            if (ok && ms > 0) {
                m_resumeUs = nowUs + qint64(ms * 1000);
                break;
            }
        }
        out << l;
    }
    return out;
}

std::optional<qint64> SimScript::nextUs() const
{
    if (m_resumeUs >= 0 && !m_lines.isEmpty())
        return m_resumeUs;
    return std::nullopt;
}
