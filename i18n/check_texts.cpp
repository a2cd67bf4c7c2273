// Build step: refuses a broken texts.tsv before it is compiled into the
// program, so a translator's slip stops the build with the line to fix.
#include "TextTableError.h"
#include "TextTableParser.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s texts.tsv\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read\n", argv[1]);
        return 1;
    }
    try {
        TextTableParser::parse(file.readAll());
    } catch (const TextTableError &e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
