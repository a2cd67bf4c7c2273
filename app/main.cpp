#include "app/TZENU.h"
#include "widgets/CachedFrameStyle.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZENU"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZENU"));
    // The platform's own style, with group box frames kept as pictures so a
    // changing gauge does not redraw the frame behind it from scratch.
    QApplication::setStyle(new CachedFrameStyle);

    TZENU window;
    window.show();
    return app.exec();
}
