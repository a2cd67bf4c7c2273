#pragma once

#include "widgets/TFlashTimer.h"

#include <QPointer>
#include <QWidget>

// Two repeating buttons stacked: up in the upper half, down in the lower.
// Held down, a half clicks once StartDelay has passed and then every
// Interval; letting go clicks once more, so a short press gives one click.
class TSpinButton : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MinWidth = 15;
    static constexpr int MinInterval = 50;

    explicit TSpinButton(QWidget *parent = nullptr);
    ~TSpinButton() override;

    int StartDelay() const { return m_startDelay; }
    int Interval() const { return m_interval; }
    QWidget *FocusControl() const { return m_focusControl; }

    void SetStartDelay(int ms);
    // Values below 50 ms are ignored.
    void SetInterval(int ms);
    void SetFocusControl(QWidget *w) { m_focusControl = w; }

    // Which half is held down: 0 none, +1 up, -1 down.
    int HeldHalf() const { return m_held; }

    void SetFlashTimer(TFlashTimer *timer);
    TFlashTimer *FlashTimer() const;

    QSize sizeHint() const override { return {MinWidth, 24}; }
    QSize minimumSizeHint() const override { return {MinWidth, 12}; }

signals:
    void OnUpClick();
    void OnDownClick();

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void changeEvent(QEvent *e) override;
    void hideEvent(QHideEvent *e) override;

private:
    struct Half : TFlashClient {
        TSpinButton *owner = nullptr;
        int direction = 0;
        void PeriodicTick(int lateMs) override;
    };

    void fire(int direction);
    void stopRepeat();
    void takeFocus();
    void refreshAccessible();
    int halfAt(const QPointF &pos) const { return pos.y() < height() / 2.0 ? +1 : -1; }

    Half m_up;
    Half m_down;
    int m_startDelay = 500;
    int m_interval = 100;
    int m_held = 0;
    qint64 m_pressedAt = 0;
    QPointer<QWidget> m_focusControl;
    QPointer<TFlashTimer> m_timer;
};
