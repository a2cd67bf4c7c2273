#pragma once

#include <QByteArray>
#include <cstdint>

// Command frames: 0xAA, the command body (code and parameters), and an 8-bit
// sum of every preceding byte. On the line a raw 0xCC lead precedes the coded
// frame. Answers: 0xAA, a big-endian 16-bit length counting the whole answer,
// the answer code, data, and a last byte nobody verifies.
namespace CommandFrame {

constexpr uint8_t Start = 0xAA;
constexpr uint8_t Lead = 0xCC;

uint8_t checksum(const QByteArray &bytes);
// AA + body + checksum.
QByteArray frame(const QByteArray &body);
// True when `frame` starts with AA and ends with the sum of its other bytes.
bool isValidFrame(const QByteArray &frame);
// The body of a frame (without AA and checksum); empty when not a frame.
QByteArray body(const QByteArray &frame);

// The two fixed frames the session sends without the queue.
QByteArray startupFrame(); // AA 66 01 11
QByteArray pollFrame();    // AA 55 01 00

// Length from an answer header (bytes 1 and 2); -1 when fewer than 3 bytes.
int answerLength(const QByteArray &answer);

} // namespace CommandFrame
