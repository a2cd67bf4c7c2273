#include "widgets/TMiniTrend.h"

#include "widgets/TWidgetAccessible.h"

#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kPad = 3;
constexpr int kSidePad = 6; // extra room beside the scales for their units
constexpr int kBevel = 2;
constexpr int kMaxInitialInterval = 200;

int toDigit16(const TSignalSettings &s, float v)
{
    const int d = s.ValueToDigit(v);
    return qBound(-32768, d, 32767);
}
} // namespace

TMiniTrend::TMiniTrend(QWidget *parent)
    : QWidget(parent)
    , m_captionFont(QStringLiteral("Arial"), 14)
{
    for (TSignalSettings *s : {&m_sig1, &m_sig2}) {
        s->SetName1(QStringLiteral("Name1"));
        s->SetName2(QStringLiteral("Name2"));
        s->SetValueFormat(QStringLiteral("##0"));
        s->SetOnChange([this] { settingsChanged(); });
    }
    m_value1 = float(m_sig1.DigitToValue(m_digit1));
    m_value2 = float(m_sig2.DigitToValue(m_digit2));
    m_captionFont.setUnderline(true);
    m_style.grid = palette().color(QPalette::Dark);
    QFont small = font();
    small.setPointSizeF(qMax(6.0, font().pointSizeF() * 0.85));
    m_style.font = small;
    setMinimumSize(MinSide, MinSide);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    TWidgetAccessible::SetRole(this, QAccessible::Chart);
    refreshAccessible();
    PlotRect();
}

TMiniTrend::~TMiniTrend()
{
    if (m_timer)
        m_timer->Unregister(this);
}

// ---- values ---------------------------------------------------------------

void TMiniTrend::SetValueCh1(float v)
{
    if (m_dormant && toDigit16(m_sig1, v) != m_digit1)
        catchUp();
    m_value1 = v;
    m_digit1 = toDigit16(m_sig1, v);
    refreshAccessible();
}

void TMiniTrend::SetValueCh2(float v)
{
    if (m_dormant && toDigit16(m_sig2, v) != m_digit2)
        catchUp();
    m_value2 = v;
    m_digit2 = toDigit16(m_sig2, v);
    refreshAccessible();
}

void TMiniTrend::SetDigitCh1(int d)
{
    if (m_dormant && qBound(-32768, d, 32767) != m_digit1)
        catchUp();
    m_digit1 = qBound(-32768, d, 32767);
    m_value1 = float(m_sig1.DigitToValue(m_digit1));
    refreshAccessible();
}

void TMiniTrend::SetDigitCh2(int d)
{
    if (m_dormant && qBound(-32768, d, 32767) != m_digit2)
        catchUp();
    m_digit2 = qBound(-32768, d, 32767);
    m_value2 = float(m_sig2.DigitToValue(m_digit2));
    refreshAccessible();
}

// ---- settings that restart the chart ---------------------------------------

void TMiniTrend::SetTimeScale(int minutes)
{
    if (minutes <= 0)
        return;
    m_timeScale = qMin(minutes, 32767);
    restart();
}

void TMiniTrend::SetFlow(bool on)
{
    m_flow = on;
    registerWithTimer();
}

void TMiniTrend::SetBkColor(const QColor &c)
{
    m_style.background = c;
    restart();
}

void TMiniTrend::SetGridColor(const QColor &c)
{
    m_style.grid = c;
    restart();
}

void TMiniTrend::SetTimeLineColor(const QColor &c)
{
    m_style.timeLine = c;
    restart();
}

void TMiniTrend::SetSignalColorCh1(const QColor &c)
{
    m_style.trace1 = c;
    restart();
}

void TMiniTrend::SetSignalColorCh2(const QColor &c)
{
    m_style.trace2 = c;
    restart();
}

void TMiniTrend::SetOptions(TTrendOptions o)
{
    m_options = o;
    m_plotRect = computeLayout().plot;
    restart();
}

void TMiniTrend::SetCaption(const QString &text)
{
    if (text == m_caption)
        return;
    m_caption = text;
    setAccessibleName(text);
    PlotRect();
    update();
}

void TMiniTrend::SetCaptionFont(const QFont &f)
{
    m_captionFont = f;
    PlotRect();
    update();
}

void TMiniTrend::settingsChanged()
{
    // The values stay; their positions follow the new scale.
    m_digit1 = toDigit16(m_sig1, m_value1);
    m_digit2 = toDigit16(m_sig2, m_value2);
    refreshAccessible();
    PlotRect(); // a scale label of another width changes the plot size and restarts
    update();
}

// ---- timer ------------------------------------------------------------------

void TMiniTrend::SetFlashTimer(TFlashTimer *timer)
{
    if (m_timer)
        m_timer->Unregister(this);
    m_timer = timer;
    registerWithTimer();
}

TFlashTimer *TMiniTrend::FlashTimer() const
{
    return m_timer ? m_timer.data() : TFlashTimer::Shared();
}

void TMiniTrend::SetTimeRate(double rate)
{
    if (!(rate > 0) || rate == m_rate)
        return;
    m_rate = rate;
    catchUp();
    registerWithTimer();
}

int TMiniTrend::TickInterval() const
{
    const int interval = m_plot.Timing().intervalMs;
    return interval <= 0 ? interval : std::max(1, int(std::lround(interval / m_rate)));
}

void TMiniTrend::registerWithTimer()
{
    m_dormant = false;
    const int interval = TickInterval();
    if (!m_flow || interval <= 0) {
        if (m_timer)
            m_timer->Unregister(this);
        m_registeredInterval = 0;
        m_firstTickPending = false;
        return;
    }
    if (!m_timer)
        m_timer = TFlashTimer::Shared();
    // A slow chart shows its first step soon and settles on its own pace after it.
    m_firstTickPending = interval > kMaxInitialInterval;
    m_registeredInterval = m_firstTickPending ? kMaxInitialInterval : interval;
    m_timer->RegisterPeriodic(this, m_registeredInterval);
}

void TMiniTrend::PeriodicTick(int lateMs)
{
    if (m_painting)
        return;
    if (m_firstTickPending) {
        m_firstTickPending = false;
        m_registeredInterval = TickInterval();
        FlashTimer()->RegisterPeriodic(this, m_registeredInterval);
    }
    drawTick(clockText());
    m_lastDue = FlashTimer()->Now() - lateMs;
    // Hidden (another tab is shown) the chart would only scroll the same levels
    // on: it stops waking the timer until it is shown or a value moves, and
    // then draws the missed ticks at once, to the same picture.
    if (!isVisible() && m_timer) {
        m_timer->Unregister(this);
        m_dormant = true;
    }
}

void TMiniTrend::drawTick(const QString &clock)
{
    const QRect plot = PlotRect();
    const int H = m_plot.Size().height();
    m_plot.Tick(TTrendPlot::ChannelY(m_sig1, m_value1, H), TTrendPlot::ChannelY(m_sig2, m_value2, H),
                TTrendPlot::TimeText(m_plot.Timing().label, clock));
    update(plot);
}

void TMiniTrend::catchUp()
{
    if (!m_dormant || !m_timer)
        return;
    m_dormant = false;
    const int interval = m_registeredInterval;
    const qint64 now = m_timer->Now();
    const qint64 missed = interval > 0 ? (now - m_lastDue) / interval : 0;
    const QRect plot = PlotRect(); // may restart the chart, which registers it again
    if (m_dormant || m_timer->IsRegistered(this))
        return;
    const int H = m_plot.Size().height();
    const int y1 = TTrendPlot::ChannelY(m_sig1, m_value1, H);
    const int y2 = TTrendPlot::ChannelY(m_sig2, m_value2, H);
    const qint64 drawn = std::min<qint64>(missed, m_plot.TicksToClear());
    m_plot.Skip(int(std::min<qint64>(missed - drawn, 1 << 30)), y1, y2);
    const QTime clock = m_clock ? m_clock() : QTime::currentTime();
    for (qint64 k = drawn; k > 0; --k) {
        // Each missed tick's time line shows the time it was due.
        const qint64 ago = qint64(double(now - (m_lastDue + (missed - k + 1) * interval)) * m_rate);
        m_plot.Tick(y1, y2, TTrendPlot::TimeText(m_plot.Timing().label,
                                                  clock.addMSecs(-int(ago)).toString(QStringLiteral("HH:mm:ss"))));
    }
    m_lastDue += missed * interval;
    m_timer->RegisterPeriodicAt(this, interval, m_lastDue + interval);
    update(plot);
}

void TMiniTrend::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    catchUp();
}

// ---- layout -----------------------------------------------------------------

int TMiniTrend::scaleWidth(const TSignalSettings &s) const
{
    const QFontMetrics fm(font());
    return qMax(fm.horizontalAdvance(s.FormatValue(s.ValueTo())), fm.horizontalAdvance(s.FormatValue(s.ValueFrom())))
        + 12;
}

TMiniTrend::Layout TMiniTrend::computeLayout() const
{
    Layout l;
    QRect r = rect();
    if (m_options & opBevelOuter)
        r.adjust(kBevel, kBevel, -kBevel, -kBevel);
    l.frame = r;
    r.adjust(kPad, kPad, -kPad, -kPad);
    if (m_options & opScaleCh1)
        r.setLeft(r.left() + kSidePad);
    if (m_options & opScaleCh2)
        r.setRight(r.right() - kSidePad);
    if (m_options & opCaption) {
        const int h = QFontMetrics(m_captionFont).height() + 2;
        l.caption = QRect(r.left(), r.top(), r.width(), h);
        r.setTop(r.top() + h);
    }
    const QFontMetrics fm(font());
    if (m_options & (opSignDescCh1 | opSignDescCh2)) {
        const int h = fm.height() + 4;
        l.legend = QRect(r.left(), r.bottom() - h + 1, r.width(), h);
        r.setBottom(r.bottom() - h);
    }
    int w1 = 0, w2 = 0;
    if (m_options & opScaleCh1)
        w1 = scaleWidth(m_sig1);
    if (m_options & opScaleCh2)
        w2 = scaleWidth(m_sig2);
    r.adjust(w1, 0, -w2, 0);
    l.plotFrame = r;
    l.plot = (m_options & opBevelInner) ? r.adjusted(kBevel, kBevel, -kBevel, -kBevel) : r;
    if (l.plot.width() < 1 || l.plot.height() < 1)
        l.plot.setSize(QSize(1, 1));
    if (w1)
        l.scale1 = QRect(l.plotFrame.left() - w1, l.plot.top(), w1, l.plot.height());
    if (w2)
        l.scale2 = QRect(l.plotFrame.right() + 1, l.plot.top(), w2, l.plot.height());
    return l;
}

int TMiniTrend::deviceScale() const
{
    return qMax(1, int(std::ceil(devicePixelRatioF() - 0.01)));
}

QRect TMiniTrend::PlotRect()
{
    const QRect plot = computeLayout().plot;
    m_plotRect = plot;
    if (plot.size() != m_plot.Size() || deviceScale() != m_plot.Scale())
        restart();
    return m_plotRect;
}

void TMiniTrend::restart()
{
    m_plotRect = computeLayout().plot;
    TTrendPlot::Style style = m_style;
    style.showGrid = m_options.testFlag(opGrid);
    style.showTimeLine = m_options.testFlag(opTimeLine);
    const TTrendTiming t = TTrendTiming::For(m_plotRect.width(), m_timeScale);
    m_plot.Restart(m_plotRect.size(), m_timeScale, style, TTrendPlot::TimeText(t.label, clockText()), deviceScale());
    ++m_restarts;
    registerWithTimer();
    update();
}

QString TMiniTrend::clockText() const
{
    const QTime t = m_clock ? m_clock() : QTime::currentTime();
    return t.toString(QStringLiteral("HH:mm:ss"));
}

void TMiniTrend::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    PlotRect();
}

void TMiniTrend::refreshAccessible()
{
    auto part = [](const char *ch, const TSignalSettings &s, float v) {
        return QStringLiteral("%1 %2: %3%4").arg(QLatin1String(ch), s.Name1().trimmed(), s.FormatValue(v),
                                                 s.ValueUnit().trimmed().isEmpty()
                                                     ? QString()
                                                     : QStringLiteral(" ") + s.ValueUnit().trimmed());
    };
    TWidgetAccessible::SetValue(this, part("Ch1", m_sig1, m_value1) + QStringLiteral("; ")
                                          + part("Ch2", m_sig2, m_value2));
}

// ---- painting ---------------------------------------------------------------

void TMiniTrend::drawBevel(QPainter &p, const QRect &r, bool raised) const
{
    const QColor light = palette().color(QPalette::Light);
    const QColor mid = palette().color(QPalette::Mid);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor shadow = palette().color(QPalette::Shadow);
    const QRect o = r.adjusted(0, 0, -1, -1);
    const QRect i = o.adjusted(1, 1, -1, -1);
    auto frame = [&](const QRect &q, const QColor &tl, const QColor &br) {
        p.setPen(tl);
        p.drawLine(q.topLeft(), q.topRight());
        p.drawLine(q.topLeft(), q.bottomLeft());
        p.setPen(br);
        p.drawLine(q.bottomLeft(), q.bottomRight());
        p.drawLine(q.topRight(), q.bottomRight());
    };
    if (raised) {
        frame(o, light, shadow);
        frame(i, palette().color(QPalette::Midlight), dark);
    } else {
        frame(o, dark, light);
        frame(i, shadow, mid);
    }
}

void TMiniTrend::drawScale(QPainter &p, const QRect &r, const TSignalSettings &s, bool left) const
{
    const QFontMetrics fm(font());
    const QColor ink = palette().color(QPalette::WindowText);
    p.setPen(ink);
    const int edge = left ? r.right() : r.left();
    const int dir = left ? -1 : 1;
    for (int i = 0; i <= 10; ++i) {
        const int y = r.top() + int(std::lround((r.height() - 1) * i / 10.0));
        const int len = (i % 5 == 0) ? 6 : 3;
        p.drawLine(QPoint(edge, y), QPoint(edge + dir * (len - 1), y));
    }
    const QRect text = left ? QRect(r.left(), r.top(), r.width() - 8, r.height())
                            : QRect(r.left() + 8, r.top(), r.width() - 8, r.height());
    const Qt::Alignment h = left ? Qt::AlignRight : Qt::AlignLeft;
    p.drawText(text, int(h | Qt::AlignTop), s.FormatValue(s.ValueTo()));
    // The column is sized for the numbers only; a wider unit gets a smaller
    // font (and the side margin) rather than widening the column, which would
    // restart the chart whenever the unit changes.
    const QString unitText = s.ValueUnit().trimmed();
    if (!unitText.isEmpty()) {
        // Next to the numbers if it fits there, otherwise over the tick gap
        // too: the unit line lies between the top tick and the next one.
        const int besideNumbers = r.width() - 8 + kSidePad;
        const int wholeColumn = r.width() - 1 + kSidePad;
        QFont uf = font();
        int px = QFontInfo(uf).pixelSize();
        uf.setPixelSize(px);
        while (px > 8 && QFontMetrics(uf).horizontalAdvance(unitText) > wholeColumn)
            uf.setPixelSize(--px);
        const QFontMetrics ufm(uf);
        const int avail = ufm.horizontalAdvance(unitText) <= besideNumbers ? besideNumbers : wholeColumn;
        const QString shown = ufm.elidedText(unitText, Qt::ElideRight, wholeColumn);
        const int y = text.top() + fm.height();
        const QRect unit = left ? QRect(r.left() - kSidePad, y, avail, ufm.height())
                                : QRect(r.right() + 1 + kSidePad - avail, y, avail, ufm.height());
        p.setFont(uf);
        p.drawText(unit, int(h | Qt::AlignTop), shown);
        p.setFont(font());
    }
    p.drawText(text, int(h | Qt::AlignBottom), s.FormatValue(s.ValueFrom()));
}

void TMiniTrend::drawLegend(QPainter &p, const QRect &r) const
{
    const QFontMetrics fm(font());
    const int box = qMax(6, fm.ascent() - 3);
    auto item = [&](const TSignalSettings &s, const QColor &c, const char *ch, bool alignLeft) {
        const QString text = QLatin1String(ch) + QStringLiteral(" : ") + s.Name1() + QStringLiteral(" - ") + s.Name2();
        const int w = box + 4 + fm.horizontalAdvance(text);
        const int x = alignLeft ? r.left() + 2 : r.right() - 2 - w;
        const int yBox = r.center().y() - box / 2;
        p.fillRect(QRect(x, yBox, box, box), c);
        p.setPen(palette().color(QPalette::Dark));
        p.drawRect(QRect(x, yBox, box - 1, box - 1));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRect(x + box + 4, r.top(), w - box - 4, r.height()), Qt::AlignVCenter | Qt::AlignLeft, text);
    };
    if (m_options & opSignDescCh1)
        item(m_sig1, m_style.trace1, "Ch1", true);
    if (m_options & opSignDescCh2)
        item(m_sig2, m_style.trace2, "Ch2", false);
}

void TMiniTrend::paintEvent(QPaintEvent *)
{
    m_painting = true;
    PlotRect();
    const Layout l = computeLayout();
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (m_options & opBevelOuter)
        drawBevel(p, rect(), true);
    if (m_options & opCaption) {
        p.setFont(m_captionFont);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(l.caption, Qt::AlignCenter, m_caption);
        p.setFont(font());
    }
    if (m_options & opScaleCh1)
        drawScale(p, l.scale1, m_sig1, true);
    if (m_options & opScaleCh2)
        drawScale(p, l.scale2, m_sig2, false);
    if (m_options & (opSignDescCh1 | opSignDescCh2))
        drawLegend(p, l.legend);
    if (m_options & opBevelInner)
        drawBevel(p, l.plotFrame, false);
    p.drawImage(m_plotRect.topLeft(), m_plot.Image());
    m_painting = false;
}
