#include "widgets/TRMeter.h"

#include "widgets/ScaleTicks.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
constexpr qreal Pi = 3.14159265358979323846;

QPointF polar(const QPointF &c, qreal r, qreal degrees)
{
    const qreal a = degrees * Pi / 180.0;
    return QPointF(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
}
} // namespace

TRMeter::TRMeter(QWidget *parent)
    : TRMeter(240.0, parent)
{
}

TRMeter::TRMeter(qreal sweep, QWidget *parent)
    : TAnalogGControl(parent)
    , m_sweep(sweep)
{
    SetSupportedOptions(opBevelInner | opBevelOuter | opName1 | opName2 | opOverflow | opLimit | opSector | opUnit);
    m_arrow.SetOnChange([this] {
        emit OnSettingsChange();
        update();
    });
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSize TRMeter::sizeHint() const
{
    return QSize(170, 170);
}

QSize TRMeter::minimumSizeHint() const
{
    return QSize(90, 90);
}

TRMeter::Dial TRMeter::dial() const
{
    Dial d;
    // The frame hugs the dial: a centred square, however the layout stretched the widget.
    const int sideOuter = std::min(width(), height());
    d.square = QRect((width() - sideOuter) / 2, (height() - sideOuter) / 2, sideOuter, sideOuter);
    const QRectF area = QRectF(InsideBevels(d.square)).adjusted(1, 1, -1, -1);
    const qreal side = std::min(area.width(), area.height());
    if (side < 20)
        return d;
    d.valid = true;
    d.c = area.center();
    d.R = side / 2 - 1;
    d.r = d.R * 0.88;
    d.scaleR = d.r * 0.92;
    d.start = 270.0 - (360.0 - m_sweep) / 2.0;
    return d;
}

void TRMeter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    BeginLayers(painter);
    const Dial d = dial();
    PaintLayer(painter, 0, 0, [&](QPainter &p) { drawDial(p, d); });
    if (!d.valid)
        return;

    const QPointF c = d.c;
    const qreal r = d.r;
    const qreal scaleR = d.scaleR;
    const TSignalSettings &s = SignalSettings();
    auto angleAt = [&](double perMille) { return d.angleAt(perMille, m_sweep); };

    painter.save();
    QPainterPath clip;
    clip.addEllipse(c, r, r);
    painter.setClipPath(clip);

    // Limit marks outside the band.
    if (Options() & opLimit) {
        auto limitMark = [&](float limit, bool violated) {
            const double pm = s.ValueToPerMille(limit);
            if (pm < 0 || pm > 1000)
                return;
            const qreal a = angleAt(pm);
            QPolygonF tri;
            tri << polar(c, scaleR + r * 0.01, a) << polar(c, r * 1.0, a - 3.5) << polar(c, r * 1.0, a + 3.5);
            painter.setPen(Qt::NoPen);
            painter.setBrush(violated ? clRed() : QColor(0xff, 0x9f, 0x1a));
            painter.drawPolygon(tri);
        };
        limitMark(LimitLower(), LowerViolated());
        limitMark(LimitUpper(), UpperViolated());
    }

    // Remembered extremes as dots just inside the scale.
    const TMinMax &mm = MinMax();
    auto extreme = [&](float v, bool isMax) {
        const qreal a = angleAt(std::clamp(s.ValueToPerMille(v), 0.0, 1000.0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(ExtremeColor(v, isMax));
        painter.drawEllipse(polar(c, scaleR - r * 0.15, a), r * 0.025, r * 0.025);
    };
    if (mm.MinVisible() && mm.MinSet())
        extreme(mm.Min(), false);
    if (mm.MaxVisible() && mm.MaxSet())
        extreme(mm.Max(), true);

    if (Options() & (opOverflow | opLimit)) {
        const qreal lamp = std::clamp<qreal>(r * 0.12, 6.0, 16.0);
        DrawMark(painter, QRectF(c.x() - lamp / 2, c.y() + r * 0.62, lamp, lamp * 0.7), AlarmColor());
    }
    painter.restore();

    drawPointer(painter, c, scaleR - r * 0.03, angleAt(PerMilleDrawn()));
}

// Everything of the dial that stays put while the value moves. The names and the unit stand clear of
// the limit marks and extreme dots drawn over this later.
void TRMeter::drawDial(QPainter &painter, const Dial &d) const
{
    DrawBevels(painter, d.square);
    if (!d.valid)
        return;
    const QPointF c = d.c;
    const qreal R = d.R;
    const qreal r = d.r;
    const qreal scaleR = d.scaleR;
    auto angleAt = [&](double perMille) { return d.angleAt(perMille, m_sweep); };

    // Bezel and dial face.
    QRadialGradient bezel(c, R);
    bezel.setColorAt(0.86, QColor(0x60, 0x66, 0x6e));
    bezel.setColorAt(0.93, QColor(0xb8, 0xbe, 0xc6));
    bezel.setColorAt(1.0, QColor(0x2a, 0x2e, 0x33));
    painter.setPen(Qt::NoPen);
    painter.setBrush(bezel);
    painter.drawEllipse(c, R, R);
    QRadialGradient faceGrad(c - QPointF(0, r * 0.3), r * 1.3);
    faceGrad.setColorAt(0.0, FaceColor().lighter(150));
    faceGrad.setColorAt(1.0, FaceColor().darker(140));
    painter.setBrush(faceGrad);
    painter.drawEllipse(c, r, r);

    const TSignalSettings &s = SignalSettings();
    const QColor ink = InkColor();

    painter.save();
    QPainterPath clip;
    clip.addEllipse(c, r, r);
    painter.setClipPath(clip);

    // Sector band just inside the ticks; a large offset pulls it into the centre and away.
    if (Options() & opSector) {
        const qreal bandR = scaleR - r * 0.06 - SectorSettings().Offset();
        const qreal bandW = std::max<qreal>(3.0, r * 0.07);
        if (bandR - bandW / 2 > r * 0.15) {
            for (int k = 1; k <= TSectorSettings::Count; ++k) {
                const auto &sec = SectorSettings().SectorAt(k);
                const double a = std::clamp(double(sec.From), 0.0, 1000.0);
                const double b = std::clamp(double(sec.To), 0.0, 1000.0);
                if (b <= a)
                    continue;
                painter.setPen(QPen(sec.Color, bandW, Qt::SolidLine, Qt::FlatCap));
                painter.setBrush(Qt::NoBrush);
                const QRectF box(c.x() - bandR, c.y() - bandR, 2 * bandR, 2 * bandR);
                const qreal a0 = angleAt(a);
                const qreal span = angleAt(b) - a0;
                painter.drawArc(box, int(a0 * 16), int(span * 16));
            }
        }
    }

    // Ticks and labels.
    QFont labelFont = painter.font();
    labelFont.setPixelSize(int(std::clamp<qreal>(r * 0.15, 8.0, 22.0)));
    labelFont.setBold(true);
    painter.setFont(labelFont);
    const QFontMetricsF fm(labelFont);
    const double from = s.ValueFrom();
    const double to = s.ValueTo();
    const int maxLabels = std::clamp(int(r * m_sweep / 180.0 * Pi / (fm.height() * 1.6)), 3, 12);
    const double step = ScaleTicks::Step(from, to, maxLabels);
    const auto ticks = ScaleTicks::Values(from, to, step);
    const double minor = step / 5.0;
    painter.setPen(QPen(ink, std::max<qreal>(1.0, r * 0.012)));
    for (double v = ticks.empty() ? from : ticks.front() - step; v <= to + minor * 0.01; v += minor) {
        const double pm = s.ValueToPerMille(v);
        if (pm < -0.5 || pm > 1000.5)
            continue;
        const qreal a = angleAt(pm);
        painter.drawLine(polar(c, scaleR, a), polar(c, scaleR - r * 0.05, a));
    }
    for (double v : ticks) {
        const qreal a = angleAt(s.ValueToPerMille(v));
        painter.setPen(QPen(ink, std::max<qreal>(1.5, r * 0.025), Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(polar(c, scaleR, a), polar(c, scaleR - r * 0.11, a));
        const QString label = ScaleTicks::Label(v, step);
        const QPointF at = polar(c, scaleR - r * 0.24, a);
        const qreal w = fm.horizontalAdvance(label);
        painter.setPen(ink);
        painter.drawText(QRectF(at.x() - w / 2 - 2, at.y() - fm.height() / 2, w + 4, fm.height()), Qt::AlignCenter, label);
    }

    // Texts: names above the hub, unit below it.
    const qreal textH = std::clamp<qreal>(r * 0.13, 8.0, 18.0);
    if (Options() & opName1)
        DrawFittedText(painter, QRectF(c.x() - r * 0.5, c.y() - r * 0.52, r, textH), Qt::AlignCenter,
                       s.Name1().trimmed(), textH, ink, true);
    if (Options() & opName2)
        DrawFittedText(painter, QRectF(c.x() - r * 0.5, c.y() - r * 0.52 + textH, r, textH), Qt::AlignCenter,
                       s.Name2().trimmed(), textH * 0.9, ink.darker(115));
    if (Options() & opUnit)
        DrawFittedText(painter, QRectF(c.x() - r * 0.4, c.y() + r * 0.22, r * 0.8, textH), Qt::AlignCenter,
                       s.ValueUnit().trimmed(), textH, ink);
    painter.restore();
}

void TRMeter::drawPointer(QPainter &painter, const QPointF &c, qreal length, qreal angle) const
{
    const QColor color = m_arrow.Color();
    painter.save();
    painter.translate(c);
    painter.rotate(-angle); // x axis now points along the pointer
    const qreal L = length;
    QPainterPath path;
    qreal hub = L * 0.07;
    switch (m_arrow.Shape()) {
    case 1: // hairline
        painter.setPen(QPen(color, std::max<qreal>(1.2, L * 0.015), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(-L * 0.1, 0), QPointF(L, 0));
        hub = L * 0.05;
        break;
    case 2: // slim needle
        path.moveTo(L, 0);
        path.lineTo(0, L * 0.025);
        path.lineTo(-L * 0.12, L * 0.015);
        path.lineTo(-L * 0.12, -L * 0.015);
        path.lineTo(0, -L * 0.025);
        path.closeSubpath();
        hub = L * 0.06;
        break;
    case 3: // needle with a round tip
        painter.setPen(QPen(color, std::max<qreal>(1.5, L * 0.025), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, 0), QPointF(L * 0.9, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(QPointF(L * 0.9, 0), L * 0.04, L * 0.04);
        break;
    case 4: // arrow
        painter.setPen(QPen(color, std::max<qreal>(1.5, L * 0.025)));
        painter.drawLine(QPointF(0, 0), QPointF(L * 0.8, 0));
        path.moveTo(L, 0);
        path.lineTo(L * 0.78, L * 0.06);
        path.lineTo(L * 0.78, -L * 0.06);
        path.closeSubpath();
        break;
    case 5: // broad wedge
        path.moveTo(L, 0);
        path.lineTo(0, L * 0.08);
        path.lineTo(0, -L * 0.08);
        path.closeSubpath();
        hub = L * 0.1;
        break;
    default: // 6: broad tapered needle with a counterweight
        path.moveTo(L, 0);
        path.lineTo(L * 0.15, L * 0.055);
        path.lineTo(-L * 0.22, L * 0.05);
        path.lineTo(-L * 0.25, 0);
        path.lineTo(-L * 0.22, -L * 0.05);
        path.lineTo(L * 0.15, -L * 0.055);
        path.closeSubpath();
        hub = L * 0.11;
        break;
    }
    if (!path.isEmpty()) {
        // A soft shadow gives the pointer some height over the face.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 90));
        painter.drawPath(path.translated(L * 0.015, L * 0.02));
        QLinearGradient g(0, -L * 0.06, 0, L * 0.06);
        g.setColorAt(0.0, color.lighter(140));
        g.setColorAt(1.0, color.darker(130));
        painter.setBrush(g);
        painter.setPen(QPen(color.darker(180), 0.8));
        painter.drawPath(path);
    }
    QRadialGradient cap(QPointF(-hub * 0.3, -hub * 0.3), hub * 1.6);
    cap.setColorAt(0.0, QColor(0xd0, 0xd4, 0xda));
    cap.setColorAt(1.0, QColor(0x30, 0x33, 0x38));
    painter.setPen(QPen(QColor(0, 0, 0, 160), 0.8));
    painter.setBrush(cap);
    painter.drawEllipse(QPointF(0, 0), hub, hub);
    painter.restore();
}
