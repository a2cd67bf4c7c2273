#include "SimFrameLog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {

constexpr int PollCode = 0x55;

int parseCode(const QString &text)
{
    bool ok = false;
    const int code = text.toInt(&ok, 16);
    return ok ? code : -1;
}

} // namespace

QList<LoggedFrame> SimFrameLog::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

QList<LoggedFrame> SimFrameLog::parse(const QByteArray &text)
{
    QList<LoggedFrame> frames;
    for (const QByteArray &line : text.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        QJsonParseError err{};
        const QJsonDocument doc = QJsonDocument::fromJson(line, &err);
        if (err.error != QJsonParseError::NoError || !doc.isObject())
            continue;
        const QJsonObject o = doc.object();
        LoggedFrame f;
        f.incoming = o.value(QStringLiteral("dir")).toString() == QLatin1String("in");
        // "0x55": base 16 with the prefix.
        f.code = parseCode(o.value(QStringLiteral("code")).toString());
        f.firstUs = qint64(o.value(QStringLiteral("first_us")).toDouble());
        f.lastUs = qint64(o.value(QStringLiteral("last_us")).toDouble());
        f.lineBytes = QByteArray::fromHex(o.value(QStringLiteral("hex")).toString().toLatin1());
        f.plain = QByteArray::fromHex(o.value(QStringLiteral("plain")).toString().toLatin1());
        f.status = o.value(QStringLiteral("status")).toString();
        frames << f;
    }
    return frames;
}

QList<LoggedFrame> SimFrameLog::select(const QList<LoggedFrame> &frames, bool incoming, int code)
{
    QList<LoggedFrame> out;
    for (const LoggedFrame &f : frames) {
        if (f.incoming == incoming && f.code == code)
            out << f;
    }
    return out;
}

QList<double> SimFrameLog::pollOverheadsMs(const QList<LoggedFrame> &frames, int pollPeriodMs)
{
    QList<double> out;
    for (qsizetype i = 0; i + 1 < frames.size(); ++i) {
        const LoggedFrame &answer = frames[i];
        const LoggedFrame &next = frames[i + 1];
        if (answer.incoming || answer.code != PollCode || !next.incoming || next.code != PollCode)
            continue;
        out << double(next.firstUs - answer.lastUs) / 1000.0 - pollPeriodMs;
    }
    return out;
}

SimFrameLog::Summary SimFrameLog::summarize(QList<double> values)
{
    Summary s;
    s.samples = int(values.size());
    if (values.isEmpty())
        return s;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    const qsizetype rank = qsizetype(std::ceil(0.99 * double(n)));
    s.p99 = values[std::max<qsizetype>(rank, 1) - 1];
    s.max = values.last();
    return s;
}
