#pragma once

#include "chart/ChartData.h"

#include <QPointer>

#include <functional>

class ChartWindow;
class QByteArray;

// The live session on the chart: the last ten minutes of the answers the
// window has already decoded for its gauges (nothing is polled for it) and
// of the fuel requests it wrote, on a clock handed in (a QElapsedTimer in the
// window, a hand-moved one in tests). The chart window, while open, is told
// after each answer; nothing is drawn while it is closed.
class LiveChart
{
public:
    using Clock = std::function<qint64()>;
    explicit LiveChart(Clock clock);

    // A connect: the ring starts empty at time 0.
    void linkStarted();
    // An answer the live displays took, as decoded for them.
    void answer(const LiveValues &values);
    // A command as written to the line (raw lead and coded frame).
    void commandWritten(const QByteArray &lineBytes);

    void setWindow(ChartWindow *window);
    const ChartData &data() const { return m_data; }

private:
    qint64 now() const;

    Clock m_clock;
    qint64 m_startMs = 0;
    ChartData m_data;
    QPointer<ChartWindow> m_window;
};
