#include "app/PlaceholderSwitch.h"

PlaceholderSwitch::PlaceholderSwitch(const QString &textOn, const QString &textOff, QWidget *parent)
    : QPushButton(textOff, parent), m_textOn(textOn), m_textOff(textOff)
{
    setCheckable(true);
    setMinimumSize(88, 30);
    connect(this, &QPushButton::toggled, this, &PlaceholderSwitch::showState);
}

void PlaceholderSwitch::setTextOn(const QString &text)
{
    m_textOn = text;
    showState();
}

void PlaceholderSwitch::setTextOff(const QString &text)
{
    m_textOff = text;
    showState();
}

void PlaceholderSwitch::showState()
{
    setText(isChecked() ? m_textOn : m_textOff);
}
