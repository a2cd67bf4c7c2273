#pragma once

#include "chart/ChartSeries.h"
#include "chart/FuelBand.h"
#include "record/Recording.h"

#include <optional>

// Everything a chart shows of a recording or of the live session: the
// channels of every decodable answer, the fuel band and the fault changes,
// built from the records in the order they happened. The live view feeds it
// the records the window already handles and keeps only the last minutes.
class ChartData
{
public:
    // The live view's window: the last ten minutes.
    static constexpr qint64 LiveKeepMs = 10 * 60 * 1000;

    static ChartData fromRecording(const Recording &recording);

    // One record as the recorder sees it: an answer as handed to the
    // displays, a command as written to the line (raw lead and coded frame,
    // or the plain frame), a settings block (a mark where it changes).
    void append(const RecordEntry &entry);
    // The same for an answer already decoded by the window.
    void appendAnswer(qint64 ms, const LiveValues &values);
    // With a keep span set, every append forgets what is older than the
    // span before the newest record; 0 keeps everything.
    void setKeepMs(qint64 ms) { m_keepMs = ms; }
    void clear();

    const ChartSeries &series() const { return m_series; }
    const FuelBand &band() const { return m_band; }
    // Where a settings block unlike the one before it came in: the link was
    // made again to a controller set otherwise (`firmware` false) or to one
    // with another firmware (true). The first block is no change.
    struct ControllerChange
    {
        qint64 ms = 0;
        bool firmware = false;
        bool operator==(const ControllerChange &) const = default;
    };
    const QVector<ControllerChange> &controllerChanges() const { return m_changes; }
    // Stretches without answers (see LinkGap).
    using LinkGap = ::LinkGap;
    const QVector<LinkGap> &linkGaps() const { return m_gaps; }
    bool inLinkGap(qint64 ms) const;
    // The last change at or before `ms`, if any.
    std::optional<ControllerChange> controllerChangeAt(qint64 ms) const;
    // The time span the data covers: from its first to its last record.
    qint64 firstMs() const { return m_firstMs.value_or(0); }
    qint64 lastMs() const { return m_lastMs; }
    bool isEmpty() const { return !m_firstMs; }

    // The fuel request a command carries: gas (true), petrol (false), or none.
    static std::optional<bool> fuelRequest(const QByteArray &commandBytes);

private:
    void seen(qint64 ms);

    ChartSeries m_series;
    FuelBand m_band;
    QByteArray m_lastSettings;
    QVector<ControllerChange> m_changes;
    QVector<LinkGap> m_gaps;
    std::optional<qint64> m_lastAnswerMs;
    std::optional<qint64> m_firstMs;
    qint64 m_lastMs = 0;
    qint64 m_keepMs = 0;
    int m_sinceDrop = 0;
};
