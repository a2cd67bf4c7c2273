#pragma once

#include "live/LiveValues.h"

#include <array>
#include <cstdint>

// `PetrolTimeTable` and `GasTimeTable`: the injection-time curves the
// controller streams a few bytes at a time, each frame at its own position P,
// and the last position seen. One instance for the whole run, owned by the
// window; never cleared, so the curves fill up over many frames.
class InjectionTimeTables
{
public:
    static constexpr int Size = 256;
    using Table = std::array<uint8_t, Size>;

    const Table &PetrolTimeTable() const { return m_petrol; }
    const Table &GasTimeTable() const { return m_gas; }
    // Position of the last frame that carried one; 0 before any.
    int lastStreamPosition() const { return m_lastPosition; }

    // Petrol bytes go to P, P+1, P+2 and gas bytes to P+2, P+3, P+4. Near the
    // end of the table those positions fall outside it and are dropped rather
    // than wrapped: a wrapped byte would land at the start of the curve, where
    // it does not belong. Nothing is stored, and P is not remembered, when
    // the frame carried no position; a missing byte leaves its entry alone.
    void store(const LiveValues &values);

private:
    static void put(Table &table, int index, const std::optional<uint8_t> &byte);

    Table m_petrol{};
    Table m_gas{};
    int m_lastPosition = 0;
};
