#pragma once

#include "widgets/TSwitch.h"

#include <QColor>
#include <QFont>
#include <QSizeF>
#include <QString>
#include <QStringList>

// The window's toggle switch: a lever in one half, the state's text on the
// state's colour in the other. Text and colour always follow Checked.
class TToggleSwitch : public TSwitch
{
    Q_OBJECT
public:
    explicit TToggleSwitch(QWidget *parent = nullptr);

    QString TextOn() const { return m_textOn; }
    QString TextOff() const { return m_textOff; }
    QColor ColorOn() const { return m_colorOn; }
    QColor ColorOff() const { return m_colorOff; }
    QColor ButtonColor() const { return m_buttonColor; }

    void SetTextOn(const QString &t);
    void SetTextOff(const QString &t);
    void SetColorOn(const QColor &c);
    void SetColorOff(const QColor &c);
    void SetButtonColor(const QColor &c);

    QString ShownText() const { return Checked() ? m_textOn : m_textOff; }

    // How a caption is set on a face of `room`: one line as large as fits; a
    // caption that would need a size below ReadablePixels on one line goes on
    // two lines broken at a space, when that is larger; what fits nowhere is
    // cut at the end ("…") in the smallest size.
    struct Caption
    {
        QStringList lines;
        int pixelSize = 0;
    };
    static constexpr int ReadablePixels = 10;
    static Caption FitCaption(const QString &text, QFont font, const QSizeF &room);
    QColor ShownColor() const { return Checked() ? m_colorOn : m_colorOff; }

protected:
    void paintEvent(QPaintEvent *e) override;
    QString AccessibleStateText() const override;
    void StateShown() override;

private:
    void changed();

    QString m_textOn = QStringLiteral("1");
    QString m_textOff = QStringLiteral("0");
    QColor m_colorOn{0x00, 0xFF, 0x00};
    QColor m_colorOff{0xFF, 0x00, 0x00};
    QColor m_buttonColor;
};
