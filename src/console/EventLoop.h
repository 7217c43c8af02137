#pragma once

// The event loop as the core sees it: pending events can be processed, and the one window
// timer (Timer1) can be started and stopped. The wait is built on these in the core.

#include <functional>

namespace kavel {

class EventLoop {
  public:
    virtual ~EventLoop() = default;
    // Handle what is already pending and return at once.
    virtual void processPendingEvents() = 0;
    // Block until at least one event has been handled (the timer's among them).
    virtual void processEventsOrWait() = 0;
    // Timer1: fires `onTimer` every `msec` milliseconds while enabled.
    virtual void startTimer(int msec, std::function<void()> onTimer) = 0;
    virtual void stopTimer() = 0;
};

} // namespace kavel
