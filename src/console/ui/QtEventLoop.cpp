#include "console/ui/QtEventLoop.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace kavel {

QtEventLoop::QtEventLoop() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        auto fire = onTimer_; // the handler may stop the timer
        if (fire) fire();
    });
}

void QtEventLoop::processPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventLoop::processEventsOrWait() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtEventLoop::startTimer(int msec, std::function<void()> onTimer) {
    onTimer_ = std::move(onTimer);
    timer_.start(msec);
}

void QtEventLoop::stopTimer() {
    timer_.stop();
    onTimer_ = nullptr;
}

} // namespace kavel
