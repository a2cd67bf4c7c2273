// zenu-sim: a gas-injection controller on a pseudo-terminal, for trying the
// program without a car and for testing its link.
#include "sim/SimLoop.h"
#include "sim/SimOptions.h"
#include "sim/Simulator.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zenu-sim"));

    SimOptions options;
    QString error;
    if (!SimOptions::parse(QCoreApplication::arguments().mid(1), options, error)) {
        std::fprintf(stderr, "zenu-sim: %s\n\n%s", qPrintable(error), qPrintable(SimOptions::usage()));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(SimOptions::usage()), stdout);
        return 0;
    }

    Simulator sim(options);
    SimLoop loop(sim, options, stdout, stderr);
    if (!loop.start()) {
        loop.finish();
        return 1;
    }
    const int rc = loop.run();
    loop.finish();
    return rc;
}
