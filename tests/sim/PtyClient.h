#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// The program's end of the simulator's pseudo-terminal, opened the way a
// serial port is: raw, 8N1, no modem lines touched (a pty has none).
class PtyClient
{
public:
    ~PtyClient() { close(); }

    bool open(const QString &path)
    {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0)
            return false;
        termios tio{};
        tcgetattr(m_fd, &tio);
        cfmakeraw(&tio);
        tcsetattr(m_fd, TCSANOW, &tio);
        return true;
    }
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    bool write(const QByteArray &bytes)
    {
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    struct Reply
    {
        QByteArray bytes;
        int reads = 0;
        qint64 firstMs = -1; // since the call
        qint64 lastMs = -1;
        bool hungUp = false;
    };

    // Reads until `count` bytes arrived, the line hangs up or time runs out.
    Reply read(int count, int timeoutMs)
    {
        Reply r;
        QElapsedTimer clock;
        clock.start();
        while (r.bytes.size() < count && clock.elapsed() < timeoutMs) {
            pollfd p{m_fd, POLLIN, 0};
            const int n = ::poll(&p, 1, int(std::max<qint64>(1, timeoutMs - clock.elapsed())));
            if (n <= 0)
                continue;
            if (p.revents & POLLIN) {
                char buf[4096];
                const ssize_t got = ::read(m_fd, buf, sizeof buf);
                if (got > 0) {
                    if (r.firstMs < 0)
                        r.firstMs = clock.elapsed();
                    r.lastMs = clock.elapsed();
                    r.bytes.append(buf, got);
                    ++r.reads;
                    continue;
                }
            }
            if (p.revents & (POLLHUP | POLLERR)) {
                r.hungUp = true;
                break;
            }
        }
        return r;
    }

private:
    int m_fd = -1;
};
