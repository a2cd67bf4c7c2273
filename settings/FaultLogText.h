#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

// The registered-fault log of the settings block as the lines of
// `Register_errors_memo`: numbered fault lines in the current language and,
// for every slot that is not empty, a line with its raw code.
namespace FaultLogText {

// The current-language text of a message row.
using RowText = std::function<QString(int row)>;

constexpr int InjectorFaultRow = 6;
constexpr uint8_t EmptySlot = 0xFF;

// `log` holds the 40 slots and the byte after them; `activeInjectors` names
// the cylinders an injector fault (code 0) lists.
QStringList lines(const std::array<uint8_t, 41> &log, uint8_t activeInjectors, const RowText &rowText);

// The message row of codes 1..8; -1 for any other code.
int rowOfCode(uint8_t code);

} // namespace FaultLogText
