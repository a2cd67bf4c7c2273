#pragma once

#include "app/window/TZENU.h"

#include <QByteArray>
#include <QRadioButton>
#include <QStringList>
#include <QTabWidget>

#include <algorithm>

// What the benchmarks on the real main window share: their numeric options,
// a live answer whose values move from frame to frame, and the scope view
// they measure with.
namespace LiveWindowBench {

constexpr int PollCode = 0x55;

// `--name N` from the command line, at least `least`; `fallback` without it.
inline int argument(const QStringList &args, const char *name, int fallback, int least)
{
    const qsizetype at = args.indexOf(QString::fromLatin1(name));
    if (at >= 0 && at + 1 < args.size())
        return std::max(least, args.at(at + 1).toInt());
    return fallback;
}

// A 57-byte live answer whose values move from frame to frame.
inline QByteArray movingFrame(int n)
{
    QByteArray f(57, char(0xFF));
    const int set[][2] = {
        {0, 0xAA}, {1, 0}, {2, 57}, {3, PollCode}, {4, 1}, {5, n % 2},
        {6, 20 + n % 20}, {7, 0}, {8, 22 + n % 17}, {9, 0}, {10, 25}, {11, 0}, {12, 27}, {13, 0},
        {18, 0}, {19, 10 + n % 9}, {20, n % 200}, {21, 7 + n % 30}, {22, (n * 7) % 64},
        {23, 0}, {24, 90 + n % 20}, {25, 0}, {26, 30 + n % 60}, {29, 215}, {30, 60 + n % 100},
        {31, n % 6}, {32, 60 + n % 30}, {33, 20 + n % 30},
        // Faults on every other frame: the list and the banner both change.
        {34, (n % 2) ? 0xE8 : 0xFF}, {35, (n % 4 == 1) ? 0xFE : 0xFF}, {48, 0xFF},
        {36, (n * 3) % 256}, {38, n % 256}, {40, 1}, {41, 2}, {42, 3}, {44, 4}, {46, 5}, {47, n % 3},
        {51, 0}, {52, 0}, {53, 0}, {54, 0}, {55, (n * 5) % 50},
    };
    for (const auto &[offset, value] : set)
        f[offset] = char(value);
    return f;
}

// "Oscyloskop" shown with the MAP/P1 view running.
inline void prepareScope(TZENU &window)
{
    window.tab_control->setCurrentWidget(window.component(QStringLiteral("TabSheet7")));
    window.component<QRadioButton>(QStringLiteral("OSC_MAP_P1"))->click();
}

} // namespace LiveWindowBench
