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
    m_beat.setInterval(BeatMs);
    m_beat.setTimerType(Qt::PreciseTimer);
    connect(&m_beat, &QTimer::timeout, this, &TFlashTimer::Tick);
    if (auto *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] {
            m_shuttingDown = true;
            m_beat.stop();
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

void TFlashTimer::Add(const Entry &e)
{
    auto it = std::find_if(m_clients.begin(), m_clients.end(),
                           [&](const Entry &x) { return x.client == e.client; });
    if (it != m_clients.end())
        *it = e; // keep its place in the walk order
    else
        m_clients.push_back(e);
    StartIfNeeded();
}

void TFlashTimer::Unregister(TFlashClient *client)
{
    auto it = std::find_if(m_clients.begin(), m_clients.end(),
                           [&](const Entry &x) { return x.client == client; });
    if (it != m_clients.end())
        m_clients.erase(it);
}

bool TFlashTimer::IsRegistered(const TFlashClient *client) const
{
    return std::any_of(m_clients.begin(), m_clients.end(),
                       [&](const Entry &x) { return x.client == client; });
}

void TFlashTimer::SetClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(monotonicMs);
}

void TFlashTimer::SetAutoTick(bool on)
{
    m_autoTick = on;
    if (!on)
        m_beat.stop();
    else
        StartIfNeeded();
}

void TFlashTimer::StartIfNeeded()
{
    // Once started the beat runs until the program ends, so the counter (and
    // with it every phase) is never reset under a widget's feet.
    if (m_autoTick && !m_shuttingDown && !m_beat.isActive() && !m_clients.empty())
        m_beat.start();
}

void TFlashTimer::Tick()
{
    ++m_ticks;
    // Clients may register, unregister or destroy themselves from inside a
    // notification. Each entry's state is updated before it is notified, and
    // the walk gives up for this beat once the list is shorter than the position.
    for (std::size_t i = 0; i < m_clients.size(); ++i) {
        if (m_shuttingDown)
            return;
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
}
