#pragma once

#include <cstdint>

// What the controller knows about each command code it can receive: how many
// bytes the body (code and parameters) has. The line has no frame delimiter a
// reader could trust (a coded data byte may equal the lead 0xCC), so these
// lengths are the only way to know where a command ends.
namespace CommandCatalogue {

// The write-all command carries "at most 540" settings bytes: its end is
// found by the line going quiet, or by reaching this size.
constexpr int WriteAllMaxBody = 1 + 540;

enum class Length { Fixed, UntilQuiet, Unknown };

// Body length in bytes (code included) for Fixed codes; WriteAllMaxBody for
// the write-all; 0 for unknown codes.
int bodyLength(uint8_t code);
Length lengthKind(uint8_t code);

} // namespace CommandCatalogue
