#pragma once

#include "app/chart/ChartTexts.h"
#include "chart/ChartData.h"
#include "chart/ChartLayout.h"
#include "chart/TimeAxis.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QVector>

#include <optional>

class QPainter;

// Draws a chart of ChartData: one pane per entry of the layout, stacked and
// sharing the time axis at the bottom; each pane with a legend line (names,
// units and, with a cursor, the value at the cursor) and one value axis per
// unit (the first on the left, the second on the right); under the panes the
// band of the fuel in use with the faults and the marks where one appeared;
// a vertical cursor with its time. Needs Qt Gui only, so the command line
// draws the same picture without a display.
class ChartPainter
{
public:
    struct Geometry
    {
        QRect plot;           // the x extent of the time axis (and of every pane)
        QVector<QRect> panes; // data area of each pane, legend line excluded
        QVector<QRect> legends;
        QRect band;
        QRect timeAxis;
    };

    static Geometry geometry(const QRect &area, int paneCount, const QFont &font);

    struct View
    {
        const ChartData *data = nullptr;
        const ChartLayout *layout = nullptr;
        const TimeAxis *axis = nullptr; // its width must be that of geometry().plot
        std::optional<qint64> cursorMs;
        const ChartTexts *texts = nullptr;
    };
    static void paint(QPainter &painter, const QRect &area, const View &view);

    // The picture as a PNG would hold it: `size` in device-independent
    // pixels at `scale` (the screen's pixel ratio; 1 for the command line).
    // The axis is copied and given the picture's plot width.
    static QImage image(const View &view, const QSize &size, qreal scale, const QFont &font);

    // The read-out of every shown channel at `ms`, one line each, the time
    // first ("03:07.4"), the band's fuel and faults last.
    static QStringList readout(const View &view, qint64 ms);
    // The names of the faults in a FuelBand mask.
    static QString faultNames(uint32_t mask, const ChartTexts &texts);
    static QString fuelName(FuelBand::State state, const ChartTexts &texts);
};
