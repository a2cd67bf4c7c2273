#include "app/calibration/MapPage.h"

#include "app/common/HandlerGuard.h"
#include "app/common/PanelColour.h"

#include "calibration/MapEdit.h"
#include "calibration/MapPixels.h"
#include "live/InjectionTimeTables.h"

#include "widgets/TSpinButton.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QValueAxis>
#include <QXYSeries>

namespace {

const QColor Blue(0x00, 0x00, 0xFF);   // clBlue
const QColor Yellow(0xFF, 0xFF, 0x00); // clYellow
const QString ZoomedOut = QStringLiteral("<< [ms] >>");
const QString ZoomedIn = QStringLiteral(">> [ms] <<");
const QString NotConnectedKey = QStringLiteral("map.not_changed_offline");
const QString CurveNotSentKey = QStringLiteral("map.curve_not_sent_offline");

QList<QPointF> qtPoints(const std::vector<MapEdit::ChartPoint> &points)
{
    QList<QPointF> out;
    out.reserve(qsizetype(points.size()));
    for (const MapEdit::ChartPoint &p : points)
        out.append(QPointF(p.x, p.y));
    return out;
}

} // namespace

MapPage::MapPage(QWidget *tab, Link link, QObject *parent)
    : QObject(parent), m_tab(tab), m_link(std::move(link))
{
    m_chart = MapChart::parts(tab->findChild<QWidget *>(QStringLiteral("Chart1")));
    m_panel = tab->findChild<QWidget *>(QStringLiteral("Panel4"));
    m_spin = tab->findChild<TSpinButton *>(QStringLiteral("SpinButton1"));
    m_clear = tab->findChild<QPushButton *>(QStringLiteral("Button3"));
    m_zoom = tab->findChild<QLabel *>(QStringLiteral("zoom"));

    m_chart.paintBox->installEventFilter(this);
    m_chart.view->viewport()->installEventFilter(this);
    m_chart.view->viewport()->setMouseTracking(true);
    m_zoom->installEventFilter(this);
    connect(m_spin, &TSpinButton::OnUpClick, this, [this] { guarded([this] { SpinButton1UpClick(); }); });
    connect(m_spin, &TSpinButton::OnDownClick, this, [this] { guarded([this] { SpinButton1DownClick(); }); });
    connect(m_clear, &QPushButton::clicked, this, [this] { guarded([this] { Button3Click(); }); });
    if (auto *gas = tab->findChild<QPushButton *>(QStringLiteral("BitBtn1")))
        connect(gas, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    if (auto *petrol = tab->findChild<QPushButton *>(QStringLiteral("BitBtn2")))
        connect(petrol, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });

    // Until a controller's block arrives the chart shows no map at all.
    setPanel(false, PanelRestingHeight);
}

template <class Handler>
void MapPage::guarded(Handler &&handler)
{
    HandlerGuard::run(m_tab, std::forward<Handler>(handler));
}

bool MapPage::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_chart.paintBox) {
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            const auto *e = static_cast<QMouseEvent *>(event);
            guarded([&] { PaintBox1MouseDown(e->position().x(), e->button(), e->buttons(), e->modifiers()); });
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            guarded([this] { PaintBox1MouseUp(); });
            return true;
        }
        if (type == QEvent::MouseMove)
            Chart1MouseMove();
    } else if (watched == m_chart.view->viewport()) {
        if (type == QEvent::MouseMove)
            Chart1MouseMove();
    } else if (watched == m_zoom) {
        if (type == QEvent::MouseButtonPress) {
            guarded([this] { zoomClick(); });
            return true;
        }
        if (type == QEvent::MouseMove || type == QEvent::Enter)
            zoomMouseMove();
    }
    return QObject::eventFilter(watched, event);
}

void MapPage::loadCorrectionMap(const QByteArray &settingsBlock)
{
    if (m_map.loadFromSettingsBlock(settingsBlock))
        RedrawCorrectionMap();
}

void MapPage::showCorrectionMap(const CorrectionMap &map)
{
    m_map = map;
    RedrawCorrectionMap();
}

void MapPage::RedrawCorrectionMap()
{
    QXYSeries *series = m_chart.series[MapChart::Map];
    const std::vector<MapEdit::ChartPoint> curve = MapEdit::mapCurve(m_map, m_selection);
    series->replace(qtPoints(curve));
    QList<QPointF> marked;
    for (const MapEdit::ChartPoint &p : curve)
        if (p.marked)
            marked.append(QPointF(p.x, p.y));
    m_chart.mapArea->replace(marked);
    if (!m_selection.hasArea())
        setPanelColour(false);
    else if (m_selection.highlighted())
        setPanelColour(true);
}

void MapPage::DrawWorkingPoint(double t, double p)
{
    m_chart.series[MapChart::WorkingPoint]->replace(qtPoints(MapEdit::workingPointLine(t, p)));
}

void MapPage::UpdateTimeCurves(int selector, const InjectionTimeTables &tables, double t, double p)
{
    DrawWorkingPoint(t, p);
    if (!TimeCurves::rebuildsAt(tables.lastStreamPosition()))
        return;
    const TimeCurves::Result &r = m_curves.rebuild(tables.GasTimeTable(), tables.PetrolTimeTable(), selector);
    plot(m_chart.series[MapChart::GasCurve], r.gasCurve);
    plot(m_chart.series[MapChart::GasPoints], r.gasPoints);
    plot(m_chart.series[MapChart::PetrolCurve], r.petrolCurve);
    plot(m_chart.series[MapChart::PetrolPoints], r.petrolPoints);
}

void MapPage::plot(QXYSeries *series, const TimeCurves::Points &points)
{
    series->replace(qtPoints(points));
}

void MapPage::PaintBox1MouseDown(double x, Qt::MouseButton button, Qt::MouseButtons buttons,
                                 Qt::KeyboardModifiers modifiers)
{
    const double axisMaximum = m_chart.time->max();
    const double nominalX = MapPixels::nominal(x, m_chart.paintBox->width());
    const double time = MapPixels::timeAt(nominalX, axisMaximum);
    const double c = MapPixels::markPosition(nominalX, axisMaximum);
    const bool rightAlone = button == Qt::RightButton && buttons == Qt::RightButton &&
                            !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (rightAlone) {
        clearSelection();
        return;
    }
    m_panel->setFixedHeight(PanelMarkingHeight);
    switch (m_selection.press(c, false)) {
    case MapSelection::Press::StartMoved:
        drawMarker(m_chart.series[MapChart::AreaStart], time);
        RedrawCorrectionMap();
        break;
    case MapSelection::Press::EndMoved:
        drawMarker(m_chart.series[MapChart::AreaEnd], time);
        RedrawCorrectionMap();
        break;
    case MapSelection::Press::Cleared:
    case MapSelection::Press::Ignored:
        break;
    }
}

void MapPage::PaintBox1MouseUp()
{
    m_spin->setEnabled(m_selection.arrowsEnabled());
}

void MapPage::Button3Click()
{
    clearSelection();
}

void MapPage::clearSelection()
{
    m_selection.clear();
    m_chart.series[MapChart::AreaStart]->clear();
    m_chart.series[MapChart::AreaEnd]->clear();
    RedrawCorrectionMap();
    setPanel(false, PanelRestingHeight);
}

void MapPage::drawMarker(QXYSeries *series, double time)
{
    series->replace(QList<QPointF>{QPointF(time, 0.0), QPointF(time, 3.0)});
}

void MapPage::arrowStep(int delta)
{
    // Held down, the arrows step only as fast as the controller takes the writes.
    if (m_link.commandPending && m_link.commandPending())
        return;
    // The map on screen stays what the controller holds.
    if (!m_link.connected || !m_link.connected()) {
        showNotice(NotConnectedKey);
        return;
    }
    if (!MapEdit::step(m_map, m_selection, delta))
        return;
    RedrawCorrectionMap();
    m_link.queue(MapRetries, m_map.writeCommands());
}

void MapPage::BitBtn1Click()
{
    if (!m_link.connected || !m_link.connected()) {
        showNotice(CurveNotSentKey);
        return;
    }
    m_link.queue(CurveRetries, {CommandBodies::curveGas(), {}, {}});
}

void MapPage::BitBtn2Click()
{
    if (!m_link.connected || !m_link.connected()) {
        showNotice(CurveNotSentKey);
        return;
    }
    m_link.queue(CurveRetries, {CommandBodies::curvePetrol(), {}, {}});
}

void MapPage::zoomClick()
{
    if (qFuzzyCompare(m_chart.time->max(), MapPixels::FullMaximum)) {
        m_chart.time->setMax(MapPixels::ZoomedMaximum);
        m_zoom->setText(ZoomedIn);
    } else if (qFuzzyCompare(m_chart.time->max(), MapPixels::ZoomedMaximum)) {
        m_chart.time->setMax(MapPixels::FullMaximum);
        m_zoom->setText(ZoomedOut);
    }
}

void MapPage::zoomMouseMove()
{
    QFont f = m_zoom->font();
    if (f.bold())
        return;
    f.setBold(true);
    m_zoom->setFont(f);
}

void MapPage::Chart1MouseMove()
{
    QFont f = m_zoom->font();
    if (!f.bold())
        return;
    f.setBold(false);
    m_zoom->setFont(f);
}

void MapPage::setPanel(bool yellow, int height)
{
    setPanelColour(yellow);
    m_panel->setFixedHeight(height);
}

void MapPage::setPanelColour(bool yellow)
{
    ::setPanelColour(m_panel, yellow ? Yellow : QApplication::palette().color(QPalette::Button));
}

void MapPage::showNotice(const QString &key)
{
    if (m_link.notice)
        m_link.notice(key);
}
