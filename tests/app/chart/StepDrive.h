#pragma once

#include "tests/chart/ChartSample.h"

#include "record/Recording.h"

// A short drive with speed steps a chart must show at their times: idle
// 800 rpm, 3000 rpm from 10 s, idle again from 20 s to 30 s; an answer every
// 250 ms after its poll; a request for gas at 12 s answered on gas at 14 s;
// a pressure fault from 16 s to 18 s.
inline Recording stepDrive()
{
    using namespace ChartSample;
    Recording recording;
    recording.entries.append({0, RecordKind::Settings, QByteArray(602, '\0')});
    for (qint64 ms = 250; ms <= 30000; ms += 250) {
        recording.entries.append(poll(ms - 60));
        if (ms == 12000)
            recording.entries.append(fuelRequest(ms - 30, true));
        EngineSnapshot s = running(ms >= 10000 && ms < 20000 ? 3000 : 800, ms >= 14000);
        if (ms >= 16000 && ms < 18000)
            s.faultFlags = 0xEF;
        recording.entries.append(answer(ms, s));
    }
    return recording;
}
