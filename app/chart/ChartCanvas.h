#pragma once

#include "app/chart/ChartPainter.h"

#include <QPoint>
#include <QWidget>

#include <functional>
#include <optional>

// The painted chart: the wheel zooms time around the pointer, a drag pans,
// a double click shows the whole, a click asks the replay to go there, the
// pointer moves the cursor. From the keyboard: arrows move the cursor
// (Shift: further), + and - zoom around it, Page Up/Down pan, Home shows
// the whole, Enter asks the replay to go to the cursor. It only draws and
// hands the gestures to the axis and the seek logic of chart/.
class ChartCanvas : public QWidget
{
    Q_OBJECT
public:
    explicit ChartCanvas(QWidget *parent = nullptr);

    void setData(const ChartData *data);
    void setChartLayout(const ChartLayout *layout) { m_layout = layout; update(); }
    void setTexts(const ChartTexts *texts) { m_texts = texts; update(); }

    TimeAxis &axis() { return m_axis; }
    // The data grew (live) or changed: the whole follows it.
    void dataChanged();
    void showAll();
    // Moves the cursor (the replay playing); the view follows when it leaves.
    void setCursorTime(qint64 ms, bool keepInView);
    std::optional<qint64> cursorTime() const { return m_cursor; }
    // The read-out lines at the cursor; empty without a cursor.
    QStringList readout() const;

    // The live view: the last ten minutes, following the newest answer.
    void setFollowLatest(bool follow);
    bool followsLatest() const { return m_followLatest; }

    ChartPainter::Geometry geometry() const;

signals:
    void cursorMoved();
    void seekRequested(qint64 ms);
    void viewChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    double plotX(const QPointF &pos) const;
    void moveCursorTo(double x);
    void syncWidth();
    void changed();

    const ChartData *m_data = nullptr;
    const ChartLayout *m_layout = nullptr;
    const ChartTexts *m_texts = nullptr;
    TimeAxis m_axis;
    std::optional<qint64> m_cursor;
    std::optional<QPointF> m_pressAt;
    double m_lastDragX = 0;
    bool m_dragging = false;
    bool m_followLatest = false;
};
