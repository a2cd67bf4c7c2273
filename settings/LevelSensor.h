#pragma once

#include "link/CommandBodies.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>

// The tank-level sensor's four voltage thresholds and its type, as the fitter
// edits them: the texts the edits show, reading them back, and the commands
// that carry them to the controller. Every text uses the decimal separator of
// the locale it is given, so what is written can always be read back.
namespace LevelSensor {

inline constexpr int Thresholds = 4;
// Offset of the type in the settings block (0 "0-90 Ohm", 2 "90-0 Ohm").
inline constexpr int TypeOffset = 29;

// The thresholds written into the edits when a sensor type is picked:
// 0.70/1.50/2.20/2.80 V rising for "0-90 Ohm", the other way for "90-0 Ohm".
std::array<QString, Thresholds> defaultTexts(CommandBodies::LevelSensor sensor, const QLocale &locale);

// The sensor for a picked item text ("0-90 Ohm", "90-0 Ohm"); none otherwise.
std::optional<CommandBodies::LevelSensor> sensorForText(const QString &itemText);

// The slider's value as its edit shows it: at most three significant digits
// (0.7 -> "0,7", 1.23 -> "1,23", 5 -> "5" with a decimal comma).
QString sliderText(double volts, const QLocale &locale);

// An edit's text as volts; nothing when it is not a number in the locale.
std::optional<double> readVolts(const QString &text, const QLocale &locale);

// The type byte to send: the picked item's, or with no item picked (after a
// block whose type byte is neither 0 nor 2) the controller's own byte from
// its last settings block, so nothing changes that the fitter did not pick.
// Nothing at all without either.
std::optional<uint8_t> typeByte(int comboItem, const QByteArray &storedSettings);

} // namespace LevelSensor
