#include "settings/SettingsEdits.h"

#include "settings/SettingsDecoder.h"

namespace SettingsEdits {

CommandBodies::Group changeCylinderCount(int item, QByteArray &stored)
{
    const int count = SettingsDecoder::cylinderCountOfItem(item);
    const QByteArray body = CommandBodies::cylinderCount(item);
    stored[SettingsDecoder::CylinderCodeOffset] = body[1];
    stored[SettingsDecoder::ActiveInjectorsOffset] = char(count >= 8 ? 0xFF : (1u << count) - 1);
    return {body, {}, {}};
}

CommandBodies::Group fuelRequest(FuelSender sender, bool switchShowsGas, int calibrationStep, uint8_t mask)
{
    switch (sender) {
    case FuelSender::Calibration:
        if (calibrationStep == 0)
            return CommandBodies::calibrationStart(mask);
        return {CommandBodies::requestPetrol(mask), {}, {}};
    case FuelSender::None:
        return {CommandBodies::requestGas(mask), {}, {}};
    case FuelSender::Switch:
        // The switch only shows the fuel in use; a click asks for the other.
        return {switchShowsGas ? CommandBodies::requestPetrol(mask) : CommandBodies::requestGas(mask), {}, {}};
    }
    return {};
}

uint8_t injectorMask(const std::array<bool, 8> &lit)
{
    uint8_t mask = 0;
    for (size_t k = 0; k < lit.size(); ++k) {
        if (lit[k])
            mask |= uint8_t(1u << k);
    }
    return mask;
}

CommandBodies::Group dataFileLoad(const DataFile::Decoded &file, const QByteArray &stored, bool gasInUse)
{
    constexpr int MaskOffset = 20;
    constexpr int CountOffset = 22;
    const QByteArray settings = file.writeAllSettings();
    const int fileMask = MaskOffset - DataFile::FirstBlockOffset;
    const int fileCount = CountOffset - DataFile::FirstBlockOffset;
    const bool countChanges = stored.size() <= CountOffset || stored[CountOffset] != file.fromOffset4[fileCount];
    if (!countChanges || file.fromOffset4.size() <= fileCount)
        return CommandBodies::dataFileLoad(settings);
    const uint8_t mask = uint8_t(file.fromOffset4[fileMask]);
    return {CommandBodies::settingsWrite(settings),
            gasInUse ? CommandBodies::requestGas(mask) : CommandBodies::requestPetrol(mask), CommandBodies::readAll()};
}

double mapAxisMaximum(int engineItem)
{
    return engineItem == 1 ? 256.0 : 100.0;
}

} // namespace SettingsEdits
