#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The settings data file (".zen"): a fixed text header, the seconds of the
// moment of saving, and the settings block from offset 4 to the byte before
// its check byte, each byte masked with the check byte and its position and
// preceded by a filler byte. Bytes in, bytes out: no file, no clock, no window.
//
// Layout for a block B of length L, check byte K = B[L-1], seconds S:
//   0..22   "ZENU DATA FILE v3.07.07"
//   23      4 x S + 3
//   24      K XOR S
//   25+2n   filler for block offset 4+n (n = 0 .. L-6)
//   26+2n   B[4+n] XOR (K + 5 + n)
// so a file holds 2 x L + 15 bytes (1219 for a 602-byte block).
namespace DataFile {

inline constexpr char Magic[] = "ZENU DATA FILE v3.07.07";
inline constexpr int MagicSize = sizeof(Magic) - 1;
inline constexpr int SecondsPosition = MagicSize;     // 23
inline constexpr int KeyPosition = MagicSize + 1;     // 24
inline constexpr int FirstPairPosition = MagicSize + 2; // 25
inline constexpr int FirstBlockOffset = 4;
// Offsets 21..560 go to the controller with the write-all command.
inline constexpr int WriteAllFirstOffset = 21;
inline constexpr int WriteAllBytes = 540;
// Decoded bytes (from offset 4) a file must hold for a whole write-all.
inline constexpr int BytesForWriteAll = WriteAllFirstOffset - FirstBlockOffset + WriteAllBytes; // 557
// The seconds that fit the header byte 4 x S + 3.
inline constexpr int MaxSeconds = 63;

enum class Refusal {
    None,
    BadHeader, // the text header is missing or differs
    TooShort   // too little after the header for what was asked
};

struct Decoded
{
    Refusal refusal = Refusal::None;
    int seconds = 0;
    uint8_t key = 0;
    QByteArray fromOffset4; // block offsets 4, 5, ... as far as the file goes

    bool ok() const { return refusal == Refusal::None; }
    // Block offsets 21..560, the body of the write-all after its code byte.
    // Empty unless the file held all of them.
    QByteArray writeAllSettings() const;
};

// The filler byte written before the block byte `b` = B[index - 1].
uint8_t fillerByte(int index, uint8_t b);

// The file for `block` saved at `seconds` (0..63; std::invalid_argument
// otherwise). A block shorter than six bytes gives the header alone.
QByteArray encode(const QByteArray &block, int seconds);

// Refuses a file without the header, and one too short to hold the seconds
// and the key. Filler bytes are never looked at; nothing checks the body.
Decoded decode(const QByteArray &file);

// As decode(), and also refuses a file too short for a whole write-all:
// a write-all cut short would leave the controller with a half-written block.
Decoded decodeForWriteAll(const QByteArray &file);

// The name to save under: ".zen" is added when the chosen name has no
// extension of its own.
QString nameForSaving(const QString &chosen);

} // namespace DataFile
