// The live frame decoder over answers of any length and content: never reads
// past the data (the sanitizers watch), never takes the check byte as a value.
#include "live/LiveFrameDecoder.h"

#include <QByteArray>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char *what)
{
    std::fprintf(stderr, "live decoder invariant broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray answer(reinterpret_cast<const char *>(data), qsizetype(size));
    const LiveValues v = LiveFrameDecoder::decode(answer);
    if (v.answerLength != answer.size())
        fail("answerLength is not the answer's size");
    // Offset 4 is data only when a byte follows it.
    if (v.ignitionOn.has_value() != (answer.size() > 5))
        fail("ignition present though offset 4 is the check byte or missing");
    if (v.onGas.has_value() != (answer.size() > 6))
        fail("fuel switch present though offset 5 is the check byte or missing");
    if (v.lambda2Volts.has_value() != (answer.size() > 56))
        fail("second lambda present though offset 55 is the check byte or missing");
    for (const auto &ms : v.petrolMs) {
        if (ms && !std::isfinite(*ms))
            fail("a petrol time is not finite");
    }
    if (v.tankSensorVolts) {
        const QString text = LiveFrameDecoder::tankVoltageText(*v.tankSensorVolts, QLatin1Char(','));
        if (text.isEmpty())
            fail("no tank voltage text");
    }
    return 0;
}
