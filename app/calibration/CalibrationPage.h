#pragma once

#include "calibration/CalibrationProcedure.h"
#include "calibration/CalibrationView.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QWidget;
class LinkView;
class Session;
class WindowShell;

// The "Adaptacja" page on the window: START and STOP, the step timer
// `Adaptacja_Timer`, the progress bar, `Adaptacja_info` and the lock of the
// window during a run. The procedure itself is CalibrationProcedure; this
// only reaches the components and the link for it.
class CalibrationPage : public QObject, public CalibrationView
{
public:
    // `CorrectionMap` point k (1..246) as the program holds it right now.
    using MapPointSource = std::function<int(int k)>;

    // The fuel switch's own request, with START as its sender (the settings
    // room's); given the calibration step.
    using FuelRequest = std::function<void(int calibrationStep)>;

    // `stepTimer` is `Adaptacja_Timer`; `calibrationStep` is the window's
    // `CalibrationStep`.
    CalibrationPage(WindowShell &window, Session &session, LinkView &link, QTimer &stepTimer,
                    int &calibrationStep, FuelRequest fuelRequest);
    ~CalibrationPage() override;

    // --- handlers
    void Button_startClick();
    void Button_stopClick();
    void Adaptacja_TimerTimer();
    void TabSheet3Show();
    // From the live display, for every live frame while a run is on.
    void StoreCalibrationSample(int position, const QByteArray &frame);
    // The link's disconnect sequence has begun.
    void linkEnded();

    // Where `CorrectionMap` point k is read; without a source, from
    // `StoredSettings` (block byte 65 + k), where the controller keeps them.
    void setMapPointSource(MapPointSource source) { m_mapPoint = std::move(source); }

    CalibrationProcedure &procedure() { return *m_procedure; }

    // --- CalibrationView
    bool faultIndicatorVisible() const override;
    double engineSpeed() const override;
    double reducerTemperature() const override;
    uint8_t storedGasMask() const override;
    uint8_t litGasMask() const override;
    int correctionMapPoint(int k) const override;
    QString messageText(int row) const override;
    QString programText(const QString &key) const override;
    void showMessage(const QString &text) override;
    bool askYesNo(const QString &text) override;
    QString infoText() const override { return m_caption; }
    void setInfoText(const QString &text) override;
    void startProgress() override;
    void setProgressPosition(int position) override;
    void stopProgress() override;
    void setRunLock(bool locked) override;
    void queueCommands(int retries, const CommandBodies::Group &bodies) override;
    void requestPetrolAsStart(int calibrationStep) override;
    void showWindowReady() override;
    void setSlowPolling(bool slow) override;

private:
    template <class Handler>
    void guarded(Handler &&handler);

    class StepTimer;

    WindowShell &m_window;
    Session &m_session;
    LinkView &m_link;
    FuelRequest m_fuelRequest;
    QWidget *m_page = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_info = nullptr;
    QString m_caption;
    MapPointSource m_mapPoint;
    // Which pages could be chosen before the run locked the others.
    std::vector<bool> m_pagesEnabled;
    std::vector<std::pair<QPointer<QWidget>, bool>> m_topPanelEnabled;
    bool m_locked = false;
    std::unique_ptr<StepTimer> m_timer;
    std::unique_ptr<CalibrationProcedure> m_procedure;
};
