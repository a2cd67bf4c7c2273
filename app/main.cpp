#include "app/TZENU.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZENU"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZENU"));

    TZENU window;
    window.show();
    return app.exec();
}
