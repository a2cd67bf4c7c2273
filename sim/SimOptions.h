#pragma once

#include "sim/RatioCurve.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

// The simulator's command line.
struct SimOptions
{
    QString comName;        // --com COMn: register the line under this name
    bool select = false;    // --select: also make it the program's port
    QString statePath;      // --state FILE
    std::optional<std::array<uint8_t, 3>> firmware; // --firmware X.Y.Z
    bool pace = false;      // --pace
    bool warm = false;      // --warm
    bool onePiece = false;  // --one-piece: every answer in a single write
    QString logPath;        // --log FILE
    QString scriptPath;     // --script FILE
    QString linkPath;       // --link PATH: a symbolic link to the device
    QStringList faults;     // --fault "FAULT" (repeatable), as the console's "line FAULT"
    uint32_t seed = 1;      // --seed N
    std::optional<double> ratio; // --ratio X: the car's true gas/petrol ratio at idle
    std::optional<RatioCurve> ratioCurve; // --ratio-curve MS:R,...: the ratio per petrol time
    double speed = 1;       // --speed N: engine time runs N times faster than the clock
    bool help = false;

    // Fills `out`; on a mistake returns false with a message in `error`.
    static bool parse(const QStringList &args, SimOptions &out, QString &error);
    static QString usage();
    static std::optional<std::array<uint8_t, 3>> parseVersion(const QString &text);
};
