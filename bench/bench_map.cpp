// The map page's costs: rebuilding both learned curves from full tables
// (done on the UI thread for frames at positions 128..134; goal 100 us), and
// redrawing the map chart with all its series filled, painting included
// (goal 8 ms, one frame at 120 Hz).
#include "app/calibration/CalibrationMapTabs.h"
#include "app/calibration/MapChart.h"
#include "app/calibration/MapPage.h"

#include "calibration/TimeCurves.h"
#include "live/InjectionTimeTables.h"

#include <QApplication>
#include <QChartView>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

// A warm engine's tables: time rising with MAP from 20 to 100 kPa.
TimeCurves::Table engineTable(double slope)
{
    TimeCurves::Table t{};
    for (int i = 20; i <= 100; ++i)
        t[size_t(i)] = uint8_t(std::lround((0.5 + i * slope) * 10));
    return t;
}

void BM_CurveRebuild(benchmark::State &state)
{
    const TimeCurves::Table gas = engineTable(0.09);
    const TimeCurves::Table petrol = engineTable(0.072);
    const int selector = int(state.range(0));
    TimeCurves curves;
    for (auto _ : state)
        benchmark::DoNotOptimize(curves.rebuild(gas, petrol, selector).petrolCurve.data());
}
BENCHMARK(BM_CurveRebuild)->Arg(0)->Arg(3)->ArgName("selector")->Unit(benchmark::kMicrosecond);

void BM_MapRedraw(benchmark::State &state)
{
    std::unique_ptr<QWidget> tab(CalibrationMapTabs::map(nullptr));
    tab->resize(1270, 420);
    tab->show();
    QApplication::processEvents();
    MapPage::Link link;
    link.connected = [] { return true; };
    link.commandPending = [] { return false; };
    link.queue = [](int, const CommandBodies::Group &) {};
    MapPage page(tab.get(), link);

    QByteArray block(602, '\0');
    for (int k = 1; k <= CorrectionMap::Points; ++k)
        block[65 + k] = char(80 + (k % 40));
    page.loadCorrectionMap(block);
    QWidget *box = page.chart().paintBox;
    page.PaintBox1MouseDown(box->width() * 0.15, Qt::LeftButton, Qt::LeftButton, {});
    page.PaintBox1MouseDown(box->width() * 0.45, Qt::LeftButton, Qt::LeftButton, {});

    InjectionTimeTables tables;
    for (int p = 0; p <= 129; p += 3) {
        LiveValues v;
        v.streamPosition = p;
        for (int j = 0; j < LiveValues::TableBytes; ++j) {
            v.petrolTableBytes[size_t(j)] = p + j >= 20 && p + j <= 100 ? uint8_t((0.5 + (p + j) * 0.072) * 10) : 0;
            v.gasTableBytes[size_t(j)] = p + 2 + j >= 20 && p + 2 + j <= 100 ? uint8_t((0.5 + (p + 2 + j) * 0.09) * 10) : 0;
        }
        tables.store(v);
    }
    page.UpdateTimeCurves(0, tables, 3.1, 35); // curves and raw points of both tables

    QChartView *view = page.chart().view;
    QImage image(view->size() * view->devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(view->devicePixelRatio());
    int step = 0;
    for (auto _ : state) {
        // One arrow step's worth: the map changes, the chart is drawn again.
        page.SpinButton1UpClick();
        page.DrawWorkingPoint(3.1 + 0.01 * (step++ % 10), 35);
        QPainter painter(&image);
        view->render(&painter);
    }
}
BENCHMARK(BM_MapRedraw)->Unit(benchmark::kMillisecond);

void quietPlatform(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
