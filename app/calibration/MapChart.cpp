#include "app/calibration/MapChart.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>

namespace {

const QSize DesignedSize(790, 232);

QValueAxis *axis(const QString &title, double min, double max)
{
    auto *a = new QValueAxis;
    a->setTitleText(title);
    a->setRange(min, max);
    QFont f = a->labelsFont();
    f.setPointSizeF(7.5);
    a->setLabelsFont(f);
    a->setTitleFont(f);
    return a;
}

template <class Series>
Series *series(QChart *chart, const char *name, const QString &title, QAbstractAxis *x, QAbstractAxis *y)
{
    auto *s = new Series;
    s->setObjectName(QString::fromLatin1(name));
    s->setName(title);
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
    return s;
}

// The MAP axis labels round values at either top: every 10 kPa up to 100,
// and every 50 kPa up to 256 (a turbo engine) with a line every 10 between.
void setRoundTicks(QValueAxis *map)
{
    const bool turbo = map->max() > 100.0;
    map->setTickType(QValueAxis::TicksDynamic);
    map->setTickAnchor(0.0);
    map->setTickInterval(turbo ? 50.0 : 10.0);
    map->setMinorTickCount(turbo ? 4 : 0);
}

void style(QXYSeries *s, const QColor &colour, Qt::PenStyle penStyle, qreal width)
{
    QPen pen(colour);
    pen.setStyle(penStyle);
    pen.setWidthF(width);
    s->setPen(pen);
}

} // namespace

QWidget *MapChart::create(QWidget *parent)
{
    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(0, 0, 0, 0));
    chart->setBackgroundRoundness(0);

    QValueAxis *time = axis(QStringLiteral("[ms]"), 1.0, 25.5);
    time->setTickType(QValueAxis::TicksDynamic);
    time->setTickAnchor(1.0);
    time->setTickInterval(1.0);
    time->setLabelFormat(QStringLiteral("%.0f"));
    QValueAxis *multiplier = axis(QStringLiteral("Gaz [ms] / Petrol [ms]"), 0.0, 2.52);
    multiplier->setTickType(QValueAxis::TicksDynamic);
    multiplier->setTickAnchor(0.0);
    multiplier->setTickInterval(0.5);
    multiplier->setMinorTickCount(4); // a line every 0.1
    multiplier->setLabelFormat(QStringLiteral("%.1f"));
    QValueAxis *map = axis(QStringLiteral("MAP [kPa]"), 0.0, 100.0);
    map->setLabelFormat(QStringLiteral("%.0f"));
    map->setGridLineVisible(false);
    // On a scaled screen the right axis is measured a little short and its
    // three-digit labels came out as "..."; they always fit beside the plot.
    map->setTruncateLabels(false);
    setRoundTicks(map);
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(multiplier, Qt::AlignLeft);
    chart->addAxis(map, Qt::AlignRight);

    const QColor green(0x00, 0x80, 0x00);
    const QColor red(0xFF, 0x00, 0x00);
    style(series<QLineSeries>(chart, "Series1", QStringLiteral("Mnożnik"), time, multiplier), QColor(0x00, 0x00, 0xFF),
          Qt::SolidLine, 2);
    style(series<QLineSeries>(chart, "Series2", QStringLiteral("Obszar_od"), time, multiplier), QColor(0xFF, 0xFF, 0x00),
          Qt::SolidLine, 1);
    style(series<QLineSeries>(chart, "Series3", QStringLiteral("Obszar_do"), time, multiplier), QColor(0xFF, 0xFF, 0x00),
          Qt::DashDotDotLine, 3);
    auto *workingPoint = series<QLineSeries>(chart, "Series4", QStringLiteral("Wskaznik"), time, map);
    style(workingPoint, red, Qt::DashLine, 1);
    workingPoint->setPointsVisible(true);
    workingPoint->setMarkerSize(5);
    style(series<QLineSeries>(chart, "Series5", QStringLiteral("Wykres_Gaz"), time, map), green, Qt::DashLine, 2);
    style(series<QLineSeries>(chart, "Series7", QStringLiteral("Wykres_Petrol"), time, map), red, Qt::SolidLine, 2);
    for (const auto &[name, colour] : {std::pair{"Series6", QColor(0x90, 0xEE, 0x90)}, {"Series8", QColor(0xFF, 0x80, 0x80)}}) {
        auto *points = series<QScatterSeries>(chart, name, QStringLiteral("Punkty"), time, map);
        points->setMarkerSize(5);
        points->setColor(colour);
        points->setBorderColor(colour);
    }
    // The marked stretch of the map, drawn over it in yellow: a line series
    // takes one colour, so the map's own points cannot colour their segments.
    // After the eight addressed series, so their order stays.
    style(series<QLineSeries>(chart, "Series1Area", QStringLiteral("Mnożnik"), time, multiplier), QColor(0xFF, 0xFF, 0x00),
          Qt::SolidLine, 2);

    auto *view = new QChartView(chart, parent);
    view->setObjectName(QStringLiteral("Chart1"));
    view->setRenderHint(QPainter::Antialiasing);
    // No frame: the mouse area is placed in the view's coordinates, the plot
    // in its viewport's, and the two must be the same.
    view->setFrameShape(QFrame::NoFrame);
    view->setMinimumSize(DesignedSize);
    view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->resize(DesignedSize);

    // Takes the mouse presses that mark an area of the curve; draws nothing.
    auto *mouseArea = new QWidget(view);
    mouseArea->setObjectName(QStringLiteral("PaintBox1"));
    // The chart lays out its axes and plot at every size; the mouse area
    // follows the plot wherever it goes.
    QObject::connect(chart, &QChart::plotAreaChanged, mouseArea,
                     [mouseArea](const QRectF &plot) { mouseArea->setGeometry(plot.toRect()); });
    mouseArea->setToolTip(QStringLiteral("Zmiana korekcji-zaznacz obszar zmian na wykresie i przesuń strzałkami góra/dół"));
    mouseArea->setCursor(Qt::CrossCursor);
    mouseArea->setMouseTracking(true);
    return view;
}

MapChart::Parts MapChart::parts(QWidget *chart1)
{
    Parts p;
    auto *view = qobject_cast<QChartView *>(chart1);
    if (!view || !view->chart())
        return p;
    p.view = view;
    p.chart = view->chart();
    const QList<QAbstractSeries *> all = p.chart->series();
    for (int i = 0; i < SeriesCount && i < all.size(); ++i)
        p.series[size_t(i)] = qobject_cast<QXYSeries *>(all[i]);
    if (all.size() > SeriesCount)
        p.mapArea = qobject_cast<QXYSeries *>(all[SeriesCount]);
    const auto axisAt = [&](Qt::Alignment side) {
        const QList<QAbstractAxis *> axes = p.chart->axes(side == Qt::AlignBottom ? Qt::Horizontal : Qt::Vertical);
        for (QAbstractAxis *a : axes)
            if (a->alignment() == side)
                return qobject_cast<QValueAxis *>(a);
        return static_cast<QValueAxis *>(nullptr);
    };
    p.time = axisAt(Qt::AlignBottom);
    p.multiplier = axisAt(Qt::AlignLeft);
    p.map = axisAt(Qt::AlignRight);
    p.paintBox = view->findChild<QWidget *>(QStringLiteral("PaintBox1"), Qt::FindDirectChildrenOnly);
    return p;
}

void MapChart::setRightAxisMaximum(QWidget *chart1, double kPa)
{
    auto *view = qobject_cast<QChartView *>(chart1);
    if (!view || !view->chart())
        return;
    for (QAbstractAxis *a : view->chart()->axes(Qt::Vertical)) {
        auto *valueAxis = qobject_cast<QValueAxis *>(a);
        if (valueAxis && valueAxis->alignment() == Qt::AlignRight) {
            if (valueAxis->max() != kPa) {
                valueAxis->setMax(kPa);
                setRoundTicks(valueAxis);
            }
            return;
        }
    }
}
