#pragma once

// One source of input devices behind an input control: a MIDI system (ALSA through RtMidi,
// JACK through Kavel's own client). The input control lists the systems one after another, so a
// device's number is its place in that concatenation. Everything but the sink's calls runs on
// the user-interface thread.

#include "midi/OutputSystem.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kavel {

// Where an open input hands what it receives, on the MIDI system's own thread: allocation-free
// and lock-free.
class InputSink {
  public:
    virtual ~InputSink() = default;
    virtual void deliver(const std::uint8_t* bytes, std::size_t size) noexcept = 0;
    // After one or more deliveries: the user-interface thread has messages to handle.
    virtual void wake() noexcept = 0;
};

class InputSystem {
  public:
    virtual ~InputSystem() = default;

    // The names shown in the device list, each prefixed by its system ("JACK: ...").
    // `refresh`: ask the system again; otherwise the list last read.
    virtual std::vector<std::string> devices(bool refresh) = 0;
    // Opens device `index` of this system's last list, delivering into `sink` until closed;
    // throws PortError (kOpenFailed) and stays closed.
    virtual void open(std::size_t index, InputSink& sink) = 0;
    // No delivery runs after this returns.
    virtual void close() = 0;
    virtual OutputSystem::Health check() { return {}; }
};

} // namespace kavel
