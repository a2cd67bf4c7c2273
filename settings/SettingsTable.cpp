#include "settings/SettingsTable.h"

#include <cstring>

namespace SettingsTable {

namespace {

namespace B = CommandBodies;

constexpr uint8_t CylinderCodes[] = {0, 1, 2, 3, 5}; // 4 reads as "none"
constexpr uint8_t PulseCodes[] = {0, 1, 2, 3, 4, 5, 6};
constexpr uint8_t InjectorCodes[] = {8, 9, 3, 1, 6, 7};
constexpr uint8_t PressureSensorCodes[] = {4};
constexpr uint8_t TemperatureSensorCodes[] = {1};
constexpr uint8_t LevelSensorCodes[] = {0, 2};

constexpr const char *CylinderItems[] = {"3 cyl.", "4 cyl.", "5 cyl.", "6 cyl.", "8 cyl."};
constexpr const char *PulseItems[] = {"Cewka pojedyncza", "Cewka podwójna", "3 cyl.", "4 cyl.",
                                      "5 cyl.",           "6 cyl.",         "8 cyl."};
constexpr const char *RpmSignalItems[] = {"Low  5V", "High 12V"};
constexpr const char *EngineItems[] = {"Standard", "Turbo"};
constexpr const char *InjectorItems[] = {"Valtek/Rail 1 Ohm", "Valtek/Rail 2 Ohm", "Valtek/Rail 3 OHM",
                                         "Matrix ",           "BRC",               "Keihin"};
constexpr const char *PressureSensorItems[] = {"ZENU 01"};
constexpr const char *TemperatureSensorItems[] = {"2,2"};
constexpr const char *LevelSensorItems[] = {"0-90 Ohm", "90-0 Ohm"};

Row combo(Id id, const char *control, int offset, std::span<const uint8_t> codes, std::span<const char *const> items,
          Command command = {})
{
    return Row{id, control, offset, -1, Decode::ItemCodes, codes, 1.0, ControlKind::Combo, items, 0, 0, 0, 0, command};
}

Row bitRow(Id id, const char *control, int offset, int bit, ControlKind kind, std::span<const char *const> items,
           Command command)
{
    return Row{id, control, offset, bit, Decode::Bit, {}, 1.0, kind, items, 0, 0, 0, 0, command};
}

Row scaled(Id id, const char *control, int offset, double perUnit, ControlKind kind, double from, double to,
           int digitalFrom, int digitalTo, QByteArray (*body)(double))
{
    return Row{id,   control,     offset,    -1,  Decode::Scaled,          {}, perUnit, kind, {}, from, to,
               digitalFrom, digitalTo, Command{.forValue = body}};
}

std::array<Row, Count> buildRows()
{
    return {{
        combo(Id::CylinderCount, "Sel_cyl", 22, CylinderCodes, CylinderItems, {.forItem = B::cylinderCount}),
        combo(Id::IgnitionPulse, "Sel_Impuls", 21, PulseCodes, PulseItems, {.forItem = B::ignitionPulse}),
        bitRow(Id::RpmSignal, "Sel_RPM_signal", 34, 1, ControlKind::Combo, RpmSignalItems, {.forItem = B::rpmSignal}),
        bitRow(Id::EngineType, "Sel_Typ_silnika", 34, 3, ControlKind::Combo, EngineItems, {.forItem = B::engineType}),
        bitRow(Id::InjectorsPositive, "Check_Injector_plus", 34, 7, ControlKind::Check, {},
               {.forFlag = B::injectorsPositive}),
        combo(Id::InjectorType, "Sel_Typ_wtrysku", 45, InjectorCodes, InjectorItems, {.forGroup = B::injectorType}),
        // The minimum pressure's scale has more positions than hundredths:
        // a position is not a byte there, the value is.
        scaled(Id::WorkingPressure, "P_pracy_changer", 36, 100.0, ControlKind::Slider, 0.40, 2.50, 40, 250,
               B::workingPressure),
        scaled(Id::MinimumPressure, "P_min_changer", 40, 100.0, ControlKind::Slider, 0.40, 2.50, 40, 255,
               B::minimumPressure),
        bitRow(Id::SwitchAtFirstDrop, "Check_by_first", 558, 0, ControlKind::Check, {},
               {.forFlag = B::switchAtFirstDrop}),
        scaled(Id::MaxRpmToPetrol, "RPM_Max_To_Petrol", 24, 0.01, ControlKind::Dial, 0, 12000, 0, 120,
               B::maxRpmToPetrol),
        scaled(Id::PressureFaultTime, "T_zwloki_changer", 41, 0.1, ControlKind::Dial, 0, 1450, 0, 1450,
               B::pressureFaultTime),
        scaled(Id::GasSwitchRpm, "RPM_Prog_przel", 23, 0.01, ControlKind::Dial, 300, 6000, 3, 60, B::gasSwitchRpm),
        scaled(Id::GasSwitchTemperature, "Temp_LPG_changer", 35, 1.0, ControlKind::Dial, 20, 90, 20, 90,
               B::gasSwitchTemperature),
        scaled(Id::SwitchOverTime, "T_przel_to_LPG", 42, 2.0, ControlKind::Dial, 2, 60, 2, 60, B::switchOverTime),
        scaled(Id::CylinderSequenceTime, "T_CYL_seqence", 43, 0.1, ControlKind::Dial, 0, 2550, 0, 255,
               B::cylinderSequenceTime),
        combo(Id::PressureSensor, "P1_MAP_changer", 33, PressureSensorCodes, PressureSensorItems),
        combo(Id::ReducerSensor, "T_RED_changer", 30, TemperatureSensorCodes, TemperatureSensorItems),
        combo(Id::GasSensor, "T_GAZ_changer", 31, TemperatureSensorCodes, TemperatureSensorItems),
        combo(Id::LevelSensor, "Rodz_czuj_LPG", 29, LevelSensorCodes, LevelSensorItems),
        bitRow(Id::FuelKind, "CNG_RadioButton", 558, 1, ControlKind::Radio, {}, {}),
    }};
}

} // namespace

const std::array<Row, Count> &rows()
{
    static const std::array<Row, Count> table = buildRows();
    return table;
}

const Row &row(Id id)
{
    return rows()[size_t(id)];
}

const Row *rowOfControl(const char *objectName)
{
    for (const Row &r : rows()) {
        if (std::strcmp(r.control, objectName) == 0)
            return &r;
    }
    return nullptr;
}

CommandBodies::Group commandFor(Id id, double value)
{
    const Command &c = row(id).command;
    if (c.forValue)
        return {c.forValue(value), {}, {}};
    if (c.forFlag)
        return {c.forFlag(value != 0.0), {}, {}};
    const int item = int(value);
    if (item < 0)
        return {};
    if (c.forItem)
        return {c.forItem(item), {}, {}};
    if (c.forGroup)
        return c.forGroup(item);
    return {};
}

} // namespace SettingsTable
