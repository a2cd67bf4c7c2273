// Gallery of the instrument widgets.
//   zenu-gallery [--tab N|title] [--screenshot file.png] [--delay ms]
// With --screenshot the window grabs itself after the delay (default 1500 ms)
// and quits, so pages can be reviewed on a headless machine.
#include "GalleryPage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMainWindow>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

std::vector<GalleryPage> &GalleryPages()
{
    static std::vector<GalleryPage> pages;
    return pages;
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zenu-gallery"));

    QCommandLineParser cli;
    cli.addHelpOption();
    QCommandLineOption tabOpt(QStringLiteral("tab"), QStringLiteral("Page to show (index or title)."), QStringLiteral("page"));
    QCommandLineOption shotOpt(QStringLiteral("screenshot"), QStringLiteral("Save the window as PNG and quit."),
                               QStringLiteral("file"));
    QCommandLineOption delayOpt(QStringLiteral("delay"), QStringLiteral("Milliseconds before the screenshot."),
                                QStringLiteral("ms"), QStringLiteral("1500"));
    cli.addOption(tabOpt);
    cli.addOption(shotOpt);
    cli.addOption(delayOpt);
    cli.process(app);

    auto pages = GalleryPages();
    std::stable_sort(pages.begin(), pages.end(), [](const GalleryPage &a, const GalleryPage &b) { return a.order < b.order; });

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("ZENU widget gallery"));
    auto *tabs = new QTabWidget;
    for (const GalleryPage &p : pages) {
        auto *scroll = new QScrollArea;
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(p.make());
        tabs->addTab(scroll, p.title);
    }
    window.setCentralWidget(tabs);
    window.resize(1200, 760);

    if (cli.isSet(tabOpt)) {
        bool isIndex = false;
        const int index = cli.value(tabOpt).toInt(&isIndex);
        if (isIndex)
            tabs->setCurrentIndex(index);
        else
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->tabText(i).compare(cli.value(tabOpt), Qt::CaseInsensitive) == 0)
                    tabs->setCurrentIndex(i);
    }
    window.show();

    if (cli.isSet(shotOpt)) {
        const QString file = cli.value(shotOpt);
        QTimer::singleShot(cli.value(delayOpt).toInt(), &window, [&window, file] {
            window.grab().save(file);
            QApplication::quit();
        });
    }
    return app.exec();
}
