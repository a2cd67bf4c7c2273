#pragma once

#include "sim/EngineSnapshot.h"

#include <QByteArray>
#include <cstdint>

// Lays a snapshot out as the 57-byte live answer (data at offsets 4..55, then
// the last byte, which this controller fills with the sum of the others).
namespace LiveFrameWriter {

constexpr int Size = 57;

QByteArray encode(const EngineSnapshot &s, uint8_t code);

// The gas injection time as its three bytes (65.536 ms, 0.256 ms, 0.00128 ms).
void splitGasTime(double ms, uint8_t &coarse, uint8_t &middle, uint8_t &fine);

} // namespace LiveFrameWriter
