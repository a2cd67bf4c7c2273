#pragma once

#include "widgets/TFlashTimer.h"
#include "widgets/TMinMax.h"
#include "widgets/TSectorSettings.h"
#include "widgets/TSignalSettings.h"

#include <QDateTime>
#include <QFlags>
#include <QPointer>
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
    // Lines joined by "\r", as built by the automatic hint.
    const QString &Hint() const { return m_hint; }

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

signals:
    void OnValueChange();
    void OnLimit(bool upperViolated, bool lowerViolated);
    void OnOverflow(TRangeState state);
    void OnSectorChange(int sector, bool entered);
    void OnMinMaxChange();
    void OnSettingsChange();

protected:
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
    TFlashTimer *flashTimer() const;

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
    QString m_hint;

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
};
