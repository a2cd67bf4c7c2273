#include "app/chart/ChartCanvas.h"

#include "chart/ChartSeek.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double DragThreshold = 4;
constexpr double WheelZoomIn = 0.8; // one wheel step

} // namespace

ChartCanvas::ChartCanvas(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chartCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setMinimumSize(400, 300);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartCanvas::setData(const ChartData *data)
{
    m_data = data;
    m_cursor.reset();
    m_axis.setWhole(m_data ? m_data->firstMs() : 0, m_data ? m_data->lastMs() : 0);
    m_axis.showAll();
    changed();
}

ChartPainter::Geometry ChartCanvas::geometry() const
{
    return ChartPainter::geometry(rect(), m_layout ? int(m_layout->panes.size()) : 1, font());
}

void ChartCanvas::syncWidth()
{
    m_axis.setWidth(geometry().plot.width());
}

void ChartCanvas::changed()
{
    update();
    emit viewChanged();
}

void ChartCanvas::dataChanged()
{
    if (!m_data)
        return;
    if (m_followLatest) {
        const qint64 last = m_data->lastMs();
        const qint64 first = std::max(m_data->firstMs(), last - ChartData::LiveKeepMs);
        m_axis.setWhole(first, std::max(last, first + ChartData::LiveKeepMs));
        m_axis.setView(first, first + ChartData::LiveKeepMs);
    } else {
        m_axis.setWhole(m_data->firstMs(), m_data->lastMs());
    }
    update();
    if (m_cursor)
        emit cursorMoved();
}

void ChartCanvas::setFollowLatest(bool follow)
{
    m_followLatest = follow;
    dataChanged();
    emit viewChanged();
}

void ChartCanvas::showAll()
{
    m_axis.showAll();
    changed();
}

void ChartCanvas::setCursorTime(qint64 ms, bool keepInView)
{
    m_cursor = ms;
    if (keepInView && (ms < m_axis.from() || ms > m_axis.to())) {
        const double span = m_axis.span();
        m_axis.setView(ms - span * 0.1, ms + span * 0.9);
    }
    update();
    emit cursorMoved();
}

QStringList ChartCanvas::readout() const
{
    if (!m_cursor || !m_data || !m_layout || !m_texts)
        return {};
    return ChartPainter::readout({m_data, m_layout, &m_axis, m_cursor, m_texts}, *m_cursor);
}

double ChartCanvas::plotX(const QPointF &pos) const
{
    return pos.x() - geometry().plot.left();
}

void ChartCanvas::moveCursorTo(double x)
{
    const double t = std::clamp(m_axis.timeAt(x), m_axis.from(), m_axis.to());
    m_cursor = qint64(std::llround(t));
    update();
    emit cursorMoved();
}

void ChartCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_data || !m_layout || !m_texts) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    syncWidth();
    ChartPainter::paint(painter, rect(), {m_data, m_layout, &m_axis, m_cursor, m_texts});
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ChartCanvas::resizeEvent(QResizeEvent *)
{
    syncWidth();
}

void ChartCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressAt = event->position();
    m_lastDragX = event->position().x();
    m_dragging = false;
}

void ChartCanvas::mouseMoveEvent(QMouseEvent *event)
{
    syncWidth();
    if (m_pressAt && (event->buttons() & Qt::LeftButton)) {
        if (!m_dragging && std::abs(event->position().x() - m_pressAt->x()) >= DragThreshold)
            m_dragging = true;
        if (m_dragging) {
            m_followLatest = false;
            m_axis.pan(event->position().x() - m_lastDragX);
            m_lastDragX = event->position().x();
            changed();
            return;
        }
    }
    moveCursorTo(plotX(event->position()));
}

void ChartCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressAt)
        return;
    const bool click = !m_dragging;
    m_pressAt.reset();
    m_dragging = false;
    if (click && m_data) {
        syncWidth();
        const qint64 ms = ChartSeek::position(m_axis, m_data->series(), plotX(event->position()));
        m_cursor = ms;
        update();
        emit cursorMoved();
        emit seekRequested(ms);
    }
}

void ChartCanvas::mouseDoubleClickEvent(QMouseEvent *)
{
    showAll();
}

void ChartCanvas::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y();
    if (steps == 0)
        return;
    syncWidth();
    m_followLatest = false;
    m_axis.zoomAround(plotX(event->position()), std::pow(WheelZoomIn, steps / 120.0));
    moveCursorTo(plotX(event->position()));
    changed();
    event->accept();
}

void ChartCanvas::keyPressEvent(QKeyEvent *event)
{
    syncWidth();
    const double cursorX = m_cursor ? m_axis.xOf(double(*m_cursor)) : m_axis.width() / 2;
    const double stepX = (event->modifiers() & Qt::ShiftModifier) ? m_axis.width() / 10 : 1;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const double x = cursorX + (event->key() == Qt::Key_Left ? -stepX : stepX);
        if (x < 0 || x > m_axis.width())
            m_axis.pan(x < 0 ? -x : m_axis.width() - x);
        moveCursorTo(std::clamp(x, 0.0, m_axis.width()));
        changed();
        return;
    }
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus:
        m_followLatest = false;
        m_axis.zoomAround(cursorX, event->key() == Qt::Key_Minus ? 1 / WheelZoomIn : WheelZoomIn);
        changed();
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        m_followLatest = false;
        m_axis.pan(event->key() == Qt::Key_PageUp ? m_axis.width() / 2 : -m_axis.width() / 2);
        changed();
        return;
    case Qt::Key_Home:
        showAll();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_cursor)
            emit seekRequested(*m_cursor);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
