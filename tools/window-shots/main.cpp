// Shows the program's window on the current screen and saves a picture of
// the whole screen for every tab in every chosen language, so that texts cut
// off by their controls and parts of the window off the screen can be seen.
//
//   zenu-window-shots OUTDIR [PREFIX] [LANGUAGE_KEY ...]
//
// Pictures are named PREFIX-KEY-NN-PAGE.png. Without keys, the four
// languages the user can choose. Run it in a throw-away settings store: it
// stores the language it shows last.
#include "app/window/TZENU.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <QUrl>

namespace {

// Lets the window lay itself out and paint, as the event loop would.
void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Every list shows its longest entry, so an entry that does not fit shows.
void showLongestItems(TZENU &window)
{
    for (QComboBox *combo : window.findChildren<QComboBox *>()) {
        int longest = -1;
        for (int i = 0; i < combo->count(); ++i) {
            if (longest < 0 || combo->itemText(i).size() > combo->itemText(longest).size())
                longest = i;
        }
        combo->setCurrentIndex(longest);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    QTextStream err(stderr);
    if (args.isEmpty()) {
        err << "usage: zenu-window-shots OUTDIR [PREFIX] [LANGUAGE_KEY ...]\n";
        return 2;
    }
    const QDir out(args.at(0));
    if (!QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }
    const QString prefix = args.size() > 1 ? args.at(1) : QStringLiteral("shot");
    QStringList keys = args.mid(2);
    if (keys.isEmpty())
        keys = {QStringLiteral("PolskiPL"), QStringLiteral("NiemieckiDE"), QStringLiteral("AngielskiGB"),
                QStringLiteral("Ceski")};

    TZENU window({}, [](const QUrl &) { return true; });
    window.show();
    settle(400);
    QScreen *screen = window.screen();
    QTextStream log(stdout);
    log << "screen " << screen->size().width() << "x" << screen->size().height() << " (scale "
        << screen->devicePixelRatio() << "), window " << window.width() << "x" << window.height() << ", minimum "
        << window.minimumSizeHint().width() << "x" << window.minimumSizeHint().height() << "\n";

    int failures = 0;
    for (const QString &key : keys) {
        auto *item = window.Jazyk->findChild<QAction *>(key);
        if (!item) {
            err << "no language item " << key << "\n";
            ++failures;
            continue;
        }
        item->trigger();
        showLongestItems(window);
        settle(100);
        log << key << ": window minimum " << window.minimumSizeHint().width() << "x"
            << window.minimumSizeHint().height() << "\n";
        log.flush();
        for (int i = 0; i < window.tab_control->count(); ++i) {
            window.tab_control->setCurrentIndex(i);
            settle(250);
            const QString page = window.tab_control->widget(i)->objectName();
            const QString file =
                out.filePath(QStringLiteral("%1-%2-%3-%4.png").arg(prefix, key).arg(i + 1, 2, 10, QLatin1Char('0')).arg(page));
            if (!screen->grabWindow(0).save(file)) {
                err << "cannot save " << file << "\n";
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
