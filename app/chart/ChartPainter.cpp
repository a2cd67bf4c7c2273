#include "app/chart/ChartPainter.h"

#include "chart/ChartFormat.h"
#include "chart/MinMaxColumns.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int SideMargin = 64; // room for the value axis labels, left and right
constexpr int Gap = 6;

const QColor LineColours[] = {QColor(0x1f, 0x5f, 0xc4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0x9a, 0x2c),
                              QColor(0xe0, 0x7b, 0x0e), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                              QColor(0xd0, 0x4f, 0xa8), QColor(0x55, 0x55, 0x55)};

// The channels after the first in a pane are see-through: over a long stretch
// two channels that swing over the same range (the two lambda sensors) fill
// the same columns, and the later one would hide the earlier one entirely.
QColor lineColour(int indexInPane)
{
    QColor c = LineColours[indexInPane % std::size(LineColours)];
    if (indexInPane > 0)
        c.setAlpha(150);
    return c;
}

QColor fuelColour(FuelBand::State state)
{
    switch (state) {
    case FuelBand::State::Off: return QColor(0xd4, 0xd4, 0xd4);
    case FuelBand::State::Petrol: return QColor(0xe8, 0x6a, 0x5a);
    case FuelBand::State::Gas: return QColor(0x5c, 0xc8, 0x5c);
    case FuelBand::State::Switching: return QColor(0xf2, 0xc8, 0x3a);
    }
    return Qt::gray;
}

struct UnitScale
{
    ChartUnit unit;
    double lo = 0;
    double hi = 1;
    ChartFormat::Ticks ticks;
};

struct PaneLines
{
    QVector<int> channels;
    QVector<MinMaxColumns> columns;
    QVector<int> scaleOf; // index into scales per channel
    QVector<UnitScale> scales;
};

bool startsAtZero(ChartUnit unit)
{
    return unit == ChartUnit::Rpm || unit == ChartUnit::Ms || unit == ChartUnit::Plain || unit == ChartUnit::Kpa;
}

PaneLines prepare(const ChartPainter::View &view, const QStringList &keys, int width)
{
    PaneLines p;
    const TimeAxis &axis = *view.axis;
    for (const QString &key : keys) {
        const int channel = ChartChannel::indexOf(key);
        if (channel < 0)
            continue;
        p.channels.append(channel);
        p.columns.append(MinMaxColumns::compute(view.data->series(), channel, axis.from(), axis.to(), width));
        const ChartUnit unit = ChartChannel::all()[channel].unit;
        int s = 0;
        while (s < p.scales.size() && p.scales[s].unit != unit)
            ++s;
        if (s == p.scales.size())
            p.scales.append(UnitScale{unit, 0, 1, {}});
        p.scaleOf.append(s);
    }
    for (int s = 0; s < p.scales.size(); ++s) {
        double lo = std::numeric_limits<double>::infinity();
        double hi = -lo;
        for (int i = 0; i < p.channels.size(); ++i) {
            if (p.scaleOf[i] != s)
                continue;
            const MinMaxColumns &m = p.columns[i];
            if (!std::isnan(m.heldIn)) {
                lo = std::min(lo, double(m.heldIn));
                hi = std::max(hi, double(m.heldIn));
            }
            for (const MinMaxColumn &c : m.columns) {
                if (c.empty)
                    continue;
                lo = std::min(lo, double(c.min));
                hi = std::max(hi, double(c.max));
            }
        }
        if (!std::isfinite(lo)) {
            lo = 0;
            hi = 1;
        }
        // A little room above and below, so a line at the end of its range
        // is not hidden in the pane's frame.
        const bool fromZero = startsAtZero(p.scales[s].unit) && lo >= 0;
        if (fromZero)
            lo = 0;
        const double pad = (hi - lo) * 0.04;
        if (!fromZero)
            lo -= pad;
        hi += pad;
        p.scales[s].ticks = ChartFormat::niceTicks(lo, hi, 4);
        p.scales[s].lo = p.scales[s].ticks.lo;
        p.scales[s].hi = p.scales[s].ticks.hi;
    }
    return p;
}

// Two pixels inside the pane's frame, so a line at 0 stays visible.
double yOf(const UnitScale &s, const QRect &r, double v)
{
    return r.bottom() - 2 - (v - s.lo) / (s.hi - s.lo) * (r.height() - 5);
}

QString unitSuffix(const ChartTexts &texts, ChartUnit unit)
{
    const QString u = texts.unit(unit);
    return u.isEmpty() ? QString() : QLatin1Char(' ') + u;
}

QString tickText(double v, int decimals, QChar decimal)
{
    QString t = QString::number(v, 'f', decimals);
    if (t == QLatin1String("-0"))
        t = QStringLiteral("0");
    t.replace(QLatin1Char('.'), decimal);
    return t;
}

void drawValueAxis(QPainter &painter, const QRect &r, const UnitScale &s, bool left, const ChartTexts &texts)
{
    const QFontMetrics fm = painter.fontMetrics();
    int lastLabelY = std::numeric_limits<int>::max();
    for (double v = s.ticks.lo; v <= s.ticks.hi + s.ticks.step * 1e-6; v += s.ticks.step) {
        const int y = int(std::lround(yOf(s, r, v)));
        if (left) {
            painter.setPen(QColor(0xe4, 0xe4, 0xe4));
            painter.drawLine(r.left(), y, r.right(), y);
        }
        painter.setPen(Qt::black);
        const QString t = tickText(v, s.ticks.decimals, texts.decimal);
        const int ty = std::clamp(y + fm.ascent() / 2 - 1, r.top() + fm.ascent(), r.bottom());
        // On a short pane the top label, kept inside the pane, can land on the
        // one below it: its grid line stays, the label is left out.
        if (lastLabelY - ty < fm.ascent())
            continue;
        lastLabelY = ty;
        if (left)
            painter.drawText(r.left() - 4 - fm.horizontalAdvance(t), ty, t);
        else
            painter.drawText(r.right() + 4, ty, t);
    }
    // The unit above its axis, on the legend line, clear of the tick labels.
    const QString u = texts.unit(s.unit);
    if (!u.isEmpty()) {
        painter.setPen(Qt::darkGray);
        const int y = r.top() - 4 - fm.descent();
        if (left)
            painter.drawText(r.left() - 4 - fm.horizontalAdvance(u), y, u);
        else
            painter.drawText(r.right() + 4, y, u);
    }
}

// `columnWidth`: the width of a column in the painter's pixels (1 / the
// device's pixel ratio, so a scaled screen gets a column per device pixel).
void drawLine(QPainter &painter, const QRect &r, const MinMaxColumns &m, const UnitScale &s, const TimeAxis &axis,
              double lastMs, double columnWidth)
{
    // The step line the gauge held, drawn as what it covers on screen: in
    // each column with answers one vertical stroke from the value held into
    // it through its smallest and largest, and between them one horizontal
    // stroke for as long as the value stays put. The same pixels as a
    // polyline through every first, min, max and last, with a fraction of
    // the strokes (a redraw of the live chart is mostly this).
    QVector<QLineF> lines;
    lines.reserve(m.columns.size() + 8);
    bool holding = !std::isnan(m.heldIn);
    double heldY = holding ? yOf(s, r, m.heldIn) : 0;
    double heldFromX = r.left();
    for (int c = 0; c < m.columns.size(); ++c) {
        const MinMaxColumn &col = m.columns[c];
        if (col.empty)
            continue;
        const double x = r.left() + (c + 0.5) * columnWidth;
        const double top = yOf(s, r, col.max);
        const double bottom = yOf(s, r, col.min);
        if (holding && top == heldY && bottom == heldY)
            continue; // the value stays: the horizontal stroke runs on
        if (holding) {
            if (x > heldFromX)
                lines.append(QLineF(heldFromX, heldY, x, heldY));
            lines.append(QLineF(x, std::min(top, heldY), x, std::max(bottom, heldY)));
        } else {
            lines.append(QLineF(x, top, x, bottom));
        }
        holding = true;
        heldY = yOf(s, r, col.last);
        heldFromX = x;
    }
    if (!holding)
        return;
    // The last value holds until the data ends (or past the view).
    const double endX = std::max(heldFromX, std::min(double(r.right()), r.left() + axis.xOf(lastMs)));
    lines.append(QLineF(heldFromX, heldY, endX, heldY));
    painter.drawLines(lines);
}

QString timeLabel(double ms, double step)
{
    const QString t = ChartFormat::time(qint64(std::llround(ms)));
    return step >= 1000 ? t.left(t.size() - 2) : t;
}

} // namespace

ChartPainter::Geometry ChartPainter::geometry(const QRect &area, int paneCount, const QFont &font)
{
    const QFontMetrics fm(font);
    Geometry g;
    const int line = fm.height();
    const int left = area.left() + SideMargin;
    const int right = area.right() - SideMargin;
    const int axisHeight = line + 8;
    const int bandHeight = 2 * line + 10;
    g.timeAxis = QRect(QPoint(left, area.bottom() - axisHeight + 1), QPoint(right, area.bottom()));
    g.band = QRect(QPoint(left, g.timeAxis.top() - bandHeight - 2), QPoint(right, g.timeAxis.top() - 3));
    g.plot = QRect(QPoint(left, area.top()), QPoint(right, g.band.bottom()));
    const int panesTop = area.top() + 2;
    const int panesBottom = g.band.top() - Gap;
    paneCount = std::max(paneCount, 1);
    const double each = double(panesBottom - panesTop) / paneCount;
    for (int i = 0; i < paneCount; ++i) {
        const int top = panesTop + int(std::lround(i * each));
        const int bottom = panesTop + int(std::lround((i + 1) * each)) - Gap;
        g.legends.append(QRect(QPoint(left, top), QPoint(right, top + line + 1)));
        g.panes.append(QRect(QPoint(left, top + line + 4), QPoint(right, std::max(bottom, top + line + 8))));
    }
    return g;
}

QString ChartPainter::fuelName(FuelBand::State state, const ChartTexts &texts)
{
    switch (state) {
    case FuelBand::State::Off: return texts.text(u"chart.fuel.off");
    case FuelBand::State::Petrol: return texts.text(u"chart.fuel.petrol");
    case FuelBand::State::Gas: return texts.text(u"chart.fuel.gas");
    case FuelBand::State::Switching: return texts.text(u"chart.fuel.switching");
    }
    return {};
}

QString ChartPainter::faultNames(uint32_t mask, const ChartTexts &texts)
{
    // The fault list's own texts: " - Błąd napięcia" and so on.
    auto name = [&texts](int row) {
        QString t = texts.message ? texts.message(row) : QString();
        t = t.trimmed();
        if (t.startsWith(QLatin1Char('-')))
            t = t.mid(1).trimmed();
        return t;
    };
    QStringList names;
    for (int bit = 0; bit < 6; ++bit)
        if (mask & (1u << bit))
            names.append(name(bit));
    const uint32_t injectors = (mask >> FuelBand::InjectorShift) & 0xFF;
    if (injectors) {
        QString t = name(6);
        if (t.endsWith(QLatin1Char(':')))
            t.chop(1);
        t = t.trimmed() + QLatin1Char(':');
        for (int k = 0; k < 8; ++k)
            if (injectors & (1u << k))
                t += QLatin1Char(' ') + QString::number(k + 1);
        names.append(t);
    }
    for (int bit = 0; bit < 2; ++bit)
        if (mask & (1u << (FuelBand::MoreShift + bit)))
            names.append(name(7 + bit));
    return names.join(QStringLiteral(", "));
}

QStringList ChartPainter::readout(const View &view, qint64 ms)
{
    const ChartTexts &texts = *view.texts;
    QStringList lines;
    lines.append(texts.text(u"chart.cursor").arg(ChartFormat::time(ms)));
    for (const QStringList &pane : view.layout->panes) {
        for (const QString &key : pane) {
            const int channel = ChartChannel::indexOf(key);
            if (channel < 0)
                continue;
            const float v = view.data->series().valueAt(channel, ms);
            lines.append(texts.label(channel) + QStringLiteral(": ")
                         + ChartFormat::value(channel, v, texts.decimal)
                         + (std::isnan(v) ? QString() : unitSuffix(texts, ChartChannel::all()[channel].unit)));
        }
    }
    const uint32_t faults = view.data->band().faultsAt(ms);
    lines.append(texts.text(u"chart.band") + QStringLiteral(": ") + fuelName(view.data->band().stateAt(ms), texts)
                 + QStringLiteral("; ") + (faults ? faultNames(faults, texts) : texts.text(u"chart.no_faults")));
    if (view.data->inLinkGap(ms))
        lines.append(texts.text(u"chart.link_gap"));
    if (const std::optional<ChartData::ControllerChange> change = view.data->controllerChangeAt(ms))
        lines.append(texts.text(change->firmware ? u"chart.controller_firmware" : u"chart.controller_settings")
                         .arg(ChartFormat::time(change->ms)));
    return lines;
}

void ChartPainter::paint(QPainter &painter, const QRect &area, const View &view)
{
    const ChartTexts &texts = *view.texts;
    const TimeAxis &axis = *view.axis;
    const ChartData &data = *view.data;
    const Geometry g = geometry(area, int(view.layout->panes.size()), painter.font());
    const QFontMetrics fm = painter.fontMetrics();
    painter.fillRect(area, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, false);

    if (data.series().isEmpty()) {
        painter.setPen(Qt::darkGray);
        painter.drawText(area, Qt::AlignCenter, texts.text(u"chart.empty"));
    }

    const int width = g.plot.width();
    // One column per device pixel: crisp on a scaled screen too.
    const qreal ratio = painter.device() ? std::max<qreal>(painter.device()->devicePixelRatioF(), 1.0) : 1.0;
    const int columns = std::max(1, int(std::lround(width * ratio)));
    // Where the link was lost the lines hold the last values, as the gauges
    // did; a grey hatch under them says there were no answers.
    QVector<QPair<int, int>> gapSpans;
    for (const ChartData::LinkGap &gap : data.linkGaps()) {
        if (gap.toMs < axis.from() || gap.fromMs > axis.to())
            continue;
        const int x0 = g.plot.left() + int(std::floor(axis.xOf(std::max(double(gap.fromMs), axis.from()))));
        const int x1 = g.plot.left() + int(std::ceil(axis.xOf(std::min(double(gap.toMs), axis.to()))));
        gapSpans.append({x0, std::max(x1, x0 + 1)});
    }
    const QBrush gapBrush(QColor(0xc8, 0xc8, 0xc8), Qt::BDiagPattern);
    for (int p = 0; p < view.layout->panes.size(); ++p) {
        const QRect r = g.panes[p];
        const PaneLines lines = prepare(view, view.layout->panes[p], columns);
        for (const auto &[x0, x1] : gapSpans)
            painter.fillRect(QRect(QPoint(std::max(x0, r.left()), r.top()), QPoint(std::min(x1, r.right()), r.bottom())),
                             gapBrush);
        painter.setPen(QColor(0xb0, 0xb0, 0xb0));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        for (int s = 0; s < lines.scales.size() && s < 2; ++s)
            drawValueAxis(painter, r, lines.scales[s], s == 0, texts);

        // Legend: a colour mark, the name, the value at the cursor and the unit.
        int x = g.legends[p].left();
        const int baseline = g.legends[p].top() + fm.ascent();
        painter.save();
        painter.setClipRect(r.adjusted(0, 0, 0, 0));
        for (int i = 0; i < lines.channels.size(); ++i) {
            // Cosmetic: one pixel whatever the scale, drawn without the stroker.
            QPen pen(lineColour(i));
            pen.setCosmetic(true);
            painter.setPen(pen);
            drawLine(painter, r, lines.columns[i], lines.scales[lines.scaleOf[i]], axis, double(data.series().lastMs()),
                     double(width) / columns);
        }
        painter.restore();
        for (int i = 0; i < lines.channels.size(); ++i) {
            const int channel = lines.channels[i];
            QString item = texts.label(channel);
            if (view.cursorMs) {
                const float v = data.series().valueAt(channel, *view.cursorMs);
                item += QLatin1Char(' ') + ChartFormat::value(channel, v, texts.decimal);
            }
            const QString unit = texts.unit(ChartChannel::all()[channel].unit);
            if (!unit.isEmpty())
                item += view.cursorMs ? QLatin1Char(' ') + unit : QStringLiteral(" [%1]").arg(unit);
            const QColor colour = lineColour(i);
            painter.fillRect(QRect(x, g.legends[p].top() + 3, 10, fm.ascent() - 4), colour);
            painter.setPen(Qt::black);
            painter.drawText(x + 14, baseline, item);
            x += 14 + fm.horizontalAdvance(item) + 16;
        }
    }

    // The band: fuel in use on top, faults below with a mark where one appeared.
    const QRect fuelRow(g.band.left(), g.band.top(), g.band.width(), g.band.height() / 2);
    const QRect faultRow(g.band.left(), fuelRow.bottom() + 1, g.band.width(), g.band.bottom() - fuelRow.bottom());
    painter.fillRect(g.band, QColor(0xf4, 0xf4, 0xf4));
    const FuelBand &band = data.band();
    const double endMs = std::max(double(band.lastMs()), double(data.series().lastMs()));
    const QVector<FuelBand::Segment> &segments = band.segments();
    for (int i = 0; i < segments.size(); ++i) {
        const double from = std::max(double(segments[i].fromMs), axis.from());
        const double to = std::min(i + 1 < segments.size() ? double(segments[i + 1].fromMs) : endMs, axis.to());
        if (to < axis.from() || from > axis.to() || to < from)
            continue;
        const int x0 = g.band.left() + int(std::floor(axis.xOf(from)));
        const int x1 = std::max(g.band.left() + int(std::ceil(axis.xOf(to))), x0 + 1);
        const QRect cell(QPoint(x0, fuelRow.top()), QPoint(std::min(x1, g.band.right()), fuelRow.bottom()));
        painter.fillRect(cell, fuelColour(segments[i].state));
        const QString name = fuelName(segments[i].state, texts);
        if (fm.horizontalAdvance(name) + 6 < cell.width()) {
            painter.setPen(Qt::black);
            painter.drawText(cell, Qt::AlignCenter, name);
        }
    }
    const QVector<FuelBand::FaultChange> &faults = band.faultChanges();
    for (int i = 0; i < faults.size(); ++i) {
        if (!faults[i].active)
            continue;
        const double from = std::max(double(faults[i].ms), axis.from());
        const double to = std::min(i + 1 < faults.size() ? double(faults[i + 1].ms) : endMs, axis.to());
        if (to < axis.from() || from > axis.to() || to < from)
            continue;
        const int x0 = g.band.left() + int(std::floor(axis.xOf(from)));
        const int x1 = std::max(g.band.left() + int(std::ceil(axis.xOf(to))), x0 + 1);
        painter.fillRect(QRect(QPoint(x0, faultRow.top() + faultRow.height() / 2),
                               QPoint(std::min(x1, g.band.right()), faultRow.bottom())),
                         QColor(0xff, 0x8c, 0x8c));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const FuelBand::FaultChange &f : faults) {
        if (!f.appeared || f.ms < axis.from() || f.ms > axis.to())
            continue;
        const double x = g.band.left() + axis.xOf(double(f.ms));
        const double top = faultRow.top() + 1;
        const double h = faultRow.height() - 2;
        const QPointF mark[3] = {{x - h / 2.5, top}, {x + h / 2.5, top}, {x, top + h}};
        // A faint solid guide: a dotted pen costs the stroker on every mark.
        QPen guide(QColor(0xff, 0xb4, 0xb4));
        guide.setCosmetic(true);
        painter.setPen(guide);
        painter.drawLine(QPointF(x, g.panes.isEmpty() ? top : g.panes.first().top()), QPointF(x, top));
        painter.setPen(Qt::darkRed);
        painter.setBrush(Qt::red);
        painter.drawPolygon(mark, 3);
    }
    // Where the controller's settings changed (a reconnect to one set
    // otherwise, or with another firmware): a blue diamond on the fuel row
    // and a guide through the panes.
    for (const ChartData::ControllerChange &c : data.controllerChanges()) {
        if (c.ms < axis.from() || c.ms > axis.to())
            continue;
        const double x = g.band.left() + axis.xOf(double(c.ms));
        const double r = std::max(3.0, fuelRow.height() / 2.5);
        const double y = fuelRow.center().y();
        QPen guide(QColor(0x6c, 0x8e, 0xd8));
        guide.setCosmetic(true);
        painter.setPen(guide);
        painter.drawLine(QPointF(x, g.panes.isEmpty() ? fuelRow.top() : g.panes.first().top()),
                         QPointF(x, fuelRow.top()));
        const QPointF diamond[4] = {{x, y - r}, {x + r, y}, {x, y + r}, {x - r, y}};
        painter.setPen(QColor(0x10, 0x30, 0x80));
        painter.setBrush(c.firmware ? QColor(0x10, 0x30, 0x80) : QColor(0x40, 0x80, 0xff));
        painter.drawPolygon(diamond, 4);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(0xb0, 0xb0, 0xb0));
    painter.drawRect(g.band.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    const QString bandName = texts.text(u"chart.band");
    painter.drawText(QRect(area.left(), g.band.top(), SideMargin - 4, g.band.height()),
                     Qt::AlignRight | Qt::AlignVCenter | Qt::TextWordWrap, bandName);

    // Time axis.
    const double step = ChartFormat::timeStepMs(axis.span(), width, fm.horizontalAdvance(QStringLiteral("00:00.0")) + 24);
    painter.setPen(Qt::black);
    painter.drawLine(g.timeAxis.left(), g.timeAxis.top(), g.timeAxis.right(), g.timeAxis.top());
    for (double t = std::ceil(axis.from() / step) * step; t <= axis.to(); t += step) {
        const int x = g.plot.left() + int(std::lround(axis.xOf(t)));
        painter.setPen(QColor(0xe4, 0xe4, 0xe4));
        for (const QRect &r : g.panes)
            painter.drawLine(x, r.top() + 1, x, r.bottom() - 1);
        painter.setPen(Qt::black);
        painter.drawLine(x, g.timeAxis.top(), x, g.timeAxis.top() + 3);
        const QString label = timeLabel(t, step);
        painter.drawText(x - fm.horizontalAdvance(label) / 2, g.timeAxis.top() + 4 + fm.ascent(), label);
    }

    // Cursor.
    if (view.cursorMs && *view.cursorMs >= axis.from() && *view.cursorMs <= axis.to()) {
        const int x = g.plot.left() + int(std::lround(axis.xOf(double(*view.cursorMs))));
        QPen pen(QColor(0x20, 0x20, 0x20));
        pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        // Through the panes and the band, not across the legends between them.
        for (const QRect &r : g.panes)
            painter.drawLine(x, r.top(), x, r.bottom());
        painter.drawLine(x, g.band.top(), x, g.band.bottom());
        const QString label = ChartFormat::time(*view.cursorMs);
        const int w = fm.horizontalAdvance(label) + 8;
        const QRect box(std::clamp(x - w / 2, area.left(), area.right() - w), g.timeAxis.top() + 1, w,
                        g.timeAxis.height() - 1);
        painter.fillRect(box, QColor(0x20, 0x20, 0x20));
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::AlignCenter, label);
    }
}

QImage ChartPainter::image(const View &view, const QSize &size, qreal scale, const QFont &font)
{
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    TimeAxis axis = *view.axis;
    const QRect area(QPoint(0, 0), size);
    axis.setWidth(geometry(area, int(view.layout->panes.size()), font).plot.width());
    View copy = view;
    copy.axis = &axis;
    QPainter painter(&image);
    painter.setFont(font);
    paint(painter, area, copy);
    return image;
}
