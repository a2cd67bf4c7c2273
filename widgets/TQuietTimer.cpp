#include "widgets/TQuietTimer.h"

TQtQuietTimer::TQtQuietTimer(int ms)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(ms);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (OnQuiet)
            OnQuiet();
    });
}
