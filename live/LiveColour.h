#pragma once

#include <cstdint>
#include <optional>

// The colours the live view gives its displays. BtnFace is the system's
// button face colour and has no fixed value; the others are fixed.
enum class LiveColour {
    BtnFace,
    Red,      // clRed
    Lime,     // clLime
    LightRed, // the fault banner's second blink colour
};

// 0xRRGGBB of a fixed colour; empty for the system colour.
constexpr std::optional<uint32_t> liveColourRgb(LiveColour colour)
{
    switch (colour) {
    case LiveColour::Red: return 0xFF0000u;
    case LiveColour::Lime: return 0x00FF00u;
    case LiveColour::LightRed: return 0xFF3C3Cu;
    case LiveColour::BtnFace: break;
    }
    return std::nullopt;
}
