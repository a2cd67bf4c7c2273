#include "calibration/CalibrationSamples.h"

void CalibrationSamples::clear()
{
    for (Bytes &t : m_tables)
        t.fill(0);
}

bool CalibrationSamples::store(int position, const QByteArray &frame)
{
    if (position < 0 || position >= Positions || frame.size() < ShortestFrame)
        return false;
    for (int t = 0; t < Tables; ++t)
        m_tables[size_t(t)][size_t(position)] = uint8_t(frame[FrameOffsets[size_t(t)]]);
    return true;
}

void CalibrationSamples::updateStatistics()
{
    for (Bytes &t : m_tables)
        updateTable(t);
}

void CalibrationSamples::updateTable(Bytes &t)
{
    int count = 0;
    int sum = 0;
    for (int p = 0; p < Positions; ++p) {
        if (t[size_t(p)] != 0) {
            ++count;
            sum += t[size_t(p)];
        }
    }
    if (count > 0) {
        // Integer halves-to-even: the exact quotient, no floating point tie to miss.
        int q = sum / count;
        const int twiceRest = 2 * (sum % count);
        if (twiceRest > count || (twiceRest == count && (q % 2) != 0))
            ++q;
        t[AverageByte] = uint8_t(q);
    }

    int m = 255;
    for (int p = 0; p < Positions; ++p) {
        const uint8_t s = t[size_t(p)];
        if (s != 0 && s < m) {
            m = s;
            t[MinimumByte] = s;
        }
    }

    int top = 0;
    for (int p = 0; p < Positions; ++p) {
        const uint8_t s = t[size_t(p)];
        if (s > top) {
            top = s;
            t[MaximumByte] = s;
        }
    }
}
