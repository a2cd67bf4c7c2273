#pragma once

#include <QByteArray>
#include <QString>

// The controller's end of a pseudo-terminal (POSIX only). The program opens
// the other end, path(), as its serial port. All calls are non-blocking.
class PtyLine
{
public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine &) = delete;
    PtyLine &operator=(const PtyLine &) = delete;

    // Opens a new pseudo-terminal in raw mode; false with a reason on failure.
    bool open(QString &error);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    QString path() const { return m_path; }

    // What is waiting (empty when nothing). `hungUp` tells that nobody has
    // the other end open.
    QByteArray read(bool &hungUp);
    // Bytes taken by the line (0 when it is full), -1 on a hard error.
    int write(const QByteArray &bytes);
    // True while nobody has the other end open.
    bool farEndClosed() const;

private:
    int m_fd = -1;
    QString m_path;
};
