// Without an ALSA sequencer and without a JACK server, the ports print one line per missing
// MIDI system, however many ports and lists there are.

#include "midi/SystemsInputPort.h"
#include "midi/SystemsOutputPort.h"
#include "midi/jack/JackSystems.h"
#include "midi/rtmidi/RtMidiSystems.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace kavel {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

TEST(QuietStart, EachMissingMidiSystemIsNamedOnce) {
    // Both systems made to fail on any machine: ALSA without a configuration has no "default"
    // sequencer, and no JACK server has this name. Set before the first (and only) try.
    const std::string config = testing::TempDir() + "kavel-empty-alsa.conf";
    std::ofstream(config).flush();
    setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    const std::string server = "kavel-absent-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);

    testing::internal::CaptureStderr();
    JackClient jack;
    RtMidiInputSystem alsaIn1("Kavel In 1"), alsaIn2("Kavel In 2");
    JackInputSystem jackIn1(jack, JackClient::Port::In1, "Kavel In 1");
    JackInputSystem jackIn2(jack, JackClient::Port::In2, "Kavel In 2");
    RtMidiOutputSystem alsaOut("Kavel Out");
    JackOutputSystem jackOut(jack, "Kavel Out");
    SystemsInputPort in1({&alsaIn1, &jackIn1}, [] {});
    SystemsInputPort in2({&alsaIn2, &jackIn2}, [] {});
    SystemsOutputPort out({&alsaOut, &jackOut});
    std::vector<int> counts;
    for (int list = 0; list < 2; ++list) {
        for (MidiPort* port : std::vector<MidiPort*>{&in1, &in2, &out})
            counts.push_back(port->DeviceCount());
        jack.poll(); // looked for again, quietly
    }
    const std::vector<std::string> lines = linesOf(testing::internal::GetCapturedStderr());

    for (int count : counts)
        EXPECT_EQ(count, 0);
    const std::vector<std::string> expected = {
        "Kavel: no ALSA sequencer; ALSA MIDI ports are left out",
        "Kavel: no JACK server; JACK MIDI ports are left out",
    };
    EXPECT_EQ(lines, expected);
}

} // namespace
} // namespace kavel
