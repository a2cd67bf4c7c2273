#include "sim/SimOptions.h"

#include <QRegularExpression>

std::optional<std::array<uint8_t, 3>> SimOptions::parseVersion(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    std::array<uint8_t, 3> v{};
    for (int i = 0; i < 3; ++i) {
        const int n = m.captured(i + 1).toInt();
        if (n > 255)
            return std::nullopt;
        v[i] = uint8_t(n);
    }
    return v;
}

QString SimOptions::usage()
{
    return QStringLiteral(
        "Usage: zenu-sim [options]\n"
        "A gas-injection controller on a pseudo-terminal. Prints the device path on\n"
        "its first output line, then reads console commands from standard input\n"
        "(type \"help\").\n\n"
        "  --com COMn        list the line in the program's COM map as COMn\n"
        "  --select          also store it as the program's port (ComPort1, 7200 baud)\n"
        "  --state FILE      keep the settings block in FILE across runs\n"
        "  --firmware X.Y.Z  firmware the controller reports (default 3.7.7)\n"
        "  --pace            write answers at 7200 baud (1.39 ms a byte)\n"
        "  --warm            start with the engine at working temperature\n"
        "  --one-piece       write every answer in one write (no pieces)\n"
        "  --log FILE        one JSON line per frame in each direction\n"
        "  --script FILE     run console commands from FILE (\"wait MS\" paces them)\n"
        "  --link PATH       create a symbolic link PATH to the device\n"
        "  --fault FAULT     start with a line fault, as the console's \"line FAULT\"\n"
        "  --seed N          seed of the engine noise (default 1)\n"
        "  --ratio X         the car's true gas/petrol ratio at idle (default 1.18)\n"
        "  --ratio-curve C   the ratio per petrol time, e.g. 2:1.18,6:1.10,10:1.24\n"
        "  --speed N         engine time runs N times faster than the clock (1..1000)\n"
        "  --help            this text\n");
}

bool SimOptions::parse(const QStringList &args, SimOptions &out, QString &error)
{
    out = SimOptions{};
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&](QString &target) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            target = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out.help = true;
        } else if (a == QLatin1String("--select")) {
            out.select = true;
        } else if (a == QLatin1String("--pace")) {
            out.pace = true;
        } else if (a == QLatin1String("--warm")) {
            out.warm = true;
        } else if (a == QLatin1String("--one-piece")) {
            out.onePiece = true;
        } else if (a == QLatin1String("--com")) {
            if (!value(v))
                return false;
            static const QRegularExpression com(QStringLiteral("^COM([1-9]\\d*)$"));
            if (!com.match(v).hasMatch()) {
                error = QStringLiteral("--com wants a name like COM7, not \"%1\"").arg(v);
                return false;
            }
            out.comName = v;
        } else if (a == QLatin1String("--state")) {
            if (!value(out.statePath))
                return false;
        } else if (a == QLatin1String("--firmware")) {
            if (!value(v))
                return false;
            out.firmware = parseVersion(v);
            if (!out.firmware) {
                error = QStringLiteral("--firmware wants X.Y.Z with numbers 0..255, not \"%1\"").arg(v);
                return false;
            }
        } else if (a == QLatin1String("--log")) {
            if (!value(out.logPath))
                return false;
        } else if (a == QLatin1String("--script")) {
            if (!value(out.scriptPath))
                return false;
        } else if (a == QLatin1String("--link")) {
            if (!value(out.linkPath))
                return false;
        } else if (a == QLatin1String("--fault")) {
            if (!value(v))
                return false;
            out.faults << v;
        } else if (a == QLatin1String("--seed")) {
            if (!value(v))
                return false;
            bool ok = false;
            out.seed = v.toUInt(&ok);
            if (!ok) {
                error = QStringLiteral("--seed wants a number, not \"%1\"").arg(v);
                return false;
            }
        } else if (a == QLatin1String("--ratio-curve")) {
            if (!value(v))
                return false;
            out.ratioCurve = RatioCurve::parse(v);
            if (!out.ratioCurve) {
                error = QStringLiteral("--ratio-curve wants MS:RATIO,... with times rising and ratios 0.5..2.5, not \"%1\"")
                            .arg(v);
                return false;
            }
        } else if (a == QLatin1String("--ratio") || a == QLatin1String("--speed")) {
            if (!value(v))
                return false;
            bool ok = false;
            const double x = v.toDouble(&ok);
            const bool isRatio = a == QLatin1String("--ratio");
            const double lo = isRatio ? 0.5 : 1, hi = isRatio ? 2.5 : 1000;
            if (!ok || x < lo || x > hi) {
                error = QStringLiteral("%1 wants a number from %2 to %3, not \"%4\"").arg(a).arg(lo).arg(hi).arg(v);
                return false;
            }
            if (isRatio)
                out.ratio = x;
            else
                out.speed = x;
        } else {
            error = QStringLiteral("unknown option \"%1\"").arg(a);
            return false;
        }
    }
    if (out.select && out.comName.isEmpty()) {
        error = QStringLiteral("--select needs --com COMn");
        return false;
    }
    return true;
}
