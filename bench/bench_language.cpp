// One language switch on the whole window as the user makes it from the
// "Język" menu: every text of the table put into its control, the key stored,
// and (second figure) the relayout and repaint of the window that follows.
// The wall time includes the store's write to disk; the CPU time is the
// switch's own work.
#include "app/window/LanguageView.h"
#include "app/window/TZENU.h"

#include "i18n/LanguageTable.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Window
{
    Window()
    {
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        zenu = std::make_unique<TZENU>([] { return QStringList{}; }, [](const QUrl &) { return true; });
        zenu->show();
        QApplication::processEvents();
    }

    QAction *item(const char *key) const { return zenu->Jazyk->findChild<QAction *>(QString::fromLatin1(key)); }

    QTemporaryDir config;
    std::unique_ptr<TZENU> zenu;
};

// German and Czech in turn, so every round changes every text that differs.
void BM_LanguageSwitch(benchmark::State &state)
{
    Window w;
    const bool repaint = state.range(0) != 0;
    QAction *languages[] = {w.item("NiemieckiDE"), w.item("Ceski")};
    int i = 0;
    for (auto _ : state) {
        languages[i++ % 2]->trigger();
        if (repaint)
            QApplication::processEvents();
    }
}
BENCHMARK(BM_LanguageSwitch)->Arg(0)->Arg(1)->ArgName("with_repaint")->Unit(benchmark::kMillisecond);

// Only the texts put into the controls, without the key written to the
// settings store (which waits for the disk).
void BM_ApplyTexts(benchmark::State &state)
{
    Window w;
    const LanguageTable table = LanguageTable::builtIn();
    const LanguageView view(w.zenu.get());
    const int columns[] = {LanguageTable::German, LanguageTable::Czech};
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(view.apply(table, columns[i++ % 2]));
}
BENCHMARK(BM_ApplyTexts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
