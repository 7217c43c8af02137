#pragma once

// Wakes the user-interface thread when MIDI input has been queued on a driver thread. The
// driver side only writes to an eventfd: no allocation, no lock. The user-interface side then
// raises the inputs' Message events.

#include "midi/MidiPorts.h"

#include <QSocketNotifier>

#include <memory>
#include <vector>

namespace kavel {

class InputWaker {
  public:
    InputWaker();
    ~InputWaker();
    InputWaker(const InputWaker&) = delete;
    InputWaker& operator=(const InputWaker&) = delete;

    // Thread-safe and allocation-free.
    void wake() noexcept;
    // The inputs whose events run when woken.
    void watch(MidiInput& input) { inputs_.push_back(&input); }

  private:
    void drain();

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<MidiInput*> inputs_;
};

} // namespace kavel
