#pragma once

#include "link/CommandFrame.h"
#include "link/SendFrame.h"
#include "record/Recording.h"
#include "sim/EngineSnapshot.h"
#include "sim/LiveFrameWriter.h"

// Building blocks of small recordings for the chart's tests: answers with
// chosen values, fuel requests as the line carries them.
namespace ChartSample {

inline EngineSnapshot running(double rpm, bool onGas = false)
{
    EngineSnapshot s;
    s.ignition = true;
    s.onGas = onGas;
    s.rpm = rpm;
    s.mapKpa = 40;
    s.p1Bar = 1.0;
    s.petrolMs = {3.1, 3.2, 3.3, 3.4, 0, 0, 0, 0};
    s.gasMs = onGas ? 3.6 : 0;
    s.lambda1V = 0.45;
    s.lambda2V = 0.55;
    s.supplyV = 13.8;
    s.reducerC = 80;
    s.gasC = 40;
    return s;
}

inline RecordEntry answer(qint64 ms, const EngineSnapshot &s)
{
    return {ms, RecordKind::Answer, LiveFrameWriter::encode(s, 0x55)};
}

// A fuel request as written to the line: the raw lead and the coded frame.
inline RecordEntry fuelRequest(qint64 ms, bool gas, uint8_t mask = 0x0F)
{
    QByteArray body;
    body.append(char(0x03)).append(char(gas ? 0x03 : 0x02)).append(char(mask));
    return {ms, RecordKind::Command, lineBytesOf(CommandFrame::frame(body))};
}

inline RecordEntry poll(qint64 ms)
{
    return {ms, RecordKind::Command, lineBytesOf(CommandFrame::pollFrame())};
}

} // namespace ChartSample
