#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Blink rates of two-state widgets and alarm marks. The value is the bit of the
// shared tick counter that gives the phase: bit d flips every 2^d ticks.
enum TFrequency : int {
    ff8Hz = 2,  //  4 ticks per phase,  128 ms period
    ff4Hz = 3,  //  8 ticks per phase,  256 ms period
    ff2Hz = 4,  // 16 ticks per phase,  512 ms period
    ff1Hz = 5,  // 32 ticks per phase, 1024 ms period
    ff05Hz = 6, // 64 ticks per phase, 2048 ms period
};

// Anything that blinks or runs on its own period implements this and
// registers with the flash timer. Both calls arrive on the UI thread.
class TFlashClient
{
public:
    virtual ~TFlashClient() = default;
    // A flash client's phase changed (on = lit half of the period).
    virtual void FlashPhase(bool on) { (void)on; }
    // A periodic client's interval elapsed; lateMs is how late this tick is
    // (0 when it was more than a second late, so a stall is not made up for).
    virtual void PeriodicTick(int lateMs) { (void)lateMs; }
};

// One shared 16 ms beat for every blinking or scrolling widget. Flash phases
// come from one tick counter so that every widget blinking at the same rate
// is in step, no matter when it started.
//
// The counter follows the monotonic clock (one tick per 16 ms since the first
// registration), so the timer need not wake at every beat: it sleeps until the
// next beat at which a flash client changes phase or a periodic client is due,
// and not at all while nobody is registered. A program left running on a
// laptop then wakes only for what changes on the screen.
//
// The program uses Shared(); tests make their own instance with SetAutoTick(false)
// and an injected clock, and drive it by calling Tick() (one beat) or Wake().
class TFlashTimer : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<qint64()>; // milliseconds, monotonic

    static constexpr int BeatMs = 16;

    explicit TFlashTimer(QObject *parent = nullptr);
    ~TFlashTimer() override;

    // The program-wide timer, created on first use and owned by the application object.
    static TFlashTimer *Shared();

    // Flash client with rate code d (2..6; other values are clamped). Replaces
    // any entry the client already has. Its first phase is sent at the next tick.
    void RegisterFlash(TFlashClient *client, int d);
    void RegisterFlash(TFlashClient *client, TFrequency f) { RegisterFlash(client, int(f)); }
    // Periodic client: first due at now + intervalMs. Replaces any existing entry.
    void RegisterPeriodic(TFlashClient *client, int intervalMs);
    // Periodic client first due at the clock value firstDue (a client that
    // stayed away for a while rejoins its own grid of due times).
    void RegisterPeriodicAt(TFlashClient *client, int intervalMs, qint64 firstDue);
    void Unregister(TFlashClient *client);
    bool IsRegistered(const TFlashClient *client) const;
    int ClientCount() const { return int(m_clients.size()); }

    // Phase that rate code d has at the current tick count.
    bool Phase(int d) const { return PhaseAt(m_ticks, d); }
    static bool PhaseAt(std::uint64_t tick, int d) { return (tick >> ClampCode(d)) & 1u; }
    static int ClampCode(int d) { return d < 2 ? 2 : (d > 6 ? 6 : d); }

    std::uint64_t TickCount() const { return m_ticks; }
    qint64 Now() const { return m_clock(); }

    // Time source of the counter and the periodic clients; the default is a
    // monotonic millisecond count.
    void SetClock(Clock clock);
    // When off, nothing ticks by itself: the owner calls Tick() or Wake().
    void SetAutoTick(bool on);
    bool AutoTick() const { return m_autoTick; }

    // One beat: advance the counter by one, then walk the clients in registration order.
    void Tick();
    // What the timer does when it wakes: the counter catches up with the clock
    // (it never goes back), then the walk.
    void Wake();

    // Tick count the clock gives at time t, and the clock time of tick n.
    std::uint64_t TicksAt(qint64 t) const;
    qint64 BeatTime(std::uint64_t tick) const;
    // When the next wake is needed: the earliest beat at which a flash client
    // changes phase (or gets its first phase) and the earliest periodic due
    // time. None while no client is registered.
    std::optional<qint64> NextWake() const;
    // The wake the timer is set for right now (clock time), if any.
    std::optional<qint64> ScheduledWake() const;

private:
    enum class Kind { Flash, Periodic };
    struct Entry {
        TFlashClient *client;
        Kind kind;
        int code;          // flash: rate code d
        int lastPhase;     // flash: -1 until the first phase was sent
        int interval;      // periodic: ms
        qint64 due;        // periodic: clock value of the next tick
    };

    void Add(const Entry &e);
    void Walk();
    void Schedule();
    // The counter stands at `tick` at the present clock value from now on.
    void Rebase(std::uint64_t tick);

    std::vector<Entry> m_clients;
    std::uint64_t m_ticks = 0;
    std::uint64_t m_baseTick = 0; // the counter stood here ...
    qint64 m_baseTime = 0;        // ... at this clock value
    Clock m_clock;
    QTimer m_wake;
    std::optional<qint64> m_scheduled;
    bool m_autoTick = true;
    bool m_walking = false;
    bool m_shuttingDown = false;
};
