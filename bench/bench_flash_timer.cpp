// One beat of the shared flash timer with the window's two-state widgets
// registered: 8 injector LEDs, 2 reserve LEDs, 8 level LEDs and the two
// switches, all lit and flashing (the worst case), plus the scope chart as a
// periodic client. Painting is not included (widgets are not shown); what is
// measured is the walk, the phase changes and the update requests.
#include "widgets/TFlashTimer.h"
#include "widgets/TLedIndicator.h"
#include "widgets/TMiniTrend.h"
#include "widgets/TToggleSwitch.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

void BM_FlashTimerBeat(benchmark::State &state)
{
    TFlashTimer timer;
    qint64 now = 0;
    timer.SetAutoTick(false);
    timer.SetClock([&now] { return now; });

    std::vector<std::unique_ptr<TBinGControl>> widgets;
    for (int i = 0; i < 18; ++i)
        widgets.push_back(std::make_unique<TLedIndicator>(QString::number(i)));
    widgets.push_back(std::make_unique<TToggleSwitch>());
    widgets.push_back(std::make_unique<TToggleSwitch>());
    const TFrequency rates[] = {ff8Hz, ff4Hz, ff2Hz, ff1Hz, ff05Hz};
    int k = 0;
    for (auto &w : widgets) {
        w->SetFlashTimer(&timer);
        w->SetFrequency(rates[k++ % 5]);
        w->SetFlashing(true);
        w->SetChecked(true);
    }
    TMiniTrend scope;
    scope.SetFlashTimer(&timer);
    scope.show(); // a hidden chart leaves the timer until it is shown again

    for (auto _ : state) {
        now += TFlashTimer::BeatMs;
        timer.Tick();
    }
    state.counters["clients"] = timer.ClientCount();
}
BENCHMARK(BM_FlashTimerBeat);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
