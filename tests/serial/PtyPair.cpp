#include "PtyPair.h"

// The kernel's termios2 carries any speed; glibc's <termios.h> cannot be
// included alongside it, so this file talks ioctl only.
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>

PtyPair::PtyPair()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return;
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        ::close(m_master);
        m_master = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(ptsname(m_master));
    // Raw line on the slave: no echo back to the program, no line editing.
    struct termios2 t {};
    ioctl(m_master, TCGETS2, &t);
    t.c_iflag = 0;
    t.c_oflag = 0;
    t.c_lflag = 0;
    ioctl(m_master, TCSETS2, &t);
}

PtyPair::~PtyPair()
{
    close();
}

void PtyPair::close()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}

void PtyPair::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

QByteArray PtyPair::read(int waitMs, int atLeast)
{
    QByteArray out;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now()).count();
        if (left <= 0 || (atLeast >= 0 && out.size() >= atLeast))
            break;
        pollfd p{m_master, POLLIN, 0};
        if (poll(&p, 1, int(left)) <= 0)
            continue;
        char buf[512];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        out.append(buf, n);
    }
    return out;
}

PtyPair::Line PtyPair::line() const
{
    struct termios2 t {};
    ioctl(m_master, TCGETS2, &t);
    Line l;
    l.speed = t.c_ospeed;
    switch (t.c_cflag & CSIZE) {
    case CS5: l.dataBits = 5; break;
    case CS6: l.dataBits = 6; break;
    case CS7: l.dataBits = 7; break;
    default: l.dataBits = 8; break;
    }
    l.parity = (t.c_cflag & PARENB) != 0;
    l.twoStopBits = (t.c_cflag & CSTOPB) != 0;
    l.rtsCts = (t.c_cflag & CRTSCTS) != 0;
    l.xonXoff = (t.c_iflag & (IXON | IXOFF)) != 0;
    return l;
}

void PtyPair::setSpeed(unsigned speed)
{
    struct termios2 t {};
    ioctl(m_master, TCGETS2, &t);
    t.c_cflag &= ~CBAUD;
    t.c_cflag |= BOTHER;
    t.c_ispeed = speed;
    t.c_ospeed = speed;
    ioctl(m_master, TCSETS2, &t);
}
