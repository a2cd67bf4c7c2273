#pragma once

#include <QPushButton>
#include <QString>

// Stand-in for a two-position toggle switch: a checkable button whose text
// follows its state (on text while checked, off text otherwise).
class PlaceholderSwitch : public QPushButton
{
    Q_OBJECT
public:
    PlaceholderSwitch(const QString &textOn, const QString &textOff, QWidget *parent = nullptr);

    QString textOn() const { return m_textOn; }
    QString textOff() const { return m_textOff; }
    void setTextOn(const QString &text);
    void setTextOff(const QString &text);

private:
    void showState();

    QString m_textOn;
    QString m_textOff;
};
