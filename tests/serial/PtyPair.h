#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal for tests: the program side opens slavePath() like any
// serial device, the test plays the controller on the master side. The
// master also sees and changes the line settings of the slave.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool ok() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    void write(const QByteArray &bytes);
    // Everything that arrives within `waitMs` (stops early once `atLeast` bytes are in).
    QByteArray read(int waitMs, int atLeast = -1);

    struct Line {
        unsigned speed = 0;
        int dataBits = 0;
        bool parity = false;
        bool twoStopBits = false;
        bool rtsCts = false;
        bool xonXoff = false;
    };
    Line line() const;
    void setSpeed(unsigned speed);

    // Closes the master; the slave path then disappears.
    void close();

private:
    int m_master = -1;
    QString m_slavePath;
};
