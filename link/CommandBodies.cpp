#include "link/CommandBodies.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace CommandBodies {

namespace {

constexpr long long NanoPerUnit = 1'000'000'000LL;
// Beyond this the nine-decimal snap would overflow 64 bits; such values are
// far outside anything a control can hold, so plain rounding is good enough.
constexpr double SnapLimit = 9.0e9;

long long halfEvenOfDouble(double value)
{
    const double lower = std::floor(value);
    const double diff = value - lower;
    double result = lower;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(lower, 2.0) != 0.0))
        result = lower + 1.0;
    // Converting a double outside the 64-bit range is undefined; such a
    // value saturates (2^63 itself is already out of range).
    constexpr double TwoTo63 = 9223372036854775808.0;
    if (result >= TwoTo63)
        return std::numeric_limits<long long>::max();
    if (result < -TwoTo63)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(result);
}

QByteArray bytes(std::initializer_list<uint8_t> list)
{
    QByteArray b;
    b.reserve(qsizetype(list.size()));
    for (uint8_t v : list)
        b.append(char(v));
    return b;
}

QByteArray codeAndByte(uint8_t code, uint8_t value) { return bytes({code, value}); }

QByteArray codeAndFlag(uint8_t code, bool on) { return codeAndByte(code, on ? 1 : 0); }

QByteArray codeAndItem(uint8_t code, int item) { return codeAndByte(code, uint8_t(item & 0xFF)); }

QByteArray codeAndZeros(uint8_t code, int zeros)
{
    QByteArray b(1 + zeros, '\0');
    b[0] = char(code);
    return b;
}

// 20 followed by ten zeros and 0A: the common start of the 21-byte 0x20 body.
QByteArray block20Head()
{
    QByteArray b = codeAndZeros(0x20, 10);
    b.append(char(0x0A));
    return b;
}

} // namespace

long long roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (std::fabs(value) >= SnapLimit)
        return halfEvenOfDouble(value);
    // Work in whole nanounits so the tie test is exact integer arithmetic.
    const long long nano = std::llround(value * double(NanoPerUnit));
    long long whole = nano / NanoPerUnit;
    long long rest = nano % NanoPerUnit;
    if (rest < 0) { // floor division for negative values
        rest += NanoPerUnit;
        whole -= 1;
    }
    const long long half = NanoPerUnit / 2;
    if (rest > half || (rest == half && (whole % 2 != 0)))
        whole += 1;
    return whole;
}

uint8_t valueByte(double scaled)
{
    return uint8_t(static_cast<unsigned long long>(roundHalfEven(scaled)) & 0xFFu);
}

QByteArray startup() { return bytes({0x66, 0x01}); }
QByteArray poll() { return bytes({0x55, 0x01}); }

QByteArray readAll() { return bytes({0x66, 0x00}); }
QByteArray factoryReset() { return bytes({0x26}); }
QByteArray clearFaults() { return bytes({0x10, 0x00}); }

QByteArray settingsWrite(const QByteArray &settings)
{
    QByteArray b(1, char(0x1A));
    b.append(settings.left(SettingsWriteMaxBytes));
    return b;
}

Group dataFileLoad(const QByteArray &settings) { return {settingsWrite(settings), readAll(), {}}; }
Group dataFileSave() { return {readAll(), {}, saveMarker()}; }

QByteArray cylinderCount(int item)
{
    // The controller codes eight cylinders as 5; 4 would read back as "none".
    return codeAndItem(0x1B, item == 4 ? 5 : item);
}

QByteArray ignitionPulse(int item) { return codeAndItem(0x0A, item); }
QByteArray rpmSignal(int item) { return codeAndItem(0x17, item); }
QByteArray engineType(int item) { return codeAndItem(0x21, item); }
QByteArray injectorsPositive(bool checked) { return codeAndFlag(0x2D, checked); }
QByteArray switchAtFirstDrop(bool checked) { return codeAndFlag(0x2E, checked); }
QByteArray workingPressure(double bar) { return codeAndByte(0x2B, valueByte(bar * 100.0)); }
QByteArray minimumPressure(double bar) { return codeAndByte(0x1E, valueByte(bar * 100.0)); }
QByteArray pressureFaultTime(double ms) { return codeAndByte(0x1F, valueByte(ms / 10.0)); }
QByteArray maxRpmToPetrol(double rpm) { return codeAndByte(0x11, valueByte(rpm / 100.0)); }
QByteArray gasSwitchTemperature(double degC) { return codeAndByte(0x0F, valueByte(degC)); }
QByteArray gasSwitchRpm(double rpm) { return codeAndByte(0x09, valueByte(rpm / 100.0)); }
QByteArray switchOverTime(double seconds) { return codeAndByte(0x22, valueByte(seconds * 2.0)); }
QByteArray cylinderSequenceTime(double ms) { return codeAndByte(0x23, valueByte(ms / 10.0)); }

Group injectorType(int item)
{
    struct Row { uint8_t a, b, c; };
    // Per injector family: the type code the settings block reports back,
    // then two parameters that only the controller reads.
    static constexpr Row rows[InjectorTypeCount] = {
        {0x08, 0x06, 0x1E}, // Valtek/Rail 1 Ohm
        {0x09, 0x06, 0x23}, // Valtek/Rail 2 Ohm
        {0x03, 0x09, 0x2D}, // Valtek/Rail 3 Ohm
        {0x01, 0x06, 0x1E}, // Matrix
        {0x06, 0x06, 0x1E}, // BRC
        {0x07, 0x06, 0x1E}, // Keihin
    };
    if (item < 0 || item >= InjectorTypeCount)
        return {};
    const Row &r = rows[item];
    return {codeAndByte(0x0E, r.a), codeAndByte(0x24, r.b), codeAndByte(0x30, r.c)};
}

QByteArray requestPetrol(uint8_t mask) { return bytes({0x03, 0x02, mask}); }
QByteArray requestGas(uint8_t mask) { return bytes({0x03, 0x03, mask}); }

std::optional<LevelSensor> levelSensorForItem(int item)
{
    switch (item) {
    case 0: return LevelSensor::Ohm0To90;
    case 1: return LevelSensor::Ohm90To0;
    default: return std::nullopt;
    }
}

QByteArray levelEditBegin() { return bytes({0x31, 0x01}); }
QByteArray levelEditEnd() { return bytes({0x31, 0x00}); }

Group levelThresholds(const std::array<double, 4> &volts, LevelSensor sensor)
{
    QByteArray b(1, char(0x0D));
    for (double v : volts)
        b.append(char(valueByte(v * 51.0)));
    b.append(char(uint8_t(sensor)));
    return {b, levelEditEnd(), {}};
}

Group calibrationStart(uint8_t mask) { return {bytes({0x25}), requestPetrol(mask), {}}; }

QByteArray calibrationReport(uint8_t average, uint8_t minimum, uint8_t x)
{
    return bytes({0x19, average, uint8_t(average - minimum + 1), x});
}

QByteArray calibrationBlock(uint8_t injectionTimeAverage)
{
    QByteArray b = block20Head();
    b.append(char(injectionTimeAverage));
    b.append(char(0xFF));
    b.append(QByteArray(7, '\0'));
    return b;
}

QByteArray calibrationReference(uint8_t pressureAverage, uint8_t injectionTimeAverage,
                                uint8_t multiplierAverage, uint8_t temperatureAverage)
{
    return bytes({0x02, pressureAverage, injectionTimeAverage, multiplierAverage, temperatureAverage,
                  valueByte(pressureAverage / 1.66666)});
}

QByteArray calibrationStop() { return bytes({0x05, 0x00}); }
QByteArray zeroMap() { return codeAndZeros(0x06, MapPoints); }
Group calibrationEnd() { return {zeroMap(), readAll(), {}}; }

QByteArray correctionMapWrite(std::span<const int> points)
{
    QByteArray b = codeAndZeros(0x0B, MapPoints);
    const std::size_t n = std::min<std::size_t>(points.size(), MapPoints);
    for (std::size_t k = 0; k < n; ++k)
        b[qsizetype(k) + 1] = char(uint8_t(std::clamp(points[k], 0, 255)));
    return b;
}

QByteArray mapEditorFollowUp()
{
    QByteArray b = block20Head();
    b.append(char(0xFF));
    b.append(QByteArray(8, '\0'));
    return b;
}

Group mapEdit(std::span<const int> points) { return {correctionMapWrite(points), mapEditorFollowUp(), {}}; }

QByteArray curveGas() { return bytes({0x2A, 0x02}); }
QByteArray curvePetrol() { return bytes({0x2A, 0x01}); }

} // namespace CommandBodies
