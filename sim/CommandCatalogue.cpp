#include "sim/CommandCatalogue.h"

namespace CommandCatalogue {

int bodyLength(uint8_t code)
{
    switch (code) {
    case 0x26: // factory reset
    case 0x25: // calibration start
        return 1;
    case 0x66: case 0x55: case 0x10: case 0x1B: case 0x0A: case 0x17: case 0x21:
    case 0x2D: case 0x2E: case 0x2B: case 0x1E: case 0x1F: case 0x11: case 0x0F:
    case 0x09: case 0x22: case 0x23: case 0x0E: case 0x24: case 0x30: case 0x31:
    case 0x05: case 0x2A:
        return 2;
    case 0x03: return 3;
    case 0x19: return 4;
    case 0x0D: case 0x02: return 6;
    case 0x20: return 21;
    case 0x0B: case 0x06: return 1 + 246;
    case 0x1A: return WriteAllMaxBody;
    default: return 0;
    }
}

Length lengthKind(uint8_t code)
{
    if (code == 0x1A)
        return Length::UntilQuiet;
    return bodyLength(code) > 0 ? Length::Fixed : Length::Unknown;
}

} // namespace CommandCatalogue
