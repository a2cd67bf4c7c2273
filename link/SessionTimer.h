#pragma once

#include "link/LinkInterfaces.h"

class QTimer;

// A link timer on one of the window's QTimers. The window keeps the QTimer
// (it owns the components) and connects its timeout to the session.
class SessionTimer : public LinkTimer
{
public:
    explicit SessionTimer(QTimer &timer);

    void start() override;
    void stop() override;
    void setInterval(int milliseconds) override;
    int interval() const override;
    bool isActive() const override;

private:
    QTimer &m_timer;
};
