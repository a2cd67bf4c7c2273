#include "widgets/TTrendPlot.h"

#include "widgets/TSignalSettings.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <cstring>

namespace {
long long roundHalfEven(double v)
{
    return std::llround(std::nearbyint(v));
}
} // namespace

QString TTrendPlot::TimeText(const QString &label, const QString &clock)
{
    return QStringLiteral(" ") + label + QStringLiteral(" - ") + clock + QStringLiteral(">");
}

int TTrendPlot::ChannelY(const TSignalSettings &s, double value, int height)
{
    const double span = s.Span();
    if (span == 0.0)
        return height; // nothing sensible to draw: below the area
    const double perMille = 1000.0 / span * (value - double(s.ValueFrom()));
    const double y = height - double(roundHalfEven((height - 1) / 1000.0 * perMille)) - 1;
    // Far outside values only need to be outside the area.
    if (y < -1'000'000)
        return -1'000'000;
    if (y > 1'000'000)
        return 1'000'000;
    return int(y);
}

void TTrendPlot::Restart(QSize size, int timeScaleMinutes, const Style &style, const QString &timeText, int scale)
{
    m_size = size.expandedTo(QSize(1, 1));
    m_style = style;
    m_scale = qMax(1, scale);
    m_image = QImage(m_size * m_scale, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(m_scale);
    m_image.fill(style.background);

    const int W = m_size.width();
    const int H = m_size.height();
    m_prev1 = m_prev2 = H; // just below the area: the first tick rises from the bottom
    m_timing = TTrendTiming::For(W, timeScaleMinutes);

    for (int i = 1; i <= 9; ++i)
        m_gridY[i - 1] = int(roundHalfEven((H - 1) / 10.0 * i));

    if (style.showGrid && m_timing.division > 0) {
        for (int i = 0; i < 9; ++i)
            hline(0, W - 1, m_gridY[i], style.grid);
        for (int j = 1; j <= 10; ++j) {
            const bool timeLine = style.showTimeLine && j == 5;
            vline(W - j * m_timing.division, 0, H - 1, timeLine ? style.timeLine : style.grid);
        }
    }
    // The line belonging to the right edge itself falls at the first tick,
    // five divisions after the time line drawn here.
    m_scrolled = m_timing.division > 0 ? m_timing.division - m_timing.step : 0;
    m_divisions = 4;
    writeTime(W - 1, timeText);
}

void TTrendPlot::Tick(int y1, int y2, const QString &timeText)
{
    if (m_image.isNull() || m_timing.division <= 0)
        return;
    const int W = m_size.width();
    const int H = m_size.height();
    const int s = m_timing.step;

    scrollLeft(s);
    const int strip = W - s;
    QPainter p(&m_image);
    p.fillRect(QRectF(strip, 0, s, H), m_style.background);
    p.end();

    m_scrolled += s;
    if (m_style.showGrid) {
        if (m_scrolled >= m_timing.division) {
            ++m_divisions;
            if (m_divisions > 4 && m_style.showTimeLine) {
                vline(W - 1, 0, H - 1, m_style.timeLine);
                writeTime(W - 2, timeText);
                m_divisions = 0;
            } else {
                vline(W - 1, 0, H - 1, m_style.grid);
            }
            m_scrolled = 0;
        }
        for (int i = 0; i < 9; ++i)
            hline(strip, W - 1, m_gridY[i], m_style.grid);
    } else if (m_scrolled >= m_timing.division) {
        m_scrolled = 0;
    }

    // Step traces: along the old level to the right edge, then up or down to the new one.
    auto trace = [&](int &prev, int y, const QColor &c) {
        hline(strip - 1, W - 1, prev, c);
        vline(W - 1, prev, y, c);
        prev = y;
    };
    trace(m_prev1, y1, m_style.trace1);
    trace(m_prev2, y2, m_style.trace2);
}

void TTrendPlot::Skip(int ticks, int y1, int y2)
{
    if (ticks <= 0 || m_image.isNull() || m_timing.division <= 0)
        return;
    for (int i = 0; i < ticks; ++i) {
        m_scrolled += m_timing.step;
        if (m_scrolled < m_timing.division)
            continue;
        m_scrolled = 0;
        if (m_style.showGrid && ++m_divisions > 4 && m_style.showTimeLine)
            m_divisions = 0;
    }
    m_prev1 = y1;
    m_prev2 = y2;
}

int TTrendPlot::TicksToClear() const
{
    // A tick draws from one pixel left of its strip to the right edge.
    const int s = qMax(1, m_timing.step);
    return (m_size.width() + s - 1) / s + 1;
}

QColor TTrendPlot::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_size.width() || y >= m_size.height())
        return {};
    return QColor(m_image.pixel(x * m_scale, y * m_scale));
}

void TTrendPlot::vline(int x, int y0, int y1, const QColor &c)
{
    if (y0 > y1)
        std::swap(y0, y1);
    const int H = m_size.height();
    if (x < 0 || x >= m_size.width() || y1 < 0 || y0 >= H)
        return;
    y0 = qMax(0, y0);
    y1 = qMin(H - 1, y1);
    QPainter p(&m_image);
    p.fillRect(QRectF(x, y0, 1, y1 - y0 + 1), c);
}

void TTrendPlot::hline(int x0, int x1, int y, const QColor &c)
{
    if (y < 0 || y >= m_size.height())
        return;
    x0 = qMax(0, x0);
    x1 = qMin(m_size.width() - 1, x1);
    if (x1 < x0)
        return;
    QPainter p(&m_image);
    p.fillRect(QRectF(x0, y, x1 - x0 + 1, 1), c);
}

void TTrendPlot::writeTime(int rightX, const QString &timeText)
{
    if (timeText.isEmpty())
        return;
    QPainter p(&m_image);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(m_style.font);
    p.setPen(m_style.timeLine);
    const QFontMetrics fm(m_style.font);
    const int w = fm.horizontalAdvance(timeText);
    const QRect r(rightX - w, m_size.height() - fm.height() - 1, w, fm.height());
    p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, timeText);
}

void TTrendPlot::scrollLeft(int px)
{
    const int shift = px * m_scale;
    const int width = m_image.width();
    if (shift >= width)
        return;
    const int bytes = (width - shift) * 4;
    for (int y = 0; y < m_image.height(); ++y) {
        uchar *line = m_image.scanLine(y);
        std::memmove(line, line + shift * 4, size_t(bytes));
    }
}
