#include "sim/FrameLog.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString codeText(int code)
{
    return code < 0 ? QString() : QStringLiteral("0x%1").arg(code, 2, 16, QLatin1Char('0'));
}

QString statusText(ReceivedCommand::Status s)
{
    switch (s) {
    case ReceivedCommand::Status::Ok: return QStringLiteral("ok");
    case ReceivedCommand::Status::BadChecksum: return QStringLiteral("bad-checksum");
    case ReceivedCommand::Status::UnknownCode: return QStringLiteral("unknown-code");
    case ReceivedCommand::Status::Incomplete: return QStringLiteral("incomplete");
    }
    return {};
}

QByteArray finish(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace

bool FrameLog::open(const QString &path)
{
    auto f = std::make_unique<QFile>(path);
    if (!f->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    m_file = std::move(f);
    return true;
}

QByteArray FrameLog::formatReceived(const ReceivedCommand &c)
{
    QJsonObject o;
    o[QStringLiteral("dir")] = QStringLiteral("in");
    o[QStringLiteral("first_us")] = c.firstUs;
    o[QStringLiteral("last_us")] = c.lastUs;
    o[QStringLiteral("hex")] = QString::fromLatin1(c.line.toHex());
    o[QStringLiteral("plain")] = QString::fromLatin1(c.frame.toHex());
    o[QStringLiteral("code")] = codeText(c.code());
    o[QStringLiteral("status")] = statusText(c.status);
    return finish(o);
}

QByteArray FrameLog::formatSent(const Transmission &t)
{
    QJsonObject o;
    o[QStringLiteral("dir")] = QStringLiteral("out");
    o[QStringLiteral("first_us")] = t.firstUs;
    o[QStringLiteral("last_us")] = t.lastUs;
    o[QStringLiteral("hex")] = QString::fromLatin1(t.line().toHex());
    o[QStringLiteral("plain")] = QString::fromLatin1(t.plain.toHex());
    o[QStringLiteral("code")] = codeText(t.plain.size() > 3 ? uint8_t(t.plain[3]) : -1);
    return finish(o);
}

void FrameLog::received(const ReceivedCommand &c)
{
    write(formatReceived(c));
}

void FrameLog::sent(const Transmission &t)
{
    write(formatSent(t));
}

void FrameLog::write(const QByteArray &line)
{
    if (m_file)
        m_file->write(line);
}
