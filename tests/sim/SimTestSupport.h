#pragma once

#include "link/CommandFrame.h"
#include "link/WireCodec.h"

#include <QByteArray>

// The program's side of the line, built from the link's own codec and frames.
namespace SimTest {

inline QByteArray lineFor(const QByteArray &body)
{
    return QByteArray(1, char(CommandFrame::Lead)) + WireCodec::encodeSend(CommandFrame::frame(body));
}

inline QByteArray decoded(QByteArray line)
{
    WireCodec::decodeReceiveInPlace(line);
    return line;
}

inline QByteArray hex(const char *h)
{
    return QByteArray::fromHex(h);
}

} // namespace SimTest
