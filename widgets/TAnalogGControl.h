#pragma once

#include "widgets/TFlashTimer.h"
#include "widgets/TMinMax.h"
#include "widgets/TSectorSettings.h"
#include "widgets/TSignalSettings.h"

#include <QDateTime>
#include <QFlags>
#include <QPointer>
#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>

// Parts of a display widget that are drawn. Each kind accepts its own subset.
enum TGOption : unsigned {
    opBevelInner = 1u << 0,
    opBevelOuter = 1u << 1,
    opName1 = 1u << 2,
    opName2 = 1u << 3,
    opUnit = 1u << 4,
    opValue = 1u << 5,
    opOverflow = 1u << 6,
    opLimit = 1u << 7,
    opSector = 1u << 8,
    opUseSectorCol = 1u << 9, // bar: fill in the colour of the current sector
    opBidir = 1u << 10,       // bar: fill from the middle of the scale
};
Q_DECLARE_FLAGS(TGOptions, TGOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGOptions)

// Lines of the automatic hint.
enum THintOption : unsigned {
    hoAutoHint = 1u << 0,
    hoValue = 1u << 1,
    hoMin = 1u << 2,
    hoMax = 1u << 3,
    hoName1 = 1u << 4,
    hoName2 = 1u << 5,
    hoMinMaxDate = 1u << 6,
    hoMinMaxTime = 1u << 7,
};
Q_DECLARE_FLAGS(THintOptions, THintOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(THintOptions)

enum class TRangeState { Inside, Over, Under };

// Common state of every display widget: the value mapped onto the signal's positions and the per-mille
// scale, the colour sector it lies in, limit and range alarms, minimum/maximum memory and the hint.
// Kinds only draw; everything a state means is decided here.
class TAnalogGControl : public QWidget, public TFlashClient
{
    Q_OBJECT
public:
    explicit TAnalogGControl(QWidget *parent = nullptr);
    ~TAnalogGControl() override;

    TSignalSettings &SignalSettings() { return m_signal; }
    const TSignalSettings &SignalSettings() const { return m_signal; }
    TSectorSettings &SectorSettings() { return m_sectors; }
    const TSectorSettings &SectorSettings() const { return m_sectors; }
    TMinMax &MinMax() { return m_minMax; }
    const TMinMax &MinMax() const { return m_minMax; }

    float Value() const { return m_value; }
    void SetValue(float value);
    int Digit() const { return m_digit; }

    float LimitUpper() const { return m_limitUpper; }
    float LimitLower() const { return m_limitLower; }
    // An equal limit is ignored; a lower limit of 0 is kept as 0.0001.
    void SetLimitUpper(float limit);
    void SetLimitLower(float limit);

    TGOptions Options() const { return m_options; }
    // Options this kind does not know are dropped.
    void SetOptions(TGOptions options);
    TGOptions SupportedOptions() const { return m_supported; }

    THintOptions HintOptions() const { return m_hintOptions; }
    void SetHintOptions(THintOptions options);
    // Lines joined by "\r", as built by the automatic hint. Values arrive far more often than anyone
    // reads the hint, so it is put together when read.
    const QString &Hint() const;
    // The hint as the tooltip shows it; QWidget::toolTip() is brought up to date on the tooltip event.
    QString toolTip() const;

    // Per-mille position of the value, not limited; PerMilleDrawn() is limited to 0..1000.
    int PerMille() const { return m_perMille; }
    int PerMilleDrawn() const;
    bool UpperViolated() const { return m_upperViolated; }
    bool LowerViolated() const { return m_lowerViolated; }
    TRangeState RangeState() const { return m_range; }
    // Number of the sector the value lies in (0 when none ever held it) and its colour.
    int CurrentSector() const { return m_sector; }
    const QColor &SectorColor() const { return m_sectorColor; }
    const QString &ValueText() const { return m_valueText; }
    const QString &DigitText() const { return m_digitText; }

    // Alarm mark: blinking while the kind's alarm condition holds.
    bool Blinking() const { return m_blinking; }
    bool AlarmPhase() const { return m_alarmPhase; }
    // clRed / clYellow by phase while blinking, the quiet colour otherwise.
    QColor AlarmColor() const;

    // The program uses the shared timer; tests hand in their own.
    void SetFlashTimer(TFlashTimer *timer);
    // Source of the moments stored with the extremes.
    void SetClock(std::function<QDateTime()> clock);

    void FlashPhase(bool on) override;

    static QColor clRed() { return QColor(0xFF, 0x00, 0x00); }
    static QColor clYellow() { return QColor(0xFF, 0xFF, 0x00); }

    QSize minimumSizeHint() const override;

    // With layers off every part is drawn on each paint, as for a printer; on by default.
    bool Layered() const { return m_layered; }
    void SetLayered(bool on);

signals:
    void OnValueChange();
    void OnLimit(bool upperViolated, bool lowerViolated);
    void OnOverflow(TRangeState state);
    void OnSectorChange(int sector, bool entered);
    void OnMinMaxChange();
    void OnSettingsChange();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;

    // Drawing in layers. Everything a kind draws that does not follow the value goes into a cached
    // pixmap at the target's pixel ratio, rebuilt only when something it shows changes; each paint
    // copies it and draws the moving parts over it. `slot` picks one of a few layers of a kind, `key`
    // carries whatever else the layer depends on (a text width, a colour).
    static constexpr int LayerSlots = 2;
    // Forgets the layers and repaints; kinds call it from setters of what their layers show.
    void InvalidateLayers();
    // Starts a paint: whether the painter's device takes layer copies pixel for pixel. When it does
    // not (a rotated or oddly scaled painter), kinds draw everything straight onto it.
    bool BeginLayers(const QPainter &painter);
    // Draws layer `slot` over the whole widget (or, uncached, `draw` itself onto the painter).
    void PaintLayer(QPainter &painter, int slot, quint64 key, const std::function<void(QPainter &)> &draw);
    // Makes layer `slot` current without drawing it, for copying parts of it.
    void PrepareLayer(int slot, quint64 key, const std::function<void(QPainter &)> &draw);
    // Copies the whole device pixels `deviceRect` of a current layer onto the painter at the same place.
    void CopyFromLayer(QPainter &painter, int slot, const QRect &deviceRect) const;
    // Device pixel ratio of the present paint, 0 when it draws uncached.
    qreal LayerRatio() const { return m_paintRatio; }
    // Which parts one run of a kind's drawing puts down.
    // Full is the layer with a fill drawn at its full extent, for copying the part the value covers.
    enum class TDrawPass { Layer, Full, Moving };
    // The usual paint of a layered kind: layer 0 from its Layer pass, then the Moving pass over it.
    void PaintLayered(QPainter &painter, const std::function<void(QPainter &, TDrawPass)> &draw);
    // Bevels and face, put down by the passes that draw a layer; the face's rectangle either way.
    QRectF FrameAndFace(QPainter &painter, TDrawPass pass) const;
    // A fill that runs from `span`'s one end to the other along `along`: whole device rows (columns)
    // inside it come from layer `slot`, which holds the fill at its full extent; the partly covered
    // rows at its ends are drawn by `exact`, clipped to them, so antialiased ends stay as they were.
    void PaintSpanFromLayer(QPainter &painter, int slot, const QRectF &span, Qt::Orientation along,
                            const std::function<void(QPainter &)> &exact);

    void SetSupportedOptions(TGOptions supported);
    // Whether this kind's alarm mark blinks in the present state; none by default.
    virtual bool AlarmWanted() const { return false; }
    // The meters' rule: out of range with opOverflow, or a limit violated with opLimit.
    bool MeterAlarmCondition() const;
    // Re-checks the alarm after a kind changed something its condition reads.
    void RefreshAlarm() { updateAlarm(); }
    virtual QColor QuietAlarmColor() const;

    // Shared drawing.
    QRect DrawBevels(QPainter &painter, QRect rect) const;
    // The rectangle DrawBevels() leaves inside, without drawing.
    QRect InsideBevels(QRect rect) const;
    QColor ColorAtPerMille(double perMille) const;
    static QColor FaceColor() { return QColor(0x1c, 0x20, 0x26); }
    static QColor InkColor() { return QColor(0xe8, 0xea, 0xed); }
    void DrawMark(QPainter &painter, const QRectF &rect, const QColor &color) const;
    void FillFace(QPainter &painter, const QRectF &rect, qreal radius = 3.0) const;
    // Colour of a remembered extreme's mark.
    QColor ExtremeColor(float value, bool isMax) const;
    // Text in a box, shrinking the font until it fits the box's width.
    static void DrawFittedText(QPainter &painter, const QRectF &box, int flags, const QString &text,
                               qreal pixelSize, const QColor &color, bool bold = false);

private:
    void remap();
    void updateSector(bool notify);
    void updateLimits(bool notify);
    void updateRange(bool notify);
    void updateAlarm();
    void updateHint();
    void buildHint() const;
    void syncToolTip();
    TFlashTimer *flashTimer() const;
    QPixmap &layerFor(int slot, quint64 key, const std::function<void(QPainter &)> &draw);

    TSignalSettings m_signal;
    TSectorSettings m_sectors;
    TMinMax m_minMax;

    float m_value = 50.0f;
    int m_digit = 500;
    float m_limitUpper = 90.0f;
    float m_limitLower = 10.0f;
    TGOptions m_options;
    TGOptions m_supported;
    THintOptions m_hintOptions = THintOptions(0xFFu);
    mutable QString m_hint;
    mutable bool m_hintDirty = false;
    // QWidget's tooltip lags the hint until someone is about to see it.
    bool m_toolTipStale = false;
    // Extremes as of the last hint update: a reset does not update the hint, so a hint still to be
    // built must show the extremes from before it.
    float m_hintMin = 0.0f;
    float m_hintMax = 0.0f;
    QDateTime m_hintMinTime;
    QDateTime m_hintMaxTime;

    int m_perMille = 500;
    std::array<bool, TSectorSettings::Count> m_inSector{};
    int m_sector = 0;
    QColor m_sectorColor;
    bool m_upperViolated = false;
    bool m_lowerViolated = false;
    TRangeState m_range = TRangeState::Inside;
    QString m_valueText;
    QString m_digitText;

    bool m_blinking = false;
    bool m_alarmPhase = false;
    QPointer<TFlashTimer> m_flashTimer;
    QPointer<TFlashTimer> m_registeredWith;
    std::function<QDateTime()> m_clock;

    struct Layer
    {
        QPixmap pixmap;
        qreal ratio = 0.0;
        quint64 key = 0;
        bool valid = false;
    };
    std::array<Layer, LayerSlots> m_layers;
    qreal m_paintRatio = 0.0;
    bool m_layered = true;
};
