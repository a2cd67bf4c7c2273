#include "app/chart/LiveChart.h"

#include "app/chart/ChartWindow.h"

LiveChart::LiveChart(Clock clock) : m_clock(std::move(clock))
{
    m_data.setKeepMs(ChartData::LiveKeepMs);
}

qint64 LiveChart::now() const
{
    return m_clock() - m_startMs;
}

void LiveChart::linkStarted()
{
    m_startMs = m_clock();
    m_data.clear();
    if (m_window)
        m_window->liveChanged();
}

void LiveChart::answer(const LiveValues &values)
{
    m_data.appendAnswer(now(), values);
    if (m_window)
        m_window->liveChanged();
}

void LiveChart::commandWritten(const QByteArray &lineBytes)
{
    m_data.append({now(), RecordKind::Command, lineBytes});
}

void LiveChart::setWindow(ChartWindow *window)
{
    m_window = window;
}
