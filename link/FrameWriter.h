#pragma once

#include <QByteArray>

// Where SendFrame puts its pieces. The real line (PacedWriter) keeps the
// pauses without holding up its thread; tests record the calls instead, so
// the piece rule can be checked without a port or a clock.
class FrameWriter
{
public:
    virtual ~FrameWriter() = default;
    virtual void write(const QByteArray &bytes) = 0;
    virtual void pause(int milliseconds) = 0;
};
