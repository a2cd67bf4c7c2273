#include "settings/FaultLogText.h"

namespace FaultLogText {

int rowOfCode(uint8_t code)
{
    static constexpr int Rows[] = {-1, 9, 0, 1, 2, 3, 4, 5, 8};
    return code < std::size(Rows) ? Rows[code] : -1;
}

QStringList lines(const std::array<uint8_t, 41> &log, uint8_t activeInjectors, const RowText &rowText)
{
    QStringList out;
    int counter = 1;
    for (size_t i = 0; i < 40; ++i) {
        if (log[i] == 0) {
            // The injector fault's own slot is passed over: the slot after it
            // is examined in the same pass (slot 39's partner is the byte
            // after the log).
            ++i;
            QString line = QString::number(counter) + rowText(InjectorFaultRow);
            for (int k = 0; k < 8; ++k) {
                if (activeInjectors & (1u << k))
                    line += QLatin1Char(' ') + QString::number(k + 1);
            }
            out << line;
            ++counter;
        }
        const uint8_t v = log[i];
        if (v >= 1 && v <= 8) {
            out << QString::number(counter) + rowText(rowOfCode(v));
            ++counter;
        }
        if (v != EmptySlot)
            out << QString::number(v);
    }
    return out;
}

} // namespace FaultLogText
