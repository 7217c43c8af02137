#include "console/ManualEventLoop.h"

#include <algorithm>

namespace kavel {

void ManualEventLoop::post(double atMs, std::function<void()> action) {
    actions_.emplace(std::make_pair(std::max(atMs, now_), sequence_++), std::move(action));
}

std::optional<double> ManualEventLoop::nextEventTime() const {
    std::optional<double> t;
    if (!actions_.empty()) t = actions_.begin()->first.first;
    if (timerDue_ && (!t || *timerDue_ < *t)) t = timerDue_;
    return t;
}

// Runs the action or timer firing due at `at` (the clock is already there).
void ManualEventLoop::runOne(double at) {
    if (!actions_.empty() && actions_.begin()->first.first <= at) {
        auto node = actions_.extract(actions_.begin());
        node.mapped()();
        return;
    }
    if (timerDue_ && *timerDue_ <= at) {
        timerDue_ = *timerDue_ + interval_;
        auto fire = onTimer_; // the handler may stop or restart the timer
        if (fire) fire();
    }
}

void ManualEventLoop::processPendingEvents() {
    // Only what is due now; actions posted meanwhile wait for the next round.
    const auto due = sequence_;
    while (!actions_.empty() && actions_.begin()->first.first <= now_ &&
           actions_.begin()->first.second < due)
        runOne(now_);
    if (timerDue_ && *timerDue_ <= now_) runOne(now_);
}

void ManualEventLoop::processEventsOrWait() {
    const auto next = nextEventTime();
    if (!next) return; // nothing could ever happen: do not hang
    now_ = std::max(now_, *next);
    runOne(now_);
}

void ManualEventLoop::advance(double ms) {
    const double end = now_ + ms;
    for (auto next = nextEventTime(); next && *next <= end; next = nextEventTime()) {
        now_ = std::max(now_, *next);
        runOne(now_);
    }
    now_ = end;
}

void ManualEventLoop::startTimer(int msec, std::function<void()> onTimer) {
    onTimer_ = std::move(onTimer);
    interval_ = std::max(msec, 1);
    timerDue_ = now_ + interval_;
    if (onTimerStarted) onTimerStarted(msec);
}

void ManualEventLoop::stopTimer() {
    timerDue_.reset();
    onTimer_ = nullptr;
}

} // namespace kavel
