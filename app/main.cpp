#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZENU"));
    QMainWindow w;
    w.setWindowTitle(QStringLiteral(" ver. 1.03"));
    w.show();
    return app.exec();
}
