#pragma once

#include "link/CommandFrame.h"
#include "record/Recording.h"
#include "sim/EngineModel.h"
#include "sim/LiveFrameWriter.h"
#include "sim/SettingsBlock.h"

// What a recorder sees on a road test, made by the simulator's engine: the
// settings answer of the handshake, then every 250 ms a poll going out and
// its live answer coming back 60 ms later, while the driver revs up, loads
// the engine and a pressure fault comes and goes.
inline QVector<RecordEntry> sessionSample(int polls, uint32_t seed = 7)
{
    constexpr int64_t Ms = 1000;
    const SettingsBlock block = SettingsBlock::factory();
    EngineModel engine(seed);
    engine.setWarm();

    QVector<RecordEntry> entries;
    entries.reserve(2 * polls + 1);
    entries.append({0, RecordKind::Settings, block.answer(0x66)});
    qint64 now = 20;
    for (int i = 0; i < polls; ++i) {
        if (i % 40 == 0)
            engine.setTargetRpm(i % 80 == 0 ? 3000 : 0);
        engine.setLoad((i / 20) % 2 ? 60 : 10);
        engine.setFault(EngineFault::PressureLow, i % 200 >= 150);
        engine.advance(250 * Ms, block);
        entries.append({now, RecordKind::Command, CommandFrame::pollFrame()});
        entries.append({now + 60, RecordKind::Answer, LiveFrameWriter::encode(engine.sample(block), 0x55)});
        now += 250;
    }
    return entries;
}
