#pragma once

// One source of output devices behind the output control: a MIDI system (ALSA through RtMidi,
// JACK through Kavel's own client) or the built-in GS module. The output control lists the
// systems one after another in a fixed order, so a device's number is its place in that
// concatenation; everything here runs on the user-interface thread.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kavel {

class OutputSystem {
  public:
    virtual ~OutputSystem() = default;

    // The names shown in the device list, each prefixed by its system ("JACK: ...").
    // `refresh`: ask the system again; otherwise the list last read.
    virtual std::vector<std::string> devices(bool refresh) = 0;
    // Opens device `index` of this system's last list; throws PortError (kOpenFailed) and
    // stays closed.
    virtual void open(std::size_t index) = 0;
    virtual void close() = 0;
    // One complete MIDI message (a short message or one SysEx F0..F7). False when the system
    // refused it.
    virtual bool send(const std::uint8_t* bytes, std::size_t size) = 0;

    // What `check` found: the open device went away (the port is then closed by the caller),
    // and the faults the system reported since the last look.
    struct Health {
        std::string lost;
        std::vector<std::string> faults;
    };
    virtual Health check() { return {}; }
};

} // namespace kavel
