#pragma once

// The core's event loop on Qt: pending events are Qt's, and Timer1 is a precise QTimer, so a
// wait of 20 ms lasts 20 ms and not a system tick more.

#include "console/EventLoop.h"

#include <QTimer>

namespace kavel {

class QtEventLoop : public EventLoop {
  public:
    QtEventLoop();
    void processPendingEvents() override;
    void processEventsOrWait() override;
    void startTimer(int msec, std::function<void()> onTimer) override;
    void stopTimer() override;

  private:
    QTimer timer_;
    std::function<void()> onTimer_;
};

} // namespace kavel
