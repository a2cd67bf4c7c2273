#pragma once

#include "widgets/TBinGControl.h"
#include "widgets/TLED.h"

enum TLedPosition { lpLeft, lpRight, lpTop, lpBottom };

// An LED lamp with a caption beside it. Lit shows ColorOn, dark ColorOff;
// while lit and flashing it alternates between the two at its Frequency.
class TLedIndicator : public TBinGControl
{
    Q_OBJECT
public:
    explicit TLedIndicator(QWidget *parent = nullptr);
    TLedIndicator(const QString &caption, QWidget *parent = nullptr);

    TLED &LED() { return m_led; }
    const TLED &LED() const { return m_led; }

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &text);
    TLedPosition LED_Position() const { return m_position; }
    void SetLED_Position(TLedPosition p);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int px);

    // Shortcuts to the lamp, as the window sets them most.
    void SetColorOn(const QColor &c) { m_led.SetColorOn(c); }
    void SetColorOff(const QColor &c) { m_led.SetColorOff(c); }
    void SetShape(TLedShape s) { m_led.SetShape(s); }

    // The colour the lamp shows at this moment.
    QColor ShownColor() const { return ShowsOn() ? m_led.ColorOn() : m_led.ColorOff(); }
    // Where the lamp and the caption go inside the widget's rectangle.
    QRect LampRect() const;
    QRect CaptionRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    void layoutChanged();

    TLED m_led;
    QString m_caption;
    TLedPosition m_position = lpLeft;
    int m_spacing = 5;
};
