#pragma once

#include "link/CommandFrame.h"
#include "link/SendFrame.h"
#include "record/Recording.h"
#include "sim/EngineModel.h"
#include "sim/LiveFrameWriter.h"
#include "sim/SettingsBlock.h"

// A road test as the recorder would keep it, made by the simulator's engine:
// a cold start on petrol, gas asked for after half a minute (the controller
// switches once the reducer is warm), speed and load changing every 40 s, a
// pressure fault at 8 minutes (the car trips to petrol, gas is asked for again
// at 8:30), an injector fault at 14 minutes, back to petrol at 18 minutes,
// the engine off for the last half minute. A poll every 250 ms, its answer
// 60 ms later, each fuel request as written to the line.
inline QVector<RecordEntry> roadDrive(int minutes, uint32_t seed = 3)
{
    constexpr int64_t TickUs = 250 * 1000;
    // The fuel switch asks for petrol until the driver asks for gas, as the
    // controller's block keeps the request (offset 19).
    SettingsBlock block = SettingsBlock::factory();
    block.set(SettingsBlock::FuelRequest, 2);
    EngineModel engine(seed);
    engine.setIgnition(true);
    engine.startEngine();

    auto fuelRequest = [](bool gas) {
        QByteArray body;
        body.append(char(0x03)).append(char(gas ? 0x03 : 0x02)).append(char(0x0F));
        return lineBytesOf(CommandFrame::frame(body));
    };
    static constexpr struct
    {
        int rpm;
        double load;
    } phases[] = {{0, 5}, {2000, 30}, {3000, 60}, {2500, 40}, {4200, 85}, {0, 10}, {1800, 25}, {3500, 70}};

    QVector<RecordEntry> entries;
    entries.append({0, RecordKind::Settings, SettingsBlock::factory().answer(0x66)});
    const qint64 endMs = qint64(minutes) * 60000;
    qint64 now = 20;
    for (; now < endMs; now += 250) {
        const qint64 s = now / 1000;
        if (now % 40000 < 250) {
            const auto &phase = phases[(now / 40000) % std::size(phases)];
            engine.setTargetRpm(phase.rpm);
            engine.setLoad(phase.load);
        }
        auto at = [now](qint64 second) { return now / 1000 == second && now % 1000 < 250; };
        if (at(30) || at(8 * 60 + 30)) {
            block.set(SettingsBlock::FuelRequest, 3);
            engine.fuelRequested(true);
            entries.append({now + 10, RecordKind::Command, fuelRequest(true)});
        }
        if (at(18 * 60)) {
            block.set(SettingsBlock::FuelRequest, 2);
            engine.fuelRequested(false);
            entries.append({now + 10, RecordKind::Command, fuelRequest(false)});
        }
        engine.setFault(EngineFault::PressureLow, s >= 8 * 60 && s < 8 * 60 + 10);
        engine.setFault(EngineFault::Injector, s >= 14 * 60 && s < 14 * 60 + 20, 3);
        if (endMs - now <= 30000 && engine.running())
            engine.setIgnition(false);
        engine.advance(TickUs, block);
        entries.append({now + 20, RecordKind::Command, lineBytesOf(CommandFrame::pollFrame())});
        entries.append({now + 80, RecordKind::Answer, LiveFrameWriter::encode(engine.sample(block), 0x55)});
    }
    return entries;
}
