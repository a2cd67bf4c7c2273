#pragma once

#include <QByteArray>

class FrameWriter;

// Puts one command frame (0xAA .. checksum, plain bytes) on the line: a raw
// 0xCC lead, then every frame byte through the send coding. The controller
// takes at most 80 bytes at a time, so longer frames go out in 80-byte pieces,
// each followed by a 1 ms pause, and the rest in one last write.
namespace SendFrameRules {
constexpr int PieceSize = 80;
constexpr int PauseMs = 1;
} // namespace SendFrameRules

void SendFrame(FrameWriter &writer, const QByteArray &frame);

// The exact bytes SendFrame writes, as one string (lead included).
QByteArray lineBytesOf(const QByteArray &frame);
