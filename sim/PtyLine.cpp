#include "sim/PtyLine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyLine::~PtyLine()
{
    close();
}

bool PtyLine::open(QString &error)
{
    close();
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = QStringLiteral("posix_openpt: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (grantpt(fd) != 0 || unlockpt(fd) != 0) {
        error = QStringLiteral("unlocking the pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return false;
    }
    const char *name = ptsname(fd);
    if (!name) {
        error = QStringLiteral("ptsname: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return false;
    }
    // Raw from the start, so nothing the program sends before it sets up the
    // line is echoed back or mangled.
    termios tio{};
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    m_fd = fd;
    m_path = QString::fromLocal8Bit(name);
    return true;
}

void PtyLine::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

QByteArray PtyLine::read(bool &hungUp)
{
    hungUp = false;
    QByteArray out;
    if (m_fd < 0)
        return out;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0) {
            out.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EIO: the other end is closed (or was never opened).
        if (n == 0 || errno == EIO)
            hungUp = true;
        break;
    }
    return out;
}

int PtyLine::write(const QByteArray &bytes)
{
    if (m_fd < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::write(m_fd, bytes.constData(), size_t(bytes.size()));
        if (n >= 0)
            return int(n);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return 0;
        return -1;
    }
}

bool PtyLine::farEndClosed() const
{
    if (m_fd < 0)
        return true;
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0)
        return false;
    return (p.revents & POLLHUP) && !(p.revents & POLLIN);
}
