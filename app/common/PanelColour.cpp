#include "app/common/PanelColour.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPalette>
#include <QWidget>

void setPanelColour(QWidget *panel, const QColor &colour)
{
    if (!panel)
        return;
    // Setting the same colour again changes nothing, the palette included.
    for (QAbstractButton *button : panel->findChildren<QAbstractButton *>()) {
        QPalette own = button->palette();
        own.setColor(QPalette::Window, QApplication::palette(button).color(QPalette::Window));
        button->setPalette(own);
    }
    // A group box is transparent by default; the colour is the state signal.
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    panel->setPalette(pal);
}
