#include "chart/TimeAxis.h"

#include <algorithm>

void TimeAxis::setWhole(qint64 fromMs, qint64 toMs)
{
    const bool all = showingAll();
    m_wholeFrom = double(fromMs);
    m_wholeTo = std::max(double(toMs), m_wholeFrom + MinSpanMs);
    if (all)
        showAll();
    else
        clampView();
}

void TimeAxis::setWidth(double pixels)
{
    m_width = std::max(pixels, 1.0);
}

void TimeAxis::setView(double fromMs, double toMs)
{
    m_from = std::min(fromMs, toMs);
    m_to = std::max(fromMs, toMs);
    clampView();
}

void TimeAxis::showAll()
{
    m_from = m_wholeFrom;
    m_to = m_wholeTo;
}

bool TimeAxis::showingAll() const
{
    return m_from <= m_wholeFrom && m_to >= m_wholeTo;
}

double TimeAxis::xOf(double ms) const
{
    return (ms - m_from) / span() * m_width;
}

double TimeAxis::timeAt(double x) const
{
    return m_from + x / m_width * span();
}

void TimeAxis::zoomAround(double x, double factor)
{
    const double anchor = timeAt(x);
    const double whole = m_wholeTo - m_wholeFrom;
    const double newSpan = std::clamp(span() * factor, std::min(MinSpanMs, whole), whole);
    m_from = anchor - x / m_width * newSpan;
    m_to = m_from + newSpan;
    clampView();
}

void TimeAxis::pan(double dxPixels)
{
    const double shift = -dxPixels / m_width * span();
    m_from += shift;
    m_to += shift;
    clampView();
}

void TimeAxis::clampView()
{
    const double whole = m_wholeTo - m_wholeFrom;
    double s = std::clamp(m_to - m_from, std::min(MinSpanMs, whole), whole);
    if (m_from < m_wholeFrom)
        m_from = m_wholeFrom;
    if (m_from + s > m_wholeTo)
        m_from = m_wholeTo - s;
    m_to = m_from + s;
}
