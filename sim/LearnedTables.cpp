#include "sim/LearnedTables.h"

#include <algorithm>
#include <cmath>

void LearnedTables::learn(bool gas, int position, double petrolMs, double dtS)
{
    if (position < 0 || position >= Size || petrolMs <= 0)
        return;
    double &e = (gas ? m_gas : m_petrol)[size_t(position)];
    e = e <= 0 ? petrolMs : e + (petrolMs - e) * (1 - std::exp(-dtS / SmoothingS));
}

uint8_t LearnedTables::entry(bool gas, int position) const
{
    if (position < 0 || position >= Size)
        return 0;
    const double ms = table(gas)[size_t(position)];
    return ms > 0 ? uint8_t(std::clamp(std::lround(ms * 10), 1L, 255L)) : 0;
}

double LearnedTables::value(bool gas, int position) const
{
    return position < 0 || position >= Size ? 0 : table(gas)[size_t(position)];
}

int LearnedTables::filled(bool gas) const
{
    return int(std::count_if(table(gas).begin(), table(gas).end(), [](double v) { return v > 0; }));
}

int LearnedTables::first(bool gas) const
{
    for (int i = 0; i < Size; ++i)
        if (table(gas)[size_t(i)] > 0)
            return i;
    return -1;
}

int LearnedTables::last(bool gas) const
{
    for (int i = Size - 1; i >= 0; --i)
        if (table(gas)[size_t(i)] > 0)
            return i;
    return -1;
}

void LearnedTables::clear()
{
    m_petrol.fill(0);
    m_gas.fill(0);
}
