#include "console/ui/InputWaker.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>

namespace kavel {

InputWaker::InputWaker() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (fd_ < 0) throw std::runtime_error("cannot create the MIDI input wake-up");
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { drain(); });
}

InputWaker::~InputWaker() {
    notifier_.reset();
    ::close(fd_);
}

void InputWaker::wake() noexcept {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(fd_, &one, sizeof one);
}

void InputWaker::drain() {
    std::uint64_t count = 0;
    [[maybe_unused]] auto n = ::read(fd_, &count, sizeof count);
    for (MidiInput* input : inputs_)
        input->dispatch();
}

} // namespace kavel
