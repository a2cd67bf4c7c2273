#pragma once

#include <QByteArray>

#include <cstdint>
#include <utility>
#include <vector>

// A live answer as the session hands it over: 0xAA, the big-endian length,
// the poll's code, data at 4..55 and a last byte. Data bytes start at `fill`;
// bytes placed past `length` are cut off with the rest of the answer.
inline QByteArray liveFrame(const std::vector<std::pair<int, int>> &bytes = {}, uint8_t fill = 0xFF,
                            int length = 57)
{
    QByteArray frame(length, char(fill));
    const int header[] = {0xAA, length >> 8, length & 0xFF, 0x55};
    for (int i = 0; i < 4 && i < length; ++i)
        frame[i] = char(header[i]);
    for (const auto &[offset, value] : bytes) {
        if (offset < length)
            frame[offset] = char(value);
    }
    return frame;
}
