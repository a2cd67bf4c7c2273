#pragma once

#include "link/CommandBodies.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// Every setting of the controller's block, described once: where it lies in
// the block, how its byte becomes what the control shows, which command
// carries a change back, and the control that shows it. The decoder, the
// command builder and the window's control set-up all read this table.
namespace SettingsTable {

enum class Id : int {
    CylinderCount,        // Sel_cyl
    IgnitionPulse,        // Sel_Impuls
    RpmSignal,            // Sel_RPM_signal
    EngineType,           // Sel_Typ_silnika
    InjectorsPositive,    // Check_Injector_plus
    InjectorType,         // Sel_Typ_wtrysku
    WorkingPressure,      // P_pracy_changer
    MinimumPressure,      // P_min_changer
    SwitchAtFirstDrop,    // Check_by_first
    MaxRpmToPetrol,       // RPM_Max_To_Petrol
    PressureFaultTime,    // T_zwloki_changer
    GasSwitchRpm,         // RPM_Prog_przel
    GasSwitchTemperature, // Temp_LPG_changer
    SwitchOverTime,       // T_przel_to_LPG
    CylinderSequenceTime, // T_CYL_seqence
    PressureSensor,       // P1_MAP_changer (shown only)
    ReducerSensor,        // T_RED_changer (shown only)
    GasSensor,            // T_GAZ_changer (shown only)
    LevelSensor,          // Rodz_czuj_LPG (its commands belong to the level sensor editor)
    FuelKind,             // CNG_RadioButton checked (shown only)
};
constexpr int Count = int(Id::FuelKind) + 1;

enum class ControlKind {
    Combo,  // pick-only list; the value is the item index, -1 for none
    Check,  // the value is 0 or 1
    Slider, // vertical slider, the value in its unit
    Dial,   // dial, the value in its unit
    Radio,  // the value is 0 or 1
};

// How the byte (or one bit of it) turns into the control's value.
enum class Decode {
    ItemCodes, // item i when the byte equals codes[i], otherwise no item
    Bit,       // the bit's value: an item index 0/1 or a checked state
    Scaled,    // the byte divided by perUnit
};

// The command a user's change sends (the byte rules live in CommandBodies).
struct Command
{
    QByteArray (*forItem)(int item) = nullptr;
    QByteArray (*forFlag)(bool on) = nullptr;
    QByteArray (*forValue)(double value) = nullptr;
    CommandBodies::Group (*forGroup)(int item) = nullptr;

    bool sends() const { return forItem || forFlag || forValue || forGroup; }
};

// How the window names a setting and shows its value, so that every place
// that names a setting (the controls' labels, the comparison, the command
// line) reads the same texts. Text rows are rows of the language table;
// keys are the program's own texts.
struct Naming
{
    int labelRow = -1;              // the label the window puts beside the control
    const char *labelKey = nullptr; // a control with no label of its own: its spoken name
    // The title of the group the control sits in, written before the label
    // where the label alone says too little ("Temperatura").
    int groupRow = -1;
    int firstItemRow = -1; // item 0 of a combo whose items change with the language
    std::span<const char *const> stateTexts; // a radio button: what 0 and 1 show
    const char *unit = nullptr;             // a number: the unit shown after it
    int decimals = 0;                       // a number: decimals shown
};

struct Row
{
    Id id;
    const char *control; // objectName of the control
    int offset;
    int bit;             // for Decode::Bit
    Decode decode;
    std::span<const uint8_t> codes; // for Decode::ItemCodes
    double perUnit;                 // for Decode::Scaled: byte = value x perUnit
    ControlKind kind;
    std::span<const char *const> items; // initial (Polish) item texts of a combo
    // Range of a slider or dial: values valueFrom..valueTo over the positions
    // digitalFrom..digitalTo.
    double valueFrom;
    double valueTo;
    int digitalFrom;
    int digitalTo;
    Command command;
    Naming naming;
};

const std::array<Row, Count> &rows();
const Row &row(Id id);
// The row of a control by its objectName; nullptr when no setting uses it.
const Row *rowOfControl(const char *objectName);

// The value a slider or dial shows for `value`: held to its range and put on
// its grid of positions, as the control does when a block is applied. Any
// other row's value comes back unchanged.
double shownValue(const Row &row, double value);

// Writes a control's value back into the block at the row's place: the
// byte of an item (nothing for no item), the bit, or the value scaled,
// rounded (ties to even) and cut to 8 bits, as the change's command sends it.
// The inverse of the decoder for every value a control can hold.
void encodeRow(const Row &row, double value, QByteArray &block);

// The body group a change of the control to `value` sends (an item index,
// 0/1 or a value in the control's unit); empty when the control sends
// nothing or, for a combo, when no item is chosen.
CommandBodies::Group commandFor(Id id, double value);

} // namespace SettingsTable
