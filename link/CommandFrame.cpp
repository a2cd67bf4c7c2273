#include "link/CommandFrame.h"

namespace CommandFrame {

uint8_t checksum(const QByteArray &bytes)
{
    unsigned sum = 0;
    for (char c : bytes)
        sum += uint8_t(c);
    return uint8_t(sum & 0xFF);
}

QByteArray frame(const QByteArray &body)
{
    QByteArray f;
    f.reserve(body.size() + 2);
    f.append(char(Start));
    f.append(body);
    f.append(char(checksum(f)));
    return f;
}

bool isValidFrame(const QByteArray &f)
{
    if (f.size() < 3 || uint8_t(f[0]) != Start)
        return false;
    return checksum(f.left(f.size() - 1)) == uint8_t(f.back());
}

QByteArray body(const QByteArray &f)
{
    if (f.size() < 2)
        return {};
    return f.mid(1, f.size() - 2);
}

QByteArray startupFrame() { return frame(QByteArray::fromHex("6601")); }
QByteArray pollFrame() { return frame(QByteArray::fromHex("5501")); }

int answerLength(const QByteArray &answer)
{
    if (answer.size() < 3)
        return -1;
    return uint8_t(answer[1]) * 256 + uint8_t(answer[2]);
}

} // namespace CommandFrame
