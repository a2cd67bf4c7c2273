#include "widgets/TFlashTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>

#include <algorithm>

namespace {
qint64 monotonicMs()
{
    static QElapsedTimer since = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return since.elapsed();
}
} // namespace

TFlashTimer::TFlashTimer(QObject *parent)
    : QObject(parent)
    , m_clock(monotonicMs)
{
    m_baseTime = m_clock();
    m_wake.setSingleShot(true);
    m_wake.setTimerType(Qt::PreciseTimer);
    connect(&m_wake, &QTimer::timeout, this, [this] {
        m_scheduled.reset();
        Wake();
    });
    if (auto *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] {
            m_shuttingDown = true;
            m_wake.stop();
            m_scheduled.reset();
        });
}

TFlashTimer::~TFlashTimer() = default;

TFlashTimer *TFlashTimer::Shared()
{
    static QPointer<TFlashTimer> shared;
    if (!shared)
        shared = new TFlashTimer(QCoreApplication::instance());
    return shared;
}

void TFlashTimer::RegisterFlash(TFlashClient *client, int d)
{
    if (!client)
        return;
    Add(Entry{client, Kind::Flash, ClampCode(d), -1, 0, 0});
}

void TFlashTimer::RegisterPeriodic(TFlashClient *client, int intervalMs)
{
    if (!client)
        return;
    intervalMs = std::max(1, intervalMs);
    Add(Entry{client, Kind::Periodic, 0, -1, intervalMs, m_clock() + intervalMs});
}

void TFlashTimer::RegisterPeriodicAt(TFlashClient *client, int intervalMs, qint64 firstDue)
{
    if (!client)
        return;
    Add(Entry{client, Kind::Periodic, 0, -1, std::max(1, intervalMs), firstDue});
}

void TFlashTimer::Add(const Entry &e)
{
    auto it = std::find_if(m_clients.begin(), m_clients.end(),
                           [&](const Entry &x) { return x.client == e.client; });
    if (it != m_clients.end())
        *it = e; // keep its place in the walk order
    else
        m_clients.push_back(e);
    Schedule();
}

void TFlashTimer::Unregister(TFlashClient *client)
{
    auto it = std::find_if(m_clients.begin(), m_clients.end(),
                           [&](const Entry &x) { return x.client == client; });
    if (it != m_clients.end()) {
        m_clients.erase(it);
        Schedule();
    }
}

bool TFlashTimer::IsRegistered(const TFlashClient *client) const
{
    return std::any_of(m_clients.begin(), m_clients.end(),
                       [&](const Entry &x) { return x.client == client; });
}

void TFlashTimer::SetClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(monotonicMs);
    Rebase(m_ticks);
    m_scheduled.reset();
    Schedule();
}

void TFlashTimer::SetAutoTick(bool on)
{
    if (on && !m_autoTick)
        Rebase(m_ticks); // whatever was ticked by hand, the clock carries on from here
    m_autoTick = on;
    Schedule();
}

void TFlashTimer::Rebase(std::uint64_t tick)
{
    m_baseTick = tick;
    m_baseTime = m_clock();
}

std::uint64_t TFlashTimer::TicksAt(qint64 t) const
{
    if (t <= m_baseTime)
        return m_baseTick;
    return m_baseTick + std::uint64_t((t - m_baseTime) / BeatMs);
}

qint64 TFlashTimer::BeatTime(std::uint64_t tick) const
{
    return m_baseTime + (qint64(tick) - qint64(m_baseTick)) * BeatMs;
}

std::optional<qint64> TFlashTimer::NextWake() const
{
    std::optional<qint64> next;
    auto consider = [&next](qint64 t) {
        if (!next || t < *next)
            next = t;
    };
    // After a spell with nobody registered the count the last walk left is old.
    const std::uint64_t n = std::max(m_ticks, TicksAt(m_clock()));
    for (const Entry &e : m_clients) {
        if (e.kind == Kind::Flash) {
            // A new client, or one the last walk did not reach, is told at the next
            // beat; otherwise at the beat where bit d of the counter flips.
            const bool current = e.lastPhase == (PhaseAt(n, e.code) ? 1 : 0);
            const std::uint64_t tick = current ? ((n >> e.code) + 1) << e.code : n + 1;
            consider(BeatTime(tick));
        } else {
            consider(e.due);
        }
    }
    return next;
}

std::optional<qint64> TFlashTimer::ScheduledWake() const
{
    return m_scheduled;
}

void TFlashTimer::Schedule()
{
    // Registrations made by clients during a walk are seen when the walk ends.
    if (m_walking)
        return;
    const std::optional<qint64> next = (m_autoTick && !m_shuttingDown) ? NextWake() : std::nullopt;
    if (!next) {
        m_wake.stop();
        m_scheduled.reset();
        return;
    }
    if (m_scheduled == next && m_wake.isActive())
        return;
    m_scheduled = next;
    m_wake.start(int(std::clamp<qint64>(*next - m_clock(), 0, 24 * 3600 * 1000)));
}

void TFlashTimer::Tick()
{
    ++m_ticks;
    // Ticked by hand: the clock goes on from this count.
    Rebase(m_ticks);
    Walk();
}

void TFlashTimer::Wake()
{
    // A wake that comes a little early (timer slack) changes nothing and is
    // simply set again for the rest of the time.
    m_ticks = std::max(m_ticks, TicksAt(m_clock()));
    Walk();
}

void TFlashTimer::Walk()
{
    // Clients may register, unregister or destroy themselves from inside a
    // notification. Each entry's state is updated before it is notified, and
    // the walk gives up for this beat once the list is shorter than the position.
    m_walking = true;
    for (std::size_t i = 0; i < m_clients.size(); ++i) {
        if (m_shuttingDown)
            break;
        Entry &e = m_clients[i];
        TFlashClient *client = e.client;
        if (e.kind == Kind::Flash) {
            const int phase = PhaseAt(m_ticks, e.code) ? 1 : 0;
            if (phase == e.lastPhase)
                continue;
            e.lastPhase = phase;
            client->FlashPhase(phase != 0);
        } else {
            const qint64 t = m_clock();
            if (t < e.due)
                continue;
            qint64 late = t - e.due;
            if (late > 1000)
                late = 0;
            e.due = t + e.interval - late;
            client->PeriodicTick(int(late));
        }
    }
    m_walking = false;
    Schedule();
}
