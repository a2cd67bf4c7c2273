#pragma once

#include "live/LiveValues.h"

#include <QByteArray>
#include <QChar>
#include <QString>

// Bytes of a live answer (0xAA at offset 0, as assembled by the session) to a
// value record. Pure: no widgets, no state. Any length is accepted; a field
// whose bytes lie past the end of the answer stays empty.
class LiveFrameDecoder
{
public:
    // Highest data offset of the layout; a full answer has at least 57 bytes.
    static constexpr int LastDataOffset = 55;

    static LiveValues decode(const QByteArray &answer);

    // The tank sensor text: two decimals with the given decimal separator.
    static QString tankVoltageText(double volts, QChar decimalSeparator);
};
