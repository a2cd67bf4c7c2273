#include "live/LiveFrameDecoder.h"

#include <cstdint>
#include <initializer_list>

namespace {

// Byte access that knows where the answer's data ends: its last byte is the
// controller's check byte, never a value, whatever the answer's length (a
// 6-byte acknowledgement has one data byte at offset 4, not two).
class Bytes
{
public:
    explicit Bytes(const QByteArray &data) : m_data(data) {}

    bool has(std::initializer_list<int> offsets) const
    {
        for (int offset : offsets) {
            if (offset >= m_data.size() - 1)
                return false;
        }
        return true;
    }

    int at(int offset) const { return uint8_t(m_data.at(offset)); }

    std::optional<uint8_t> byte(int offset) const
    {
        if (!has({offset}))
            return std::nullopt;
        return uint8_t(at(offset));
    }

private:
    const QByteArray &m_data;
};

int signedByte(int b)
{
    return b >= 128 ? b - 256 : b;
}

// Rounded through text as the display stores it ("#0.00").
double twoDecimals(double value)
{
    return QString::number(value, 'f', 2).toDouble();
}

} // namespace

LiveValues LiveFrameDecoder::decode(const QByteArray &answer)
{
    const Bytes b(answer);
    LiveValues v;
    v.answerLength = int(answer.size());

    if (b.has({4}))
        v.ignitionOn = (b.at(4) & 0x01) != 0;
    if (b.has({5}))
        v.onGas = (b.at(5) & 0x01) != 0;

    // (lo, hi) of cylinders 1..8; 7 and 8 were added at the end of the frame.
    static constexpr int petrolOffsets[LiveValues::Cylinders] = {6, 8, 10, 12, 14, 16, 51, 53};
    for (int k = 0; k < LiveValues::Cylinders; ++k) {
        const int lo = petrolOffsets[k];
        if (b.has({lo, lo + 1}))
            v.petrolMs[k] = b.at(lo) * 0.1 + b.at(lo + 1) * 25.6;
    }

    if (b.has({18, 19, 20}))
        v.gasMs = b.at(18) * 65.536 + b.at(19) * 0.256 + b.at(20) * 0.00128;

    if (b.has({21})) {
        v.rpmThousands = b.at(21) / 10.0;
        v.rpm = b.at(21) * 100.0;
    }

    if (b.has({22}))
        v.lambda1Volts = b.at(22) * 0.0196;
    if (b.has({55}))
        v.lambda2Volts = b.at(55) * 0.0196;

    if (b.has({23, 24}))
        v.p1Bar = b.at(23) * 2.56 + b.at(24) * 0.01;
    if (b.has({25, 26}))
        v.mapKpa = (b.at(25) * 2.56 + b.at(26) * 0.01) * 100.0;

    if (b.has({29}))
        v.supplyVolts = twoDecimals(b.at(29) * 23.0 / 375.0 + 0.7);
    if (b.has({30}))
        v.tankSensorVolts = b.at(30) * 0.0196;
    if (b.has({31}))
        v.levelStep = b.at(31);

    if (b.has({32}))
        v.reducerTempC = signedByte(b.at(32));
    if (b.has({33}))
        v.gasTempC = signedByte(b.at(33));

    v.faultFlags = b.byte(34);
    v.injectorFlags = b.byte(35);
    v.moreFaultFlags = b.byte(48);

    if (b.has({36}))
        v.streamPosition = b.at(36);
    // 37, 39, 43 and 45 carry nothing the program uses.
    static constexpr int petrolTable[LiveValues::TableBytes] = {38, 40, 41};
    static constexpr int gasTable[LiveValues::TableBytes] = {42, 44, 46};
    for (int i = 0; i < LiveValues::TableBytes; ++i) {
        v.petrolTableBytes[i] = b.byte(petrolTable[i]);
        v.gasTableBytes[i] = b.byte(gasTable[i]);
    }
    if (b.has({47}))
        v.curveSelector = b.at(47);

    return v;
}

QString LiveFrameDecoder::tankVoltageText(double volts, QChar decimalSeparator)
{
    QString text = QString::number(volts, 'f', 2);
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}
