#pragma once

#include <QByteArray>
#include <QList>

// One answer on its way out: the bytes as they go on the line, cut into
// pieces with a pause after each.
struct Transmission
{
    struct Piece
    {
        QByteArray bytes;
        qint64 pauseAfterUs = 0;
    };

    QByteArray plain; // the answer before the line coding (what the program decodes)
    QList<Piece> pieces;
    qint64 firstUs = -1; // filled in while it is written
    qint64 lastUs = -1;

    QByteArray line() const
    {
        QByteArray all;
        for (const Piece &p : pieces)
            all += p.bytes;
        return all;
    }
};
