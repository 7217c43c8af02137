#pragma once

// Finding ports by name, for the JACK tests and the latency benchmark.

#include <string>

namespace kavel::test {

// The device number under which one of Kavel's port controls lists `name`, or -1.
template <typename Port> int indexOf(Port& port, const std::string& name) {
    const int n = port.DeviceCount();
    for (int i = 0; i < n; ++i) {
        port.DeviceID(i);
        if (port.DeviceName() == name) return i;
    }
    return -1;
}

// The RtMidi port whose name contains `part`, or -1.
template <typename Rt> int rtPortContaining(Rt& client, const std::string& part) {
    for (unsigned i = 0; i < client.getPortCount(); ++i)
        if (client.getPortName(i).find(part) != std::string::npos) return static_cast<int>(i);
    return -1;
}

} // namespace kavel::test
