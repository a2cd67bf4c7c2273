#include "sim/SimLoop.h"

#include "sim/ComMap.h"
#include "sim/Simulator.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
    errno = saved;
}

// While nobody holds the other end, the line is checked this often.
constexpr qint64 FarEndCheckUs = 50000;

} // namespace

qint64 SimLoop::nowUs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

SimLoop::SimLoop(Simulator &sim, const SimOptions &options, FILE *out, FILE *err)
    : m_sim(sim), m_options(options), m_console(sim), m_out(out), m_err(err)
{
}

SimLoop::~SimLoop()
{
    finish();
}

void SimLoop::say(FILE *to, const QString &text)
{
    if (text.isEmpty())
        return;
    std::fputs(text.toLocal8Bit().constData(), to);
    if (!text.endsWith(QLatin1Char('\n')))
        std::fputc('\n', to);
    std::fflush(to);
}

bool SimLoop::start()
{
    if (::pipe(g_signalPipe) != 0) {
        say(m_err, QStringLiteral("zenu-sim: cannot create the signal pipe"));
        return false;
    }
    for (int fd : g_signalPipe)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    struct sigaction sa{};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaction(s, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    if (!attach())
        return false;
    if (!m_options.scriptPath.isEmpty()) {
        QFile f(m_options.scriptPath);
        if (!f.open(QIODevice::ReadOnly)) {
            say(m_err, QStringLiteral("zenu-sim: cannot read the script %1").arg(m_options.scriptPath));
            return false;
        }
        m_script.appendText(QString::fromUtf8(f.readAll()));
    }
    return true;
}

bool SimLoop::attach()
{
    QString error;
    if (!m_pty.open(error)) {
        say(m_err, QStringLiteral("zenu-sim: %1").arg(error));
        return false;
    }
    m_farEndClosed = true;
    if (!m_options.linkPath.isEmpty()) {
        QFile::remove(m_options.linkPath);
        m_linked = QFile::link(m_pty.path(), m_options.linkPath);
        if (!m_linked)
            say(m_err, QStringLiteral("zenu-sim: cannot create the link %1").arg(m_options.linkPath));
    }
    if (!m_options.comName.isEmpty()) {
        try {
            ComMap::add(m_options.comName, m_pty.path());
            m_registered = true;
            m_registeredPath = m_pty.path();
            if (m_options.select)
                ComMap::select(m_options.comName);
            say(m_err, QStringLiteral("zenu-sim: %1 is %2%3").arg(m_options.comName, m_pty.path(),
                                                                   m_options.select ? QStringLiteral(" (selected)") : QString()));
        } catch (const std::exception &e) {
            say(m_err, QStringLiteral("zenu-sim: cannot register %1: %2").arg(m_options.comName, QString::fromLocal8Bit(e.what())));
            return false;
        }
    }
    // The first line of output is the device, on its own, for scripts; by
    // then the link and the map entry are in place.
    say(m_out, m_pty.path());
    return true;
}

void SimLoop::detach()
{
    if (m_registered) {
        try {
            ComMap::remove(m_options.comName, m_registeredPath);
        } catch (const std::exception &e) {
            say(m_err, QStringLiteral("zenu-sim: cannot remove %1: %2").arg(m_options.comName, QString::fromLocal8Bit(e.what())));
        }
        m_registered = false;
    }
    if (m_linked) {
        QFile::remove(m_options.linkPath);
        m_linked = false;
    }
    m_pty.close();
    m_sim.lineLost();
}

void SimLoop::finish()
{
    detach();
    m_sim.saveState();
    for (const QString &n : m_sim.takeNotes())
        say(m_err, QStringLiteral("zenu-sim: ") + n);
    for (int &fd : g_signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SimLoop::runConsole(SimScript &source, qint64 now)
{
    for (const QString &line : source.takeDue(now))
        say(m_out, m_console.execute(line));
}

void SimLoop::readStdin()
{
    char buf[1024];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
        if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
            m_stdinOpen = false;
            if (!m_stdinBuffer.isEmpty())
                m_stdin.append(QString::fromUtf8(m_stdinBuffer));
            m_stdinBuffer.clear();
        }
        return;
    }
    m_stdinBuffer.append(buf, n);
    qsizetype nl;
    while ((nl = m_stdinBuffer.indexOf('\n')) >= 0) {
        m_stdin.append(QString::fromUtf8(m_stdinBuffer.left(nl)));
        m_stdinBuffer.remove(0, nl + 1);
    }
}

int SimLoop::run()
{
    for (const QString &n : m_sim.takeNotes())
        say(m_err, QStringLiteral("zenu-sim: ") + n);
    for (const QString &f : m_options.faults)
        say(m_out, m_console.execute(QStringLiteral("line ") + f));

    bool writeBlocked = false;
    while (!m_sim.quitRequested()) {
        qint64 now = nowUs();
        runConsole(m_script, now);
        runConsole(m_stdin, now);
        for (const QString &n : m_sim.takeNotes())
            say(m_err, QStringLiteral("zenu-sim: ") + n);

        switch (m_sim.takeLineRequest()) {
        case Simulator::LineRequest::Unplug:
            detach();
            say(m_err, QStringLiteral("zenu-sim: unplugged"));
            break;
        case Simulator::LineRequest::Plug:
            if (!m_pty.isOpen() && !attach())
                return 1;
            break;
        case Simulator::LineRequest::None:
            break;
        }
        if (m_sim.quitRequested())
            break;

        if (m_pty.isOpen()) {
            const bool closed = m_pty.farEndClosed();
            if (closed && !m_farEndClosed)
                m_sim.lineLost(); // nobody listens: what was on its way is gone
            m_farEndClosed = closed;
        }

        // Output: whatever the pacer allows and the line takes.
        writeBlocked = false;
        if (m_pty.isOpen() && !m_farEndClosed) {
            const QByteArray out = m_sim.pendingOutput(now);
            if (!out.isEmpty()) {
                const int n = m_pty.write(out);
                if (n > 0)
                    m_sim.wrote(n, now);
                writeBlocked = n < out.size();
            }
        } else if (m_sim.pacer().busy()) {
            m_sim.lineLost();
        }

        qint64 wake = m_sim.nextWakeUs(now);
        for (SimScript *s : {&m_script, &m_stdin})
            if (const auto t = s->nextUs())
                wake = std::min(wake, *t);
        if (!m_pty.isOpen() || m_farEndClosed)
            wake = std::min(wake, now + FarEndCheckUs);

        pollfd fds[3];
        int nfds = 0;
        fds[nfds++] = {g_signalPipe[0], POLLIN, 0};
        const int stdinIndex = m_stdinOpen ? nfds : -1;
        if (m_stdinOpen)
            fds[nfds++] = {STDIN_FILENO, POLLIN, 0};
        const int ptyIndex = m_pty.isOpen() && !m_farEndClosed ? nfds : -1;
        if (ptyIndex >= 0)
            fds[nfds++] = {m_pty.fd(), short(POLLIN | (writeBlocked ? POLLOUT : 0)), 0};

        const qint64 waitUs = std::max<qint64>(0, wake - now);
        const int timeoutMs = int(std::min<qint64>((waitUs + 999) / 1000, 1000));
        const int r = ::poll(fds, nfds, timeoutMs);
        if (r < 0 && errno != EINTR) {
            say(m_err, QStringLiteral("zenu-sim: poll failed"));
            return 1;
        }
        now = nowUs();
        if (r > 0) {
            if (fds[0].revents & POLLIN)
                break; // a signal asked us to stop
            if (stdinIndex >= 0 && fds[stdinIndex].revents & (POLLIN | POLLHUP | POLLERR))
                readStdin();
            if (ptyIndex >= 0 && fds[ptyIndex].revents & (POLLIN | POLLHUP)) {
                bool hungUp = false;
                const QByteArray in = m_pty.read(hungUp);
                if (!in.isEmpty())
                    m_sim.lineInput(in, now);
                if (hungUp && in.isEmpty()) {
                    m_farEndClosed = true;
                    m_sim.lineLost();
                }
            }
        }
        m_sim.tick(now);
    }
    return 0;
}
