// Build step: refuses a broken texts.tsv before it is compiled into the
// program, so a translator's slip stops the build with the line to fix.
#include "TextTableError.h"
#include "TextTableParser.h"

#include <QFile>
#include <QString>

#include <cstdio>

namespace {

// 0 when the file reads cleanly, otherwise prints why and returns 1.
template <class Parse>
int check(const char *path, Parse parse)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read\n", path);
        return 1;
    }
    try {
        parse(file.readAll());
    } catch (const TextTableError &e) {
        std::fprintf(stderr, "%s: %s\n", path, e.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s texts.tsv program-texts.tsv\n", argv[0]);
        return 2;
    }
    const int rows = check(argv[1], [](const QByteArray &utf8) { TextTableParser::parse(utf8); });
    const int keyed = check(argv[2], [](const QByteArray &utf8) { TextTableParser::parseKeyed(utf8); });
    return rows | keyed;
}
