#include "settings/LevelSensor.h"

namespace LevelSensor {

namespace {

// Hundredths of a volt, lowest (empty tank) first for a rising sensor.
constexpr int RisingDefaults[Thresholds] = {70, 150, 220, 280};

} // namespace

std::array<QString, Thresholds> defaultTexts(CommandBodies::LevelSensor sensor, const QLocale &locale)
{
    std::array<QString, Thresholds> texts;
    const bool falling = sensor == CommandBodies::LevelSensor::Ohm90To0;
    for (int j = 0; j < Thresholds; ++j) {
        const int hundredths = RisingDefaults[falling ? Thresholds - 1 - j : j];
        texts[j] = locale.toString(hundredths / 100.0, 'f', 2);
    }
    return texts;
}

std::optional<CommandBodies::LevelSensor> sensorForText(const QString &itemText)
{
    if (itemText == QStringLiteral("0-90 Ohm"))
        return CommandBodies::LevelSensor::Ohm0To90;
    if (itemText == QStringLiteral("90-0 Ohm"))
        return CommandBodies::LevelSensor::Ohm90To0;
    return std::nullopt;
}

QString sliderText(double volts, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(volts, 'g', 3);
}

std::optional<double> readVolts(const QString &text, const QLocale &locale)
{
    bool ok = false;
    const double volts = locale.toDouble(text.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return volts;
}

std::optional<uint8_t> typeByte(int comboItem, const QByteArray &storedSettings)
{
    if (const auto sensor = CommandBodies::levelSensorForItem(comboItem))
        return uint8_t(*sensor);
    if (storedSettings.size() > TypeOffset)
        return uint8_t(storedSettings[TypeOffset]);
    return std::nullopt;
}

} // namespace LevelSensor
