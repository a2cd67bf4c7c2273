#pragma once

#include <QByteArray>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

// A settings block as the controller sends it: 602 bytes, header and
// length, an empty fault log, and whatever a test sets on top.
inline QByteArray settingsBlock(const std::vector<std::pair<int, uint8_t>> &bytes = {}, int size = 602)
{
    QByteArray b(size, '\0');
    b[0] = char(0xAA);
    b[1] = char(size >> 8);
    b[2] = char(size & 0xFF);
    b[3] = char(0x66);
    for (int i = 561; i < 601 && i < size; ++i)
        b[i] = char(0xFF);
    for (const auto &[offset, value] : bytes)
        b[offset] = char(value);
    return b;
}
