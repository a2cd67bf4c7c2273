#include "widgets/TAnalogGControl.h"

#include "widgets/TAnalogAccessible.h"

#include <QEvent>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

TAnalogGControl::TAnalogGControl(QWidget *parent)
    : QWidget(parent)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    TAnalogAccessible::Install();
    m_sectorColor = m_sectors.SectorAt(2).Color;
    m_signal.SetOnChange([this] { remap(); });
    m_sectors.SetOnChange([this] {
        updateSector(true);
        emit OnSettingsChange();
        InvalidateLayers();
    });
    m_minMax.SetOnChange([this] {
        if (m_minMax.MinSet())
            updateHint();
        else if (m_hintDirty)
            buildHint(); // a reset leaves the hint as it was; finish it from the extremes before the reset
        emit OnSettingsChange();
        update();
    });

    // The state a freshly loaded widget shows for its stored value; nobody listens yet.
    m_digit = m_signal.ValueToDigit(m_value);
    m_perMille = m_signal.DigitToPerMille(m_digit);
    m_valueText = m_signal.FormatValue(m_value);
    m_digitText = QString::number(m_digit);
    updateSector(false);
    updateLimits(false);
    updateRange(false);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

TAnalogGControl::~TAnalogGControl()
{
    if (m_registeredWith)
        m_registeredWith->Unregister(this);
}

void TAnalogGControl::SetValue(float value)
{
    if (value == m_value)
        return;
    m_value = value;
    m_digit = m_signal.ValueToDigit(value);
    m_valueText = m_signal.FormatValue(value);
    m_digitText = QString::number(m_digit);
    m_perMille = m_signal.DigitToPerMille(m_digit);
    updateSector(true);
    updateLimits(true);
    updateRange(true);
    // The clock is read only for a new extreme: on a desktop it is a look at the time zone each time.
    if (m_minMax.Moves(value)) {
        m_minMax.Update(value, m_clock());
        emit OnMinMaxChange();
    }
    updateHint();
    TAnalogAccessible::NotifyValueChanged(this);
    emit OnValueChange();
    update();
}

void TAnalogGControl::SetLimitUpper(float limit)
{
    if (limit == m_limitUpper)
        return;
    m_limitUpper = limit;
    updateLimits(true);
    InvalidateLayers();
}

void TAnalogGControl::SetLimitLower(float limit)
{
    if (limit == m_limitLower)
        return;
    m_limitLower = limit == 0.0f ? 0.0001f : limit;
    updateLimits(true);
    InvalidateLayers();
}

void TAnalogGControl::SetOptions(TGOptions options)
{
    options &= m_supported;
    if (options == m_options)
        return;
    m_options = options;
    updateAlarm();
    updateGeometry();
    InvalidateLayers();
}

void TAnalogGControl::SetSupportedOptions(TGOptions supported)
{
    m_supported = supported;
    m_options = supported;
    updateAlarm();
}

void TAnalogGControl::SetHintOptions(THintOptions options)
{
    if (options == m_hintOptions)
        return;
    // A hint still to be built follows the options it was updated under.
    if (m_hintDirty)
        buildHint();
    m_hintOptions = options;
    if (m_minMax.MinSet())
        updateHint();
}

int TAnalogGControl::PerMilleDrawn() const
{
    return std::clamp(m_perMille, 0, 1000);
}

QColor TAnalogGControl::AlarmColor() const
{
    if (!m_blinking)
        return QuietAlarmColor();
    return m_alarmPhase ? clRed() : clYellow();
}

QColor TAnalogGControl::QuietAlarmColor() const
{
    return QColor(0x3a, 0x3f, 0x46);
}

bool TAnalogGControl::MeterAlarmCondition() const
{
    return (m_options.testFlag(opOverflow) && m_range != TRangeState::Inside)
        || (m_options.testFlag(opLimit) && (m_upperViolated || m_lowerViolated));
}

void TAnalogGControl::SetFlashTimer(TFlashTimer *timer)
{
    if (timer == m_flashTimer)
        return;
    const bool wasBlinking = m_blinking;
    if (wasBlinking) {
        if (m_registeredWith)
            m_registeredWith->Unregister(this);
        m_registeredWith = nullptr;
        m_blinking = false;
    }
    m_flashTimer = timer;
    updateAlarm();
}

void TAnalogGControl::SetClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

void TAnalogGControl::FlashPhase(bool on)
{
    if (!m_blinking || on == m_alarmPhase)
        return;
    m_alarmPhase = on;
    update();
}

void TAnalogGControl::remap()
{
    m_digit = m_signal.ValueToDigit(m_value);
    m_valueText = m_signal.FormatValue(m_value);
    m_digitText = QString::number(m_digit);
    m_perMille = m_signal.DigitToPerMille(m_digit);
    updateSector(true);
    updateRange(true);
    // Before the first value there are no extremes worth a hint.
    if (m_minMax.MinSet())
        updateHint();
    TAnalogAccessible::NotifyValueChanged(this);
    emit OnSettingsChange();
    updateGeometry();
    InvalidateLayers();
}

void TAnalogGControl::updateSector(bool notify)
{
    for (int k = 1; k <= TSectorSettings::Count; ++k) {
        const bool inside = m_sectors.Contains(k, m_perMille);
        bool &was = m_inSector[size_t(k - 1)];
        if (inside != was) {
            was = inside;
            if (notify)
                emit OnSectorChange(k, inside);
        }
    }
    // Outside every sector the widget keeps the colour it had.
    if (const int s = m_sectors.SectorOf(m_perMille)) {
        m_sector = s;
        m_sectorColor = m_sectors.SectorAt(s).Color;
    }
}

void TAnalogGControl::updateLimits(bool notify)
{
    const bool upper = m_value > m_limitUpper;
    const bool lower = !(m_value >= m_limitLower);
    if (upper == m_upperViolated && lower == m_lowerViolated)
        return;
    m_upperViolated = upper;
    m_lowerViolated = lower;
    updateAlarm();
    if (notify)
        emit OnLimit(upper, lower);
}

void TAnalogGControl::updateRange(bool notify)
{
    const TRangeState state = m_perMille < 0 ? TRangeState::Under
                            : m_perMille > 1000 ? TRangeState::Over
                                                : TRangeState::Inside;
    if (state == m_range)
        return;
    m_range = state;
    updateAlarm();
    if (notify)
        emit OnOverflow(state);
}

void TAnalogGControl::updateAlarm()
{
    const bool wanted = AlarmWanted();
    if (wanted == m_blinking)
        return;
    if (wanted) {
        TFlashTimer *timer = flashTimer();
        timer->RegisterFlash(this, ff2Hz);
        m_registeredWith = timer;
        m_blinking = true;
        m_alarmPhase = timer->Phase(ff2Hz);
    } else {
        if (m_registeredWith)
            m_registeredWith->Unregister(this);
        m_registeredWith = nullptr;
        m_blinking = false;
        m_alarmPhase = false;
    }
    update();
}

void TAnalogGControl::updateHint()
{
    if (!m_hintOptions.testFlag(hoAutoHint))
        return;
    m_hintMin = m_minMax.Min();
    m_hintMax = m_minMax.Max();
    m_hintMinTime = m_minMax.MinTime();
    m_hintMaxTime = m_minMax.MaxTime();
    m_hintDirty = true;
    m_toolTipStale = true;
}

const QString &TAnalogGControl::Hint() const
{
    if (m_hintDirty)
        buildHint();
    return m_hint;
}

QString TAnalogGControl::toolTip() const
{
    if (m_toolTipStale)
        return QString(Hint()).replace(u'\r', u'\n');
    return QWidget::toolTip();
}

void TAnalogGControl::buildHint() const
{
    m_hintDirty = false;
    const QLocale locale;
    const QString &unit = m_signal.ValueUnit();
    auto extreme = [&](const QString &label, float value, const QDateTime &when) {
        QString line = label + m_signal.FormatValue(value) + u' ' + unit;
        if (m_hintOptions.testFlag(hoMinMaxDate))
            line += u' ' + locale.toString(when.date(), QLocale::ShortFormat);
        if (m_hintOptions.testFlag(hoMinMaxTime))
            line += u' ' + locale.toString(when.time(), QLocale::LongFormat);
        return line;
    };
    QStringList lines;
    if (m_hintOptions.testFlag(hoValue))
        lines << QStringLiteral("Value= ") + m_valueText + u' ' + unit;
    if (m_hintOptions.testFlag(hoMin))
        lines << extreme(QStringLiteral("MIN= "), m_hintMin, m_hintMinTime);
    if (m_hintOptions.testFlag(hoMax))
        lines << extreme(QStringLiteral("MAX= "), m_hintMax, m_hintMaxTime);
    if (m_hintOptions.testFlag(hoName1))
        lines << m_signal.Name1();
    if (m_hintOptions.testFlag(hoName2))
        lines << m_signal.Name2();
    m_hint = lines.join(u'\r');
}

void TAnalogGControl::syncToolTip()
{
    if (!m_toolTipStale)
        return;
    m_toolTipStale = false;
    setToolTip(QString(Hint()).replace(u'\r', u'\n'));
}

bool TAnalogGControl::event(QEvent *event)
{
    // Whoever shows the tooltip reads QWidget's copy: bring it up to date first.
    if (event->type() == QEvent::ToolTip || event->type() == QEvent::WhatsThis)
        syncToolTip();
    return QWidget::event(event);
}

void TAnalogGControl::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::StyleChange:
        InvalidateLayers();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void TAnalogGControl::InvalidateLayers()
{
    for (Layer &layer : m_layers)
        layer.valid = false;
    update();
}

void TAnalogGControl::SetLayered(bool on)
{
    if (on == m_layered)
        return;
    m_layered = on;
    for (Layer &layer : m_layers)
        layer = Layer();
    update();
}

bool TAnalogGControl::BeginLayers(const QPainter &painter)
{
    // Copies land pixel for pixel only under a plain scale with whole-pixel offsets.
    const QTransform t = painter.deviceTransform();
    m_paintRatio = 0.0;
    if (!m_layered)
        return false;
    // Printers, pictures and other vector devices get the drawing itself, not pixels.
    if (!painter.paintEngine() || painter.paintEngine()->type() != QPaintEngine::Raster)
        return false;
    if (t.type() > QTransform::TxScale || t.m11() <= 0.0 || t.m11() != t.m22())
        return false;
    if (t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;
    m_paintRatio = t.m11();
    return true;
}

QPixmap &TAnalogGControl::layerFor(int slot, quint64 key, const std::function<void(QPainter &)> &draw)
{
    Layer &layer = m_layers[size_t(slot)];
    const QSize pixels = (QSizeF(size()) * m_paintRatio).toSize();
    if (layer.valid && layer.key == key && layer.ratio == m_paintRatio && layer.pixmap.size() == pixels)
        return layer.pixmap;
    if (layer.pixmap.size() != pixels)
        layer.pixmap = QPixmap(pixels);
    layer.pixmap.setDevicePixelRatio(m_paintRatio);
    layer.pixmap.fill(Qt::transparent);
    {
        QPainter p(&layer.pixmap);
        // What a painter opened on the widget itself starts with.
        p.setFont(font());
        p.setPen(palette().color(foregroundRole()));
        p.setRenderHint(QPainter::Antialiasing, true);
        draw(p);
    }
    layer.ratio = m_paintRatio;
    layer.key = key;
    layer.valid = true;
    return layer.pixmap;
}

void TAnalogGControl::PaintLayer(QPainter &painter, int slot, quint64 key, const std::function<void(QPainter &)> &draw)
{
    if (m_paintRatio <= 0.0) {
        painter.save();
        draw(painter);
        painter.restore();
        return;
    }
    painter.drawPixmap(QPointF(0, 0), layerFor(slot, key, draw));
}

void TAnalogGControl::PrepareLayer(int slot, quint64 key, const std::function<void(QPainter &)> &draw)
{
    if (m_paintRatio > 0.0)
        layerFor(slot, key, draw);
}

void TAnalogGControl::CopyFromLayer(QPainter &painter, int slot, const QRect &deviceRect) const
{
    const QPixmap &pixmap = m_layers[size_t(slot)].pixmap;
    const QRect source = deviceRect & QRect(QPoint(0, 0), pixmap.size());
    if (source.isEmpty() || m_paintRatio <= 0.0)
        return;
    const qreal r = m_paintRatio;
    painter.drawPixmap(QRectF(source.x() / r, source.y() / r, source.width() / r, source.height() / r), pixmap,
                       QRectF(source));
}

void TAnalogGControl::PaintSpanFromLayer(QPainter &painter, int slot, const QRectF &span, Qt::Orientation along,
                                         const std::function<void(QPainter &)> &exact)
{
    if (span.isEmpty())
        return;
    if (m_paintRatio <= 0.0) {
        painter.save();
        exact(painter);
        painter.restore();
        return;
    }
    const qreal r = m_paintRatio;
    const bool vertical = along == Qt::Vertical;
    const qreal a = (vertical ? span.top() : span.left()) * r;
    const qreal b = (vertical ? span.bottom() : span.right()) * r;
    const int across0 = int(std::floor((vertical ? span.left() : span.top()) * r)) - 1;
    const int across1 = int(std::ceil((vertical ? span.right() : span.bottom()) * r)) + 1;
    auto band = [&](int from, int to) {
        return vertical ? QRect(across0, from, across1 - across0, to - from)
                        : QRect(from, across0, to - from, across1 - across0);
    };
    auto exactIn = [&](int from, int to) {
        if (to <= from)
            return;
        const QRect d = band(from, to);
        painter.save();
        painter.setClipRect(QRectF(d.x() / r, d.y() / r, d.width() / r, d.height() / r), Qt::IntersectClip);
        exact(painter);
        painter.restore();
    };
    const int inner0 = int(std::ceil(a));
    const int inner1 = int(std::floor(b));
    if (inner1 <= inner0) {
        exactIn(int(std::floor(a)), int(std::ceil(b)));
        return;
    }
    CopyFromLayer(painter, slot, band(inner0, inner1));
    exactIn(int(std::floor(a)), inner0);
    exactIn(inner1, int(std::ceil(b)));
}

TFlashTimer *TAnalogGControl::flashTimer() const
{
    return m_flashTimer ? m_flashTimer.data() : TFlashTimer::Shared();
}

QRect TAnalogGControl::DrawBevels(QPainter &painter, QRect rect) const
{
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor shadow = palette().color(QPalette::Shadow);
    auto bevel = [&](const QRect &r, const QColor &topLeft, const QColor &bottomRight) {
        painter.setPen(QPen(topLeft, 1));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(QPen(bottomRight, 1));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (m_options.testFlag(opBevelOuter)) {
        bevel(rect, light, shadow);
        bevel(rect.adjusted(1, 1, -1, -1), palette().color(QPalette::Midlight), dark);
        rect.adjust(3, 3, -3, -3);
    }
    if (m_options.testFlag(opBevelInner)) {
        bevel(rect, dark, light);
        bevel(rect.adjusted(1, 1, -1, -1), shadow, palette().color(QPalette::Midlight));
        rect.adjust(2, 2, -2, -2);
    }
    painter.restore();
    return rect;
}

void TAnalogGControl::PaintLayered(QPainter &painter, const std::function<void(QPainter &, TDrawPass)> &draw)
{
    BeginLayers(painter);
    PaintLayer(painter, 0, 0, [&draw](QPainter &p) { draw(p, TDrawPass::Layer); });
    draw(painter, TDrawPass::Moving);
}

QRectF TAnalogGControl::FrameAndFace(QPainter &painter, TDrawPass pass) const
{
    const bool layer = pass != TDrawPass::Moving;
    const QRectF face = QRectF(layer ? DrawBevels(painter, rect()) : InsideBevels(rect())).adjusted(1, 1, -1, -1);
    if (layer)
        FillFace(painter, face);
    return face;
}

QRect TAnalogGControl::InsideBevels(QRect rect) const
{
    if (m_options.testFlag(opBevelOuter))
        rect.adjust(3, 3, -3, -3);
    if (m_options.testFlag(opBevelInner))
        rect.adjust(2, 2, -2, -2);
    return rect;
}

QColor TAnalogGControl::ColorAtPerMille(double perMille) const
{
    const int p = int(TSignalSettings::RoundHalfEven(perMille));
    if (const int s = m_sectors.SectorOf(p))
        return m_sectors.SectorAt(s).Color;
    return InkColor();
}

void TAnalogGControl::DrawMark(QPainter &painter, const QRectF &rect, const QColor &color) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0.0, color.lighter(140));
    g.setColorAt(0.5, color);
    g.setColorAt(1.0, color.darker(140));
    painter.setBrush(g);
    painter.setPen(QPen(QColor(0, 0, 0, 160), 1));
    const qreal r = std::min(rect.width(), rect.height()) * 0.25;
    painter.drawRoundedRect(rect, r, r);
    painter.restore();
}

QSize TAnalogGControl::minimumSizeHint() const
{
    return QSize(24, 24);
}

void TAnalogGControl::FillFace(QPainter &painter, const QRectF &rect, qreal radius) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0.0, FaceColor().lighter(125));
    g.setColorAt(1.0, FaceColor().darker(130));
    painter.setPen(Qt::NoPen);
    painter.setBrush(g);
    painter.drawRoundedRect(rect, radius, radius);
    painter.restore();
}

QColor TAnalogGControl::ExtremeColor(float value, bool isMax) const
{
    if (m_minMax.UseSectorCol()) {
        const int p = int(TSignalSettings::RoundHalfEven(m_signal.ValueToPerMille(value)));
        if (const int s = m_sectors.SectorOf(p))
            return m_sectors.SectorAt(s).Color;
    }
    return isMax ? m_minMax.MaxColor() : m_minMax.MinColor();
}

void TAnalogGControl::DrawFittedText(QPainter &painter, const QRectF &box, int flags, const QString &text,
                                     qreal pixelSize, const QColor &color, bool bold)
{
    if (text.isEmpty() || box.width() <= 1 || box.height() <= 1)
        return;
    QFont f = painter.font();
    f.setBold(bold);
    qreal size = std::max<qreal>(6.0, std::min(pixelSize, box.height()));
    f.setPixelSize(int(size));
    QFontMetricsF fm(f);
    while (size > 6.0 && fm.horizontalAdvance(text) > box.width()) {
        size -= 1.0;
        f.setPixelSize(int(size));
        fm = QFontMetricsF(f);
    }
    painter.save();
    painter.setFont(f);
    painter.setPen(color);
    painter.drawText(box, flags, text);
    painter.restore();
}
