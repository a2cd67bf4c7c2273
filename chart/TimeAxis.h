#pragma once

#include <QtGlobal>

// The chart's time axis: the whole span of the data, the part of it in view,
// and the plot's width in pixels. Zoom keeps the time under the pointer
// where it is; pan moves the view with the pointer; neither leaves the whole.
class TimeAxis
{
public:
    // Shortest span in view: a few answers at the poll rate.
    static constexpr double MinSpanMs = 1000.0;

    void setWhole(qint64 fromMs, qint64 toMs);
    void setWidth(double pixels);
    // Shows [fromMs, toMs], kept inside the whole and at least MinSpanMs.
    void setView(double fromMs, double toMs);
    void showAll();

    double wholeFrom() const { return m_wholeFrom; }
    double wholeTo() const { return m_wholeTo; }
    double from() const { return m_from; }
    double to() const { return m_to; }
    double span() const { return m_to - m_from; }
    double width() const { return m_width; }
    bool showingAll() const;

    double xOf(double ms) const;
    double timeAt(double x) const;

    // factor < 1 zooms in, > 1 out, around pixel x of the plot.
    void zoomAround(double x, double factor);
    // The content follows a drag of dx pixels (positive: to the right,
    // showing earlier times).
    void pan(double dxPixels);

private:
    void clampView();

    double m_wholeFrom = 0;
    double m_wholeTo = MinSpanMs;
    double m_from = 0;
    double m_to = MinSpanMs;
    double m_width = 1;
};
