#pragma once

#include "link/CommandBodies.h"
#include "settings/DataFile.h"

#include <QByteArray>

#include <array>
#include <cstdint>

// The rules of the edits that are more than "one control, one command":
// the cylinder count (which also rewrites the kept block), the fuel switch
// with its three callers, and the chart scale that follows the engine type.
namespace SettingsEdits {

constexpr int CommandRetries = 5;
// The kept block must hold more than this before the cylinder count edits it.
constexpr int MinimumStoredForCylinderEdit = 10;

// `Sel_cylChange`: the command for the chosen item (0..4) and the kept
// block's offsets 22 and 20 rewritten as the controller will hold them
// (every cylinder of the new count on gas). The block must be long enough.
CommandBodies::Group changeCylinderCount(int item, QByteArray &stored);

// Who asks for a fuel change.
enum class FuelSender {
    Switch,      // a click on `paliwo_Switch`
    None,        // an injector LED changed while on gas
    Calibration, // `Button_start`, at a calibration step
};

// `paliwo_SwitchClick`: bit k of the mask = cylinder k+1's LED lit.
CommandBodies::Group fuelRequest(FuelSender sender, bool switchShowsGas, int calibrationStep, uint8_t mask);

uint8_t injectorMask(const std::array<bool, 8> &lit);

// The commands of a data file load: the write-all with the file's settings, then the read-all. The
// write-all leaves out the active gas injectors (offset 20), so a file that brings another cylinder
// count would leave the controller with its old set, which means nothing for the new count (six
// cylinders with only the first four on gas). Then the file's own set follows the write-all as a
// fuel request for the fuel in use; a file with the count the controller already has changes no
// injector. `stored` is the kept block, `gasInUse` whether the engine runs on (or was last asked for)
// gas.
CommandBodies::Group dataFileLoad(const DataFile::Decoded &file, const QByteArray &stored, bool gasInUse);

// Maximum of the map chart's MAP axis: 256 kPa for "Turbo" (item 1), 100
// for "Standard".
double mapAxisMaximum(int engineItem);

} // namespace SettingsEdits
