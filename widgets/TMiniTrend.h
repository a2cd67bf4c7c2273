#pragma once

#include "widgets/TFlashTimer.h"
#include "widgets/TSignalSettings.h"
#include "widgets/TTrendPlot.h"

#include <QFlags>
#include <QPointer>
#include <QTime>
#include <QWidget>

#include <functional>

// Two-channel strip chart. Values handed in are only stored; on its own
// periodic tick from the flash timer the chart scrolls and draws the latest
// ones, so it always shows the last TimeScale minutes.
class TMiniTrend : public QWidget, public TFlashClient
{
    Q_OBJECT
public:
    // The parts drawn; named as the display widgets' options, hence scoped here.
    enum TTrendOption {
        opBevelInner = 0x001,
        opBevelOuter = 0x002,
        opCaption = 0x004,
        opScaleCh1 = 0x008,
        opScaleCh2 = 0x010,
        opSignDescCh1 = 0x020,
        opSignDescCh2 = 0x040,
        opGrid = 0x080,
        opTimeLine = 0x100,
    };
    Q_DECLARE_FLAGS(TTrendOptions, TTrendOption)

    static constexpr int MinSide = 150;
    static constexpr TTrendOptions AllOptions = TTrendOptions(0x1FF);

    explicit TMiniTrend(QWidget *parent = nullptr);
    ~TMiniTrend() override;

    TSignalSettings &SignalSettingsCh1() { return m_sig1; }
    TSignalSettings &SignalSettingsCh2() { return m_sig2; }

    float ValueCh1() const { return m_value1; }
    float ValueCh2() const { return m_value2; }
    int DigitCh1() const { return m_digit1; }
    int DigitCh2() const { return m_digit2; }
    void SetValueCh1(float v);
    void SetValueCh2(float v);
    void SetDigitCh1(int d);
    void SetDigitCh2(int d);

    int TimeScale() const { return m_timeScale; }
    void SetTimeScale(int minutes); // 0 or less is ignored
    bool Flow() const { return m_flow; }
    void SetFlow(bool on);

    QColor BkColor() const { return m_style.background; }
    QColor GridColor() const { return m_style.grid; }
    QColor TimeLineColor() const { return m_style.timeLine; }
    QColor SignalColorCh1() const { return m_style.trace1; }
    QColor SignalColorCh2() const { return m_style.trace2; }
    TTrendOptions Options() const { return m_options; }
    void SetBkColor(const QColor &c);
    void SetGridColor(const QColor &c);
    void SetTimeLineColor(const QColor &c);
    void SetSignalColorCh1(const QColor &c);
    void SetSignalColorCh2(const QColor &c);
    void SetOptions(TTrendOptions o);

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &text);
    QFont CaptionFont() const { return m_captionFont; }
    void SetCaptionFont(const QFont &f);

    // Where the plot goes in the widget; the picture is resized (and the chart
    // restarted) whenever this size changes.
    QRect PlotRect();
    // The picture as it stands now (a dormant chart draws its missed ticks first).
    const TTrendPlot &Plot()
    {
        catchUp();
        PlotRect();
        return m_plot;
    }
    // Interval the chart is registered with right now (200 ms until the first tick for slow charts).
    int RegisteredInterval() const { return m_registeredInterval; }
    int Restarts() const { return m_restarts; }

    void SetFlashTimer(TFlashTimer *timer);
    TFlashTimer *FlashTimer() const;
    // Clock text source for the time labels; the local time of day unless set.
    void SetClock(std::function<QTime()> clock) { m_clock = std::move(clock); }
    // How fast the time the chart shows runs against the wall clock: 1 live, the replay's speed in a
    // replay. At 16x the ticks come sixteen times as often (down to the flash timer's beat), so a
    // division still spans the time its label says and a replayed trace keeps its live shape.
    double TimeRate() const { return m_rate; }
    void SetTimeRate(double rate);
    // Wall-clock time between two ticks at the present rate.
    int TickInterval() const;

    void PeriodicTick(int lateMs) override;
    // While hidden with nothing new to draw the chart leaves the flash timer
    // and draws the ticks it missed when it is shown or given a new value.
    bool Dormant() const { return m_dormant; }

    QSize sizeHint() const override { return {480, 300}; }
    QSize minimumSizeHint() const override { return {MinSide, MinSide}; }

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    struct Layout {
        QRect frame;   // inside the outer bevel
        QRect caption;
        QRect legend;
        QRect scale1;
        QRect scale2;
        QRect plotFrame; // plot plus the inner bevel
        QRect plot;
    };
    Layout computeLayout() const;
    int scaleWidth(const TSignalSettings &s) const;
    void restart();
    void settingsChanged();
    void registerWithTimer();
    void catchUp();
    void drawTick(const QString &clock);
    void refreshAccessible();
    QString clockText() const;
    int deviceScale() const;
    void drawScale(QPainter &p, const QRect &r, const TSignalSettings &s, bool left) const;
    void drawLegend(QPainter &p, const QRect &r) const;
    void drawBevel(QPainter &p, const QRect &r, bool raised) const;

    TSignalSettings m_sig1;
    TSignalSettings m_sig2;
    float m_value1 = 0;
    float m_value2 = 0;
    int m_digit1 = 700;
    int m_digit2 = 300;
    int m_timeScale = 5;
    bool m_flow = true;
    TTrendOptions m_options = AllOptions;
    TTrendPlot::Style m_style;
    QString m_caption;
    QFont m_captionFont;
    TTrendPlot m_plot;
    QRect m_plotRect;
    int m_registeredInterval = 0;
    bool m_firstTickPending = false;
    bool m_painting = false;
    bool m_dormant = false;
    qint64 m_lastDue = 0; // flash timer clock: when the last tick drawn was due
    int m_restarts = 0;
    double m_rate = 1.0;
    QPointer<TFlashTimer> m_timer;
    std::function<QTime()> m_clock;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TMiniTrend::TTrendOptions)
