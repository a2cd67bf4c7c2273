#pragma once

#include "app/calibration/MapChart.h"

#include "calibration/CorrectionMap.h"
#include "calibration/MapSelection.h"
#include "calibration/TimeCurves.h"
#include "link/CommandBodies.h"

#include <QObject>
#include <QPointer>

#include <functional>

class InjectionTimeTables;
class QLabel;
class QMouseEvent;
class QPushButton;
class TSpinButton;

// The "Mapa" page: the correction map chart with its marking, the arrows
// that move the map, the zoom, the learned-curve buttons, the working point
// and the learned injection-time curves. Every calculation is the
// calibration library's; this shows the results and forwards the events.
class MapPage : public QObject
{
public:
    // How the page reaches the controller link.
    struct Link
    {
        std::function<bool()> connected;      // a controller is there to take commands
        std::function<bool()> commandPending; // the queue's current slot holds a command
        std::function<void(int retries, const CommandBodies::Group &commands)> queue;
        // A note in the status bar, by its program-text key (read when shown).
        std::function<void(const QString &textKey)> notice;
    };

    static constexpr int MapRetries = 7;
    static constexpr int CurveRetries = 5;
    static constexpr int PanelRestingHeight = 97;
    static constexpr int PanelMarkingHeight = 130;

    // `tab` is the page CalibrationMapTabs::map built.
    MapPage(QWidget *tab, Link link, QObject *parent = nullptr);

    // The map of a settings block (bytes 66..311), shown at once.
    void loadCorrectionMap(const QByteArray &settingsBlock);
    // A whole map written to the controller from elsewhere (the map fit),
    // shown at once as the map.
    void showCorrectionMap(const CorrectionMap &map);

    void RedrawCorrectionMap();
    // t = petrol injection time (ms) shown, p = MAP (kPa).
    void DrawWorkingPoint(double t, double p);
    // Per live frame: the working point, and the curves while the stream's
    // position lies in 128..134.
    void UpdateTimeCurves(int selector, const InjectionTimeTables &tables, double t, double p);

    // --- handlers (x in the mouse area's own pixels)
    void PaintBox1MouseDown(double x, Qt::MouseButton button, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers);
    void PaintBox1MouseUp();
    void SpinButton1UpClick() { arrowStep(+1); }
    void SpinButton1DownClick() { arrowStep(-1); }
    void Button3Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void zoomClick();
    void zoomMouseMove();
    void Chart1MouseMove();

    const CorrectionMap &correctionMap() const { return m_map; }
    const MapSelection &selection() const { return m_selection; }
    const MapChart::Parts &chart() const { return m_chart; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void arrowStep(int delta);
    void clearSelection();
    void drawMarker(QXYSeries *series, double time);
    void setPanel(bool yellow, int height);
    void setPanelColour(bool yellow);
    void showNotice(const QString &key);
    void plot(QXYSeries *series, const TimeCurves::Points &points);
    template <class Handler>
    void guarded(Handler &&handler);

    QPointer<QWidget> m_tab;
    Link m_link;
    MapChart::Parts m_chart;
    QWidget *m_panel = nullptr;
    TSpinButton *m_spin = nullptr;
    QPushButton *m_clear = nullptr;
    QLabel *m_zoom = nullptr;

    CorrectionMap m_map;
    MapSelection m_selection;
    TimeCurves m_curves;
};
