// Cost of ApplySettingsFrame on the real main window (offscreen, shown, on
// the "Panel Petrol" tab): the link hands over a complete settings answer
// and every settings control, the cylinder LEDs, the fault list and the
// chart scale are set. Blocks alternate so that every control changes each
// time; painting runs between two blocks and is not counted.
//
//   bench_settings [--blocks N]     (default 1000)
#include "SimFrameLog.h"

#include "app/settings/SettingsPanel.h"
#include "app/window/TZENU.h"
#include "app/window/WindowLinkView.h"

#include "link/Session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <cstdio>

namespace {

constexpr double TargetMs = 5.0;

QByteArray block(int n)
{
    QByteArray b(602, '\0');
    b[0] = char(0xAA);
    b[1] = char(602 >> 8);
    b[2] = char(602 & 0xFF);
    b[3] = char(0x66);
    const bool odd = n % 2;
    const int set[][2] = {
        {20, odd ? 0x3F : 0x0F}, {21, odd ? 3 : 0},    {22, odd ? 3 : 1},    {23, odd ? 25 : 12},
        {24, odd ? 70 : 65},     {25, 36 + n % 10},    {26, 76},             {27, 112},
        {28, 143},               {29, odd ? 2 : 0},    {30, 1},              {31, 1},
        {33, 4},                 {34, odd ? 0x8A : 0}, {35, odd ? 50 : 35},  {36, 90 + n % 100},
        {40, 60 + n % 50},       {41, odd ? 45 : 30},  {42, odd ? 20 : 10},  {43, odd ? 30 : 20},
        {45, odd ? 7 : 8},       {558, odd ? 1 : 0},
    };
    for (const auto &[offset, value] : set)
        b[offset] = char(value);
    for (int k = 0; k < 246; ++k)
        b[66 + k] = char(80 + (k + n) % 40);
    for (int i = 561; i < 601; ++i)
        b[i] = char(0xFF);
    b[561] = char(odd ? 0 : 3);
    b[562] = char(odd ? 4 : 0xFF);
    return b;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZENU"));
    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--blocks"));
    const int blocks = at >= 0 && at + 1 < args.size() ? std::max(10, args.at(at + 1).toInt()) : 1000;

    TZENU window(TZENU::PortLister{[] { return QStringList(); }}, [](const QUrl &) { return true; });
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "bench_settings: window not exposed, painting does not run\n");
    window.tab_control->setCurrentIndex(0);

    QList<double> times;
    QElapsedTimer clock;
    for (int n = 0; n < blocks; ++n) {
        const QByteArray answer = block(n);
        clock.start();
        // What the session does once a read-all answer is complete.
        window.session().editableStoredSettings() = answer;
        window.linkView().applySettingsFrame(window.session().storedSettings());
        times << clock.nsecsElapsed() / 1e6;
        QApplication::processEvents();
    }
    const SimFrameLog::Summary s = SimFrameLog::summarize(times);
    std::printf("ApplySettingsFrame on the window (settings answer complete -> all controls set)\n"
                "  samples %d   median %.3f ms   p99 %.3f ms   max %.3f ms   (target <= %.0f ms: %s)\n",
                s.samples, s.median, s.p99, s.max, TargetMs, s.p99 <= TargetMs ? "met" : "MISSED");
    return 0;
}
