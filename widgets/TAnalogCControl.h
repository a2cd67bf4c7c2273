#pragma once

#include "widgets/TQuietTimer.h"
#include "widgets/TSignalSettings.h"

#include <QColor>
#include <QFlags>
#include <QWidget>

#include <memory>

// Keys an input control answers to.
enum TEnabledKey : unsigned {
    _VK_PRIOR = 1u << 0,
    _VK_NEXT = 1u << 1,
    _VK_END = 1u << 2,
    _VK_HOME = 1u << 3,
    _VK_LEFT = 1u << 4,
    _VK_DOWN = 1u << 5,
    _VK_UP = 1u << 6,
    _VK_RIGHT = 1u << 7,
};
Q_DECLARE_FLAGS(TEnabledKeys, TEnabledKey)
Q_DECLARE_OPERATORS_FOR_FLAGS(TEnabledKeys)

// An analog input control (dial, slider). It moves in whole positions of its signal, so its value always
// lies on the grid of positions. OnValueChange fires for every change of position, also one made by the
// program; OnValueChanged fires when the user lets go of a key or the left button while the changed mark
// is set. Every change of position sets the mark, so the first release after the program has set a value
// reports that value even if the user moved nothing. The wheel has no release: a turn ends when the wheel
// has been still for WheelPauseMs, so a turn of several notches is reported once.
class TAnalogCControl : public QWidget
{
    Q_OBJECT
public:
    static constexpr int WheelPauseMs = 400;

    explicit TAnalogCControl(QWidget *parent = nullptr);
    ~TAnalogCControl() override;

    TSignalSettings &SignalSettings() { return m_signal; }
    const TSignalSettings &SignalSettings() const { return m_signal; }

    float Value() const { return m_value; }
    int Digit() const { return m_digit; }
    // Limited to the scale, then moved to the nearest position.
    void SetValue(float value);
    void SetDigit(int position);
    // A value set in one piece by the user from outside the control (assistive technology): it is
    // a finished change, reported at once.
    void SetValueByUser(float value);
    // Replaces the timer that ends a wheel turn.
    void SetWheelTimer(std::unique_ptr<TQuietTimer> timer);
    const TQuietTimer &WheelTimer() const { return *m_wheelTimer; }

    int ChangeLarge() const { return m_changeLarge; }
    int ChangeSmall() const { return m_changeSmall; }
    void SetChangeLarge(int positions) { m_changeLarge = positions; }
    void SetChangeSmall(int positions) { m_changeSmall = positions; }
    TEnabledKeys EnabledKeys() const { return m_enabledKeys; }
    void SetEnabledKeys(TEnabledKeys keys) { m_enabledKeys = keys; }
    bool KeyboardEnabled() const { return m_keyboardEnabled; }
    void SetKeyboardEnabled(bool on) { m_keyboardEnabled = on; }
    const QColor &FocusColor() const { return m_focusColor; }
    const QColor &NonFocusColor() const { return m_nonFocusColor; }
    void SetFocusColor(const QColor &color);
    void SetNonFocusColor(const QColor &color);

    // While the window is being built, position changes do not fire OnValueChange.
    bool Loading() const { return m_loading; }
    void SetLoading(bool on) { m_loading = on; }

    bool ChangedMark() const { return m_changed; }
    const QString &ValueText() const { return m_valueText; }
    const QString &DigitText() const { return m_digitText; }

signals:
    void OnValueChange();
    void OnValueChanged();

protected:
    // Where a left press starts dragging (dial face, slider track).
    virtual bool OnActivePart(const QPointF &pos) const = 0;
    virtual void DragStart(const QPointF &pos) = 0;
    virtual void DragMove(const QPointF &pos) = 0;

    // Position after a step, limited to the range.
    int Clamped(long long position) const;
    QColor IndicatorColor() const { return hasFocus() ? m_focusColor : m_nonFocusColor; }
    bool Dragging() const { return m_dragging; }

    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void remap();
    void refreshTexts();
    void reportRelease();

    TSignalSettings m_signal;
    float m_value = 0.0f;
    int m_digit = 0;
    int m_changeLarge = 10;
    int m_changeSmall = 1;
    TEnabledKeys m_enabledKeys = TEnabledKeys(0xFFu);
    bool m_keyboardEnabled = true;
    QColor m_focusColor = QColor(0x00, 0xFF, 0x00);
    QColor m_nonFocusColor = QColor(0x00, 0x80, 0x00);
    bool m_loading = false;
    bool m_changed = false;
    bool m_dragging = false;
    bool m_leftPressed = false;
    int m_wheelAccumulated = 0;
    std::unique_ptr<TQuietTimer> m_wheelTimer;
    QString m_valueText;
    QString m_digitText;
};
