#pragma once

// Kavel's three port controls on its own JACK client alone, as the program composes them.

#include "midi/SystemsInputPort.h"
#include "midi/SystemsOutputPort.h"
#include "midi/jack/JackSystems.h"

#include <functional>

namespace kavel::test {

struct KavelJackPorts {
    explicit KavelJackPorts(std::function<void()> wake = [] {})
        : in1({&in1System}, std::move(wake)) {}

    JackClient client;
    JackInputSystem in1System{client, JackClient::Port::In1, "Kavel In 1"};
    JackInputSystem in2System{client, JackClient::Port::In2, "Kavel In 2"};
    JackOutputSystem outSystem{client, "Kavel Out"};
    SystemsInputPort in1;
    SystemsInputPort in2{{&in2System}, [] {}};
    SystemsOutputPort out{{&outSystem}};
};

} // namespace kavel::test
