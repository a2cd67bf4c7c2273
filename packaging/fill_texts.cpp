// Build step: writes a package text file (desktop entry, file types, software
// centre's page) from its template and the program's own text table.
#include "i18n/TextTableError.h"
#include "i18n/TextTableParser.h"
#include "packaging/TextTemplate.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <cstring>

namespace {

bool readAll(const char *path, QByteArray &out)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read\n", path);
        return false;
    }
    out = file.readAll();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 5 || (std::strcmp(argv[4], "desktop") != 0 && std::strcmp(argv[4], "xml") != 0)) {
        std::fprintf(stderr, "usage: %s program-texts.tsv TEMPLATE OUTPUT desktop|xml\n", argv[0]);
        return 2;
    }
    QByteArray table, templ;
    if (!readAll(argv[1], table) || !readAll(argv[2], templ))
        return 1;
    KeyedTextCells texts;
    try {
        texts = TextTableParser::parseKeyed(table);
    } catch (const TextTableError &e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        return 1;
    }
    const auto escape = std::strcmp(argv[4], "xml") == 0 ? TextTemplate::Escape::Xml : TextTemplate::Escape::Desktop;
    const TextTemplate::Result filled = TextTemplate::fill(QString::fromUtf8(templ), texts, escape);
    if (!filled.ok()) {
        std::fprintf(stderr, "%s: %s\n", argv[2], qPrintable(filled.error));
        return 1;
    }
    QFile out(QString::fromLocal8Bit(argv[3]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(filled.text.toUtf8()) < 0) {
        std::fprintf(stderr, "%s: cannot write\n", argv[3]);
        return 1;
    }
    return 0;
}
