#pragma once

#include <QColor>

class QWidget;

// Fills a panel with a colour that signals a state (grey while the link is
// down, yellow while the map is being learned).
//
// The buttons on the panel keep a background colour of their own. The style
// keeps a picture of each button per palette it is drawn with; a button whose
// palette changed with the panel's would leave a new picture in memory at
// every change of state, without end over a long drive.
void setPanelColour(QWidget *panel, const QColor &colour);
