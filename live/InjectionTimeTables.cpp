#include "live/InjectionTimeTables.h"

void InjectionTimeTables::store(const LiveValues &values)
{
    if (!values.streamPosition)
        return;
    const int p = *values.streamPosition;
    for (int i = 0; i < LiveValues::TableBytes; ++i) {
        put(m_petrol, p + i, values.petrolTableBytes[i]);
        put(m_gas, p + 2 + i, values.gasTableBytes[i]);
    }
    m_lastPosition = p;
}

void InjectionTimeTables::put(Table &table, int index, const std::optional<uint8_t> &byte)
{
    if (byte && index >= 0 && index < Size)
        table[size_t(index)] = *byte;
}
