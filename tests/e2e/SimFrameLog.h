#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The simulator's frame log (one JSON object per line) as records, and the
// figures the tests and the benchmark take from it.
struct LoggedFrame
{
    bool incoming = false; // sent by the program
    int code = -1;         // command code (in) or answer code (out)
    qint64 firstUs = 0;    // monotonic time of the first byte
    qint64 lastUs = 0;     // and of the last one
    QByteArray lineBytes;  // as on the line
    QByteArray plain;      // decoded
    QString status;        // incoming only: "ok", "bad-checksum", ...
};

class SimFrameLog
{
public:
    // Every complete line of the file; a line still being written is left out.
    static QList<LoggedFrame> read(const QString &path);
    static QList<LoggedFrame> parse(const QByteArray &text);

    // Frames in one direction with one code.
    static QList<LoggedFrame> select(const QList<LoggedFrame> &frames, bool incoming, int code);

    // For every answer to a poll that the program's next frame followed: the
    // time from the answer's last byte to that frame's first byte, less the
    // poll period, in milliseconds.
    static QList<double> pollOverheadsMs(const QList<LoggedFrame> &frames, int pollPeriodMs);

    struct Summary
    {
        int samples = 0;
        double median = 0;
        double p99 = 0; // nearest rank
        double max = 0;
    };
    static Summary summarize(QList<double> values);
};
