// The instruments as the window builds them (the top panel `Panel1Gora`, the
// "Przełącznik" tab with its level lamps, the scope): how long a full repaint
// of the top panel takes, and what one beat of the program's flash timer costs
// with the window's lamps registered and blinking.
#include "app/live/MonitoringTabs.h"
#include "app/settings/SwitchTab.h"
#include "app/live/TopPanel.h"

#include "widgets/T270Meter.h"
#include "widgets/TBinGControl.h"
#include "widgets/TFlashTimer.h"
#include "widgets/THMeter.h"
#include "widgets/TThermometer.h"
#include "widgets/TVBar.h"
#include "widgets/TValueInd.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The panel and tabs in a window 1280 pixels wide, shown (off screen) so that
// layouts have run and the widgets have their real sizes.
struct WindowParts
{
    WindowParts()
    {
        auto *l = new QVBoxLayout(&host);
        panel = TopPanel::build(&host).panel;
        l->addWidget(panel);
        auto *tabs = new QHBoxLayout;
        tabs->addWidget(SwitchTab::build(&host).page);
        tabs->addWidget(MonitoringTabs::scope(&host));
        l->addLayout(tabs);
        host.resize(1280, 800);
        host.show();
        QApplication::processEvents();
    }

    template <typename T>
    T *get(const char *name)
    {
        return host.findChild<T *>(QString::fromLatin1(name));
    }

    // Values of an engine idling on gas, so every instrument draws a needle,
    // a bar or a column somewhere inside its scale.
    void showRunningEngine()
    {
        get<T270Meter>("RPM_zegar")->SetValue(0.85f);
        get<TValueInd>("RPM_Edit")->SetValue(850.0f);
        get<TValueInd>("BATERY_vpp")->SetValue(13.9f);
        get<TVBar>("Skala_PB_time")->SetValue(3.1f);
        get<TVBar>("Skala_LPG_time")->SetValue(4.4f);
        get<THMeter>("Slala_P_MAP")->SetValue(34.0f);
        get<THMeter>("Skala_P1_MAP")->SetValue(1.12f);
        get<TThermometer>("TempWoda")->SetValue(72.0f);
        get<TThermometer>("TempGaz")->SetValue(31.0f);
        get<TAnalogGControl>("lambda_1")->SetValue(0.62f);
        get<TAnalogGControl>("lambda_2")->SetValue(0.18f);
    }

    QWidget host;
    QWidget *panel = nullptr;
};

void BM_RepaintTopPanel(benchmark::State &state)
{
    WindowParts parts;
    if (state.range(1))
        parts.showRunningEngine();
    const qreal dpr = qreal(state.range(0));
    QImage image(parts.panel->size() * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    for (auto _ : state) {
        QPainter painter(&image);
        parts.panel->render(&painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = parts.panel->width();
    state.counters["height"] = parts.panel->height();
}
// Device pixel ratio 1 and 2; at rest and with a running engine.
BENCHMARK(BM_RepaintTopPanel)->ArgsProduct({{1, 2}, {0, 1}})->ArgNames({"dpr", "running"})->Unit(benchmark::kMillisecond);

// One poll's worth of new values for every display instrument of the panel, without the repaints:
// what the value path itself costs (mapping, text, sectors, limits, extremes, hint, accessibility).
void BM_UpdateTopPanelValues(benchmark::State &state)
{
    WindowParts parts;
    const auto displays = parts.panel->findChildren<TAnalogGControl *>();
    float step = 0.0f;
    for (auto _ : state) {
        step = step > 0.5f ? 0.0f : step + 0.01f;
        for (TAnalogGControl *w : displays)
            w->SetValue(w->SignalSettings().ValueFrom() + float(w->SignalSettings().Span()) * (0.2f + step));
    }
    state.counters["instruments"] = double(displays.size());
}
BENCHMARK(BM_UpdateTopPanelValues)->Unit(benchmark::kMicrosecond);

// Every lamp and switch of the built parts lit and blinking: the worst case
// for the timer's walk (the program itself blinks only the reserve lamps).
void lightEverything(WindowParts &parts)
{
    for (TBinGControl *b : parts.host.findChildren<TBinGControl *>()) {
        b->SetFlashing(true);
        b->SetChecked(true);
    }
}

void BM_FlashBeat(benchmark::State &state)
{
    WindowParts parts;
    lightEverything(parts);
    TFlashTimer *timer = TFlashTimer::Shared();
    timer->SetAutoTick(false);
    for (auto _ : state)
        timer->Tick();
    state.counters["clients"] = timer->ClientCount();
    timer->SetAutoTick(true);
}
BENCHMARK(BM_FlashBeat);

// The same beat followed by the repaints it asked for, as the event loop
// does them right after the beat in the program.
void BM_FlashBeatWithRepaint(benchmark::State &state)
{
    WindowParts parts;
    lightEverything(parts);
    TFlashTimer *timer = TFlashTimer::Shared();
    timer->SetAutoTick(false);
    for (auto _ : state) {
        timer->Tick();
        QApplication::processEvents();
    }
    state.counters["clients"] = timer->ClientCount();
    timer->SetAutoTick(true);
}
BENCHMARK(BM_FlashBeatWithRepaint)->Unit(benchmark::kMicrosecond);

// The off-screen platform complains about every window it cannot size; that
// noise would bury the figures.
QtMessageHandler g_previousHandler = nullptr;

void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_previousHandler = qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
