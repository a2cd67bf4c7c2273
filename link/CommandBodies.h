#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// Every command body the program sends to the controller, built in one place
// so that no other code spells command bytes. A body is the code byte and its
// parameters; CommandFrame adds 0xAA and the checksum, the queue sends it.
//
// Numeric parameters travel as one byte: the control's value scaled, rounded
// to the nearest integer with halves to even, and cut to its low 8 bits.
namespace CommandBodies {

// Up to three bodies that must leave one after another; hand them to the
// queue as first, second and third, unchanged (empty means "none").
struct Group
{
    QByteArray first;
    QByteArray second;
    QByteArray third;

    bool isEmpty() const { return first.isEmpty(); }
    bool operator==(const Group &) const = default;
};

// Not a command: in the queue's third slot it asks for the data file to be
// written once the read-all answer has been applied.
inline QByteArray saveMarker() { return QByteArrayLiteral("ZAPIS"); }

// Nearest integer, halves to even. The value is first snapped to nine
// decimals so that a user-visible 1.15 scaled by 100 (114.999999... in
// binary) counts as 115, and 0.125 x 100 as the true tie 12.5.
long long roundHalfEven(double value);
// roundHalfEven, low 8 bits (negative and large values wrap).
uint8_t valueByte(double scaled);

// --- fixed frames' bodies (the session frames these itself) ---------------
QByteArray startup(); // 66 01
QByteArray poll();    // 55 01

// --- whole-block commands -------------------------------------------------
QByteArray readAll();      // 66 00
QByteArray factoryReset(); // 26
QByteArray clearFaults();  // 10 00
// 1A followed by at most 540 settings bytes (block offsets 21 to 560);
// anything beyond 540 bytes is not sent.
QByteArray settingsWrite(const QByteArray &settings);
constexpr int SettingsWriteMaxBytes = 540;
// Data file load: the write-all, then a read-all to show what was kept.
Group dataFileLoad(const QByteArray &settings);
// Data file save: a read-all with the save marker as third entry.
Group dataFileSave();

// --- settings controls ----------------------------------------------------
// Item indexes go out as their low 8 bits (an editable combo box reports -1).
QByteArray cylinderCount(int item);          // 1B n; item 4 ("8 cyl.") sends 05
QByteArray ignitionPulse(int item);          // 0A n
QByteArray rpmSignal(int item);              // 17 n
QByteArray engineType(int item);             // 21 n
QByteArray injectorsPositive(bool checked);  // 2D 00/01
QByteArray switchAtFirstDrop(bool checked);  // 2E 00/01
QByteArray workingPressure(double bar);      // 2B [bar x 100]
QByteArray minimumPressure(double bar);      // 1E [bar x 100]
QByteArray pressureFaultTime(double ms);     // 1F [ms / 10]
QByteArray maxRpmToPetrol(double rpm);       // 11 [rpm / 100]
QByteArray gasSwitchTemperature(double degC); // 0F [degC]
QByteArray gasSwitchRpm(double rpm);         // 09 [rpm / 100]
QByteArray switchOverTime(double seconds);   // 22 [s x 2]
QByteArray cylinderSequenceTime(double ms);  // 23 [ms / 10]

// Gas injector type: 0E a, 24 b, 30 c for items 0..5 of the type list; an
// empty group for any other item (nothing is to be sent).
Group injectorType(int item);
constexpr int InjectorTypeCount = 6;

// Fuel requests; bit k of the mask = cylinder k+1 runs on gas.
QByteArray requestPetrol(uint8_t mask); // 03 02 m
QByteArray requestGas(uint8_t mask);    // 03 03 m

// --- tank level sensor ----------------------------------------------------
enum class LevelSensor : uint8_t { Ohm0To90 = 0x00, Ohm90To0 = 0x02 };
// The sensor of combo item 0 or 1; nothing for no selection.
std::optional<LevelSensor> levelSensorForItem(int item);
QByteArray levelEditBegin(); // 31 01
QByteArray levelEditEnd();   // 31 00
// 0D [v1 x 51] [v2 x 51] [v3 x 51] [v4 x 51] type, then 31 00.
Group levelThresholds(const std::array<double, 4> &volts, LevelSensor sensor);

// --- calibration ----------------------------------------------------------
constexpr int MapPoints = 246;
// 25, then the petrol request.
Group calibrationStart(uint8_t mask);
// 19 a (a - n + 1) x, with a the average and n the minimum of the
// injection-time samples.
QByteArray calibrationReport(uint8_t average, uint8_t minimum, uint8_t x);
// 20, ten 00, 0A, a, FF, seven 00.
QByteArray calibrationBlock(uint8_t injectionTimeAverage);
// 02 p1 t mult temp [p1 / 1.66666].
QByteArray calibrationReference(uint8_t pressureAverage, uint8_t injectionTimeAverage,
                                uint8_t multiplierAverage, uint8_t temperatureAverage);
QByteArray calibrationStop(); // 05 00
// 06 and 246 zero bytes: the controller's map is wiped before the read-all.
QByteArray zeroMap();
// The zero map, then a read-all.
Group calibrationEnd();

// --- correction map -------------------------------------------------------
// 0B and the 246 points in hundredths. Points outside 0..255 are held at the
// nearest end: a wrapped byte would turn a small multiplier into a huge one.
// Missing points (fewer than 246 given) go out as 0; extra ones are ignored.
QByteArray correctionMapWrite(std::span<const int> points);
// 20, ten 00, 0A, FF, eight 00: follows every map write from the editor.
QByteArray mapEditorFollowUp();
// The map write and its follow-up, as the editor queues them.
Group mapEdit(std::span<const int> points);
// Which learned curve the controller reports (1 petrol, 2 gas).
QByteArray curveGas();    // 2A 02
QByteArray curvePetrol(); // 2A 01

} // namespace CommandBodies
