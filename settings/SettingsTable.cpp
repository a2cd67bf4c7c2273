#include "settings/SettingsTable.h"

#include <algorithm>
#include <cmath>
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
constexpr const char *FuelKindStates[] = {"LPG", "CNG"};

// Text rows of the labels and group titles the window shows.
constexpr int LabelPulses = 34, LabelRpmSignal = 35, LabelEngine = 36, LabelInjectorsPositive = 39;
constexpr int FirstCylinderItem = 40, FirstPulseItem = 46;
constexpr int GroupGasInjector = 56, GroupFuelKind = 57, LabelPressureSensor = 59, LabelReducerSensor = 60,
              LabelGasSensor = 61, GroupPressures = 62, NameWorkingPressure = 63;
constexpr int GroupToPetrol = 96, LabelFirstDrop = 97, NamePressureFaultTime = 98, GroupToGas = 99,
              NameGasTemperature = 100, NameSwitchOverTime = 101, NameSequenceTime = 102, GroupLevel = 103,
              LabelLevelSensor = 105, LabelCylinders = 118;

Naming label(int row, int firstItemRow = -1, int groupRow = -1)
{
    Naming n;
    n.labelRow = row;
    n.firstItemRow = firstItemRow;
    n.groupRow = groupRow;
    return n;
}

Naming number(int group, int nameRow, const char *unit, int decimals = 0, const char *nameKey = nullptr)
{
    Naming n;
    n.labelRow = nameRow;
    n.labelKey = nameKey;
    n.groupRow = group;
    n.unit = unit;
    n.decimals = decimals;
    return n;
}

Naming states(int row, std::span<const char *const> texts)
{
    Naming n;
    n.labelRow = row;
    n.stateTexts = texts;
    return n;
}

Row named(Row row, Naming naming)
{
    row.naming = naming;
    return row;
}

Row combo(Id id, const char *control, int offset, std::span<const uint8_t> codes, std::span<const char *const> items,
          Command command = {})
{
    return Row{id, control, offset, -1, Decode::ItemCodes, codes, 1.0, ControlKind::Combo, items, 0, 0, 0, 0, command, {}};
}

Row bitRow(Id id, const char *control, int offset, int bit, ControlKind kind, std::span<const char *const> items,
           Command command)
{
    return Row{id, control, offset, bit, Decode::Bit, {}, 1.0, kind, items, 0, 0, 0, 0, command, {}};
}

Row scaled(Id id, const char *control, int offset, double perUnit, ControlKind kind, double from, double to,
           int digitalFrom, int digitalTo, QByteArray (*body)(double))
{
    return Row{id,   control,     offset,    -1,  Decode::Scaled,          {}, perUnit, kind, {}, from, to,
               digitalFrom, digitalTo, Command{.forValue = body}, {}};
}

std::array<Row, Count> buildRows()
{
    return {{
        named(combo(Id::CylinderCount, "Sel_cyl", 22, CylinderCodes, CylinderItems, {.forItem = B::cylinderCount}),
              label(LabelCylinders, FirstCylinderItem)),
        named(combo(Id::IgnitionPulse, "Sel_Impuls", 21, PulseCodes, PulseItems, {.forItem = B::ignitionPulse}),
              label(LabelPulses, FirstPulseItem)),
        named(bitRow(Id::RpmSignal, "Sel_RPM_signal", 34, 1, ControlKind::Combo, RpmSignalItems,
                     {.forItem = B::rpmSignal}),
              label(LabelRpmSignal)),
        named(bitRow(Id::EngineType, "Sel_Typ_silnika", 34, 3, ControlKind::Combo, EngineItems,
                     {.forItem = B::engineType}),
              label(LabelEngine)),
        named(bitRow(Id::InjectorsPositive, "Check_Injector_plus", 34, 7, ControlKind::Check, {},
                     {.forFlag = B::injectorsPositive}),
              label(LabelInjectorsPositive)),
        named(combo(Id::InjectorType, "Sel_Typ_wtrysku", 45, InjectorCodes, InjectorItems,
                    {.forGroup = B::injectorType}),
              label(GroupGasInjector)),
        // The minimum pressure's scale has more positions than hundredths:
        // a position is not a byte there, the value is.
        named(scaled(Id::WorkingPressure, "P_pracy_changer", 36, 100.0, ControlKind::Slider, 0.40, 2.50, 40, 250,
                     B::workingPressure),
              number(GroupPressures, NameWorkingPressure, "bar", 2)),
        named(scaled(Id::MinimumPressure, "P_min_changer", 40, 100.0, ControlKind::Slider, 0.40, 2.50, 40, 255,
                     B::minimumPressure),
              number(GroupPressures, -1, "bar", 2, "settings.a11y.minimum_pressure")),
        named(bitRow(Id::SwitchAtFirstDrop, "Check_by_first", 558, 0, ControlKind::Check, {},
                     {.forFlag = B::switchAtFirstDrop}),
              label(LabelFirstDrop)),
        named(scaled(Id::MaxRpmToPetrol, "RPM_Max_To_Petrol", 24, 0.01, ControlKind::Dial, 0, 12000, 0, 120,
                     B::maxRpmToPetrol),
              number(GroupToPetrol, -1, "rpm", 0, "settings.a11y.max_rpm_to_petrol")),
        named(scaled(Id::PressureFaultTime, "T_zwloki_changer", 41, 0.1, ControlKind::Dial, 0, 1450, 0, 1450,
                     B::pressureFaultTime),
              number(GroupToPetrol, NamePressureFaultTime, "ms")),
        named(scaled(Id::GasSwitchRpm, "RPM_Prog_przel", 23, 0.01, ControlKind::Dial, 300, 6000, 3, 60,
                     B::gasSwitchRpm),
              number(GroupToGas, -1, "rpm", 0, "settings.a11y.gas_switch_rpm")),
        named(scaled(Id::GasSwitchTemperature, "Temp_LPG_changer", 35, 1.0, ControlKind::Dial, 20, 90, 20, 90,
                     B::gasSwitchTemperature),
              number(GroupToGas, NameGasTemperature, "°C")),
        named(scaled(Id::SwitchOverTime, "T_przel_to_LPG", 42, 2.0, ControlKind::Dial, 2, 60, 2, 60,
                     B::switchOverTime),
              number(GroupToGas, NameSwitchOverTime, "s")),
        named(scaled(Id::CylinderSequenceTime, "T_CYL_seqence", 43, 0.1, ControlKind::Dial, 0, 2550, 0, 255,
                     B::cylinderSequenceTime),
              number(GroupToGas, NameSequenceTime, "ms")),
        named(combo(Id::PressureSensor, "P1_MAP_changer", 33, PressureSensorCodes, PressureSensorItems),
              label(LabelPressureSensor)),
        named(combo(Id::ReducerSensor, "T_RED_changer", 30, TemperatureSensorCodes, TemperatureSensorItems),
              label(LabelReducerSensor)),
        named(combo(Id::GasSensor, "T_GAZ_changer", 31, TemperatureSensorCodes, TemperatureSensorItems),
              label(LabelGasSensor)),
        named(combo(Id::LevelSensor, "Rodz_czuj_LPG", 29, LevelSensorCodes, LevelSensorItems),
              label(LabelLevelSensor, -1, GroupLevel)),
        named(bitRow(Id::FuelKind, "CNG_RadioButton", 558, 1, ControlKind::Radio, {}, {}),
              states(GroupFuelKind, FuelKindStates)),
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

double shownValue(const Row &row, double value)
{
    if (row.kind != ControlKind::Slider && row.kind != ControlKind::Dial)
        return value;
    // In single precision, as the control keeps its value.
    const float from = float(row.valueFrom);
    const float to = float(row.valueTo);
    const float held = std::clamp(float(value), std::min(from, to), std::max(from, to));
    const double span = double(to) - double(from);
    const int positions = row.digitalTo - row.digitalFrom;
    if (span == 0.0 || positions == 0)
        return held;
    const double place = (double(held) - double(from)) * (positions / span) + row.digitalFrom;
    const double position = place - std::remainder(place, 1.0); // nearest, ties to even
    return float((position - row.digitalFrom) * (span / positions) + double(from));
}

void encodeRow(const Row &row, double value, QByteArray &block)
{
    if (row.offset >= block.size())
        return;
    char &byte = block[row.offset];
    switch (row.decode) {
    case Decode::ItemCodes: {
        const int item = int(value);
        if (item >= 0 && item < int(row.codes.size()))
            byte = char(row.codes[size_t(item)]);
        return;
    }
    case Decode::Bit:
        byte = char(value != 0.0 ? (uint8_t(byte) | (1u << row.bit)) : (uint8_t(byte) & ~(1u << row.bit)));
        return;
    case Decode::Scaled:
        byte = char(CommandBodies::valueByte(value * row.perUnit));
        return;
    }
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
