#pragma once

#include "widgets/TTrendTiming.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QSize>

class TSignalSettings;

// The scrolling picture of a two-channel strip chart, kept between ticks.
// Each tick scrolls it left by one step and draws both traces as steps at the
// right edge; grid lines and time lines are scrolled in with it.
//
// Coordinates are in logical pixels; the picture may hold several device
// pixels per logical pixel so that it stays sharp on high-density screens.
class TTrendPlot
{
public:
    struct Style {
        QColor background{0, 0, 0};
        QColor grid{128, 128, 128};
        QColor timeLine{0xFF, 0x00, 0xFF};
        QColor trace1{0x00, 0xFF, 0x00};
        QColor trace2{0xFF, 0xFF, 0x00};
        bool showGrid = true;
        bool showTimeLine = true;
        QFont font;
    };

    // Empties the picture at this size and sets up the grid and the timing.
    void Restart(QSize size, int timeScaleMinutes, const Style &style, const QString &timeText, int scale = 1);
    // One tick: y1 and y2 are the rows of the new values (outside 0..H-1 is clipped).
    void Tick(int y1, int y2, const QString &timeText);
    // What `ticks` ticks at the rows y1 and y2 leave behind in the counters
    // (grid and time-line spacing, previous rows), without drawing: for ticks
    // whose pixels the ticks after them scroll out of the picture anyway.
    void Skip(int ticks, int y1, int y2);
    // Ticks after which nothing drawn before them is left in the picture.
    int TicksToClear() const;

    // Row of a value: ValueFrom on the bottom row, ValueTo on the top row.
    static int ChannelY(const TSignalSettings &s, double value, int height);

    const QImage &Image() const { return m_image; }
    QSize Size() const { return m_size; }
    const TTrendTiming &Timing() const { return m_timing; }
    int Scale() const { return m_scale; }
    int GridRow(int i) const { return m_gridY[i]; } // i = 0..8
    int PreviousY(int channel) const { return channel == 1 ? m_prev1 : m_prev2; }
    // Colour of a logical pixel (reads the top-left device pixel of it).
    QColor Pixel(int x, int y) const;
    // The label text written at restart and at every time line.
    static QString TimeText(const QString &label, const QString &clock);

private:
    void vline(int x, int y0, int y1, const QColor &c);
    void hline(int x0, int x1, int y, const QColor &c);
    void writeTime(int rightX, const QString &timeText);
    void scrollLeft(int px);

    QImage m_image;
    QSize m_size;
    Style m_style;
    TTrendTiming m_timing;
    int m_scale = 1;
    int m_prev1 = 0;
    int m_prev2 = 0;
    int m_scrolled = 0;
    int m_divisions = 0;
    int m_gridY[9] = {};
};
