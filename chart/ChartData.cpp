#include "chart/ChartData.h"

#include "link/CommandFrame.h"
#include "link/WireCodec.h"
#include "live/LiveFrameDecoder.h"
#include "settings/SettingsDecoder.h"

#include <algorithm>

namespace {

constexpr uint8_t FuelCommand = 0x03;
constexpr uint8_t PetrolRequest = 0x02;
constexpr uint8_t GasRequest = 0x03;
// Forgetting in batches keeps the live view's cost per answer flat.
constexpr int DropEvery = 64;

} // namespace

ChartData ChartData::fromRecording(const Recording &recording)
{
    ChartData data;
    // The recording's own time: it began at 0, as the replay counts.
    if (!recording.entries.isEmpty())
        data.m_firstMs = 0;
    for (const RecordEntry &entry : recording.entries)
        data.append(entry);
    return data;
}

std::optional<bool> ChartData::fuelRequest(const QByteArray &commandBytes)
{
    QByteArray frame = commandBytes;
    if (!frame.isEmpty() && uint8_t(frame.at(0)) == CommandFrame::Lead)
        frame = WireCodec::decodeCommand(frame.mid(1));
    const QByteArray body = CommandFrame::body(frame);
    if (body.size() < 2 || uint8_t(body.at(0)) != FuelCommand)
        return std::nullopt;
    if (uint8_t(body.at(1)) == GasRequest)
        return true;
    if (uint8_t(body.at(1)) == PetrolRequest)
        return false;
    return std::nullopt;
}

void ChartData::seen(qint64 ms)
{
    if (!m_firstMs)
        m_firstMs = ms;
    m_lastMs = std::max(m_lastMs, ms);
    if (m_keepMs > 0 && ++m_sinceDrop >= DropEvery) {
        m_sinceDrop = 0;
        const qint64 from = m_lastMs - m_keepMs;
        if (from > *m_firstMs) {
            m_series.dropBefore(from);
            m_band.dropBefore(from);
            m_gaps.erase(m_gaps.begin(), std::find_if(m_gaps.begin(), m_gaps.end(),
                                                      [from](const LinkGap &gap) { return gap.toMs > from; }));
            m_changes.erase(m_changes.begin(),
                            std::find_if(m_changes.begin(), m_changes.end(),
                                         [from](const ControllerChange &c) { return c.ms >= from; }));
            m_firstMs = from;
        }
    }
}

void ChartData::appendAnswer(qint64 ms, const LiveValues &values)
{
    if (!values.decodable())
        return;
    if (ms < m_lastMs)
        ms = m_lastMs; // a clock stepping back draws at the last time
    if (m_lastAnswerMs && ms - *m_lastAnswerMs > LinkGapMs)
        m_gaps.append({*m_lastAnswerMs, ms});
    m_lastAnswerMs = ms;
    m_series.append(ms, values);
    m_band.answer(ms, values);
    seen(ms);
}

void ChartData::append(const RecordEntry &entry)
{
    switch (entry.kind) {
    case RecordKind::Answer:
        appendAnswer(entry.ms, LiveFrameDecoder::decode(entry.bytes));
        break;
    case RecordKind::Command:
        if (const std::optional<bool> gas = fuelRequest(entry.bytes)) {
            m_band.fuelRequested(std::max(entry.ms, m_lastMs), *gas);
        }
        seen(std::max(entry.ms, m_lastMs));
        break;
    case RecordKind::Settings:
        // A short block is no settings block; the replay skips it too.
        if (entry.bytes.size() >= SettingsDecoder::MinimumBlockSize) {
            if (!m_lastSettings.isEmpty() && entry.bytes != m_lastSettings)
                m_changes.append({std::max(entry.ms, m_lastMs), entry.bytes.mid(4, 3) != m_lastSettings.mid(4, 3)});
            m_lastSettings = entry.bytes;
        }
        seen(std::max(entry.ms, m_lastMs));
        break;
    }
}

std::optional<ChartData::ControllerChange> ChartData::controllerChangeAt(qint64 ms) const
{
    const auto after = std::upper_bound(m_changes.cbegin(), m_changes.cend(), ms,
                                        [](qint64 t, const ControllerChange &c) { return t < c.ms; });
    if (after == m_changes.cbegin())
        return std::nullopt;
    return *(after - 1);
}

bool ChartData::inLinkGap(qint64 ms) const
{
    return linkGapAt(m_gaps, ms).has_value();
}

void ChartData::clear()
{
    const qint64 keep = m_keepMs;
    *this = ChartData();
    m_keepMs = keep;
}
