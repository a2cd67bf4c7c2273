#pragma once

#include "sim/Transmission.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <random>

// Faults of the line and of a misbehaving controller, applied to each answer
// on its way out: silence, a wrong firmware, a wrong echo, dropped answers,
// answers in slow chunks, noise in front. Also decides how an answer is cut
// into writes when no fault asks for chunks.
class LineFaults
{
public:
    struct Config
    {
        bool silent = false;
        std::optional<std::array<uint8_t, 3>> firmware;
        bool wrongEcho = false;
        int dropEvery = 0;     // 0: none; N: every Nth answer is not sent
        int chunkBytes = 0;    // 0: no chunking fault
        int chunkPauseMs = 0;
        int noiseBytes = 0;    // random bytes in front of every answer
        // Without a chunk fault: long answers go out in pieces of this size
        // with a short pause, so a reader sees them arrive over several reads
        // as on a real line. 0 writes every answer in one piece.
        int pieceBytes = 100;
        int piecePauseUs = 2000;
    };

    explicit LineFaults(uint32_t seed = 7) : m_rng(seed) {}

    Config &config() { return m_config; }
    const Config &config() const { return m_config; }
    // Line faults back to none; the delivery settings stay.
    void clear();
    QString describe() const;

    // `queued` is true for every command but the poll and the startup command.
    std::optional<Transmission> shape(QByteArray plain, bool settingsAnswer, bool queued);

    int answersSeen() const { return m_seen; }

private:
    Config m_config;
    std::mt19937 m_rng;
    int m_seen = 0;
};
