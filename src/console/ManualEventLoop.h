#pragma once

// An event loop on a fake clock for tests and kavel-sim. Actions can be scheduled at a time;
// a wait moves the clock to the next action or timer firing and runs it, so input can arrive
// "during" a wait without any real time passing.

#include "console/EventLoop.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace kavel {

class ManualEventLoop : public EventLoop {
  public:
    double now() const { return now_; }

    // Run `action` when the clock reaches `atMs` (at once if that is already past, at the next
    // processing of events).
    void post(double atMs, std::function<void()> action);
    void postNow(std::function<void()> action) { post(now_, std::move(action)); }
    // Move the clock forward by `ms`, running what falls due on the way.
    void advance(double ms);
    // Called with the interval each time the timer is started.
    std::function<void(int)> onTimerStarted;

    void processPendingEvents() override;
    void processEventsOrWait() override;
    void startTimer(int msec, std::function<void()> onTimer) override;
    void stopTimer() override;

  private:
    std::optional<double> nextEventTime() const;
    void runOne(double at);

    double now_ = 0;
    std::uint64_t sequence_ = 0;
    std::multimap<std::pair<double, std::uint64_t>, std::function<void()>> actions_;
    std::function<void()> onTimer_;
    int interval_ = 0;
    std::optional<double> timerDue_;
};

} // namespace kavel
