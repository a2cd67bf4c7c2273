#include "sim/LiveFrameWriter.h"

#include "link/CommandFrame.h"

#include <algorithm>
#include <cmath>

namespace LiveFrameWriter {
namespace {

uint8_t clampByte(double v)
{
    return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

int clampInt(double v, int lo, int hi)
{
    return int(std::clamp(std::lround(v), long(lo), long(hi)));
}

void putLe(QByteArray &f, int offset, int value)
{
    f[offset] = char(value & 0xFF);
    f[offset + 1] = char((value >> 8) & 0xFF);
}

void putBe(QByteArray &f, int offset, int value)
{
    f[offset] = char((value >> 8) & 0xFF);
    f[offset + 1] = char(value & 0xFF);
}

uint8_t signedByte(double c)
{
    return uint8_t(int8_t(clampInt(c, -128, 127)));
}

} // namespace

void splitGasTime(double ms, uint8_t &coarse, uint8_t &middle, uint8_t &fine)
{
    const long ticks = std::clamp(std::lround(ms / 0.00128), 0L, 255L * 256 * 200 + 255 * 200 + 199);
    fine = uint8_t(ticks % 200);
    const long mid = ticks / 200;
    middle = uint8_t(mid % 256);
    coarse = uint8_t(mid / 256);
}

QByteArray encode(const EngineSnapshot &s, uint8_t code)
{
    QByteArray f(Size, '\0');
    f[0] = char(CommandFrame::Start);
    putBe(f, 1, Size);
    f[3] = char(code);
    f[4] = char(s.ignition ? 0x01 : 0x00);
    f[5] = char(s.onGas ? 0x01 : 0x00);
    static constexpr int petrolOffsets[8] = {6, 8, 10, 12, 14, 16, 51, 53};
    for (int c = 0; c < 8; ++c)
        putLe(f, petrolOffsets[c], clampInt(s.petrolMs[c] * 10, 0, 0xFFFF));
    uint8_t coarse, middle, fine;
    splitGasTime(s.gasMs, coarse, middle, fine);
    f[18] = char(coarse);
    f[19] = char(middle);
    f[20] = char(fine);
    f[21] = char(clampByte(s.rpm / 100));
    f[22] = char(clampByte(s.lambda1V / 0.0196));
    putBe(f, 23, clampInt(s.p1Bar * 100, 0, 0xFFFF));
    putBe(f, 25, clampInt(s.mapKpa, 0, 0xFFFF));
    f[28] = char(s.multiplier);
    f[29] = char(clampByte((s.supplyV - 0.7) * 375 / 23));
    f[30] = char(clampByte(s.tankV / 0.0196));
    f[31] = char(s.tankStep);
    f[32] = char(signedByte(s.reducerC));
    f[33] = char(signedByte(s.gasC));
    f[34] = char(s.faultFlags);
    f[35] = char(s.injectorFlags);
    f[36] = char(s.position);
    f[38] = char(s.petrolEntries[0]);
    f[40] = char(s.petrolEntries[1]);
    f[41] = char(s.petrolEntries[2]);
    f[42] = char(s.gasEntries[0]);
    f[44] = char(s.gasEntries[1]);
    f[46] = char(s.gasEntries[2]);
    f[47] = char(s.curveSelector);
    f[48] = char(s.supplyFlags);
    f[55] = char(clampByte(s.lambda2V / 0.0196));
    f[Size - 1] = char(CommandFrame::checksum(f.left(Size - 1)));
    return f;
}

} // namespace LiveFrameWriter
