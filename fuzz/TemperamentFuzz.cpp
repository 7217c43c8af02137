// PREPARA_TEMPERAMENTO on any template: the first byte picks the temperament (entry 10..21),
// the next two the start note (any 16-bit value, as a configuration file may hold), the rest
// is the template.

#include "FuzzConsole.h"
#include "stops_table/SysExCheck.h"

#include <algorithm>

using namespace kavel;
using namespace kavel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // One console for the run: every input sets all the state it reads.
    static const auto console = [] {
        auto c = std::make_unique<Console>(scratchFolder("temperament").string());
        c->startPlaying();
        return c;
    }();
    Kavel& k = **console;
    const int t = data[0] % stops::kTemperamentCount;
    const int start = static_cast<std::int16_t>(data[1] | data[2] << 8);
    const std::string templ(reinterpret_cast<const char*>(data + 3), size - 3);
    k.state.stops.STOPS_TABLE[static_cast<std::size_t>(stops::kTemperaments + t)] = templ;
    k.state.advanced.TEMPERAMENTO = t;
    k.state.advanced.NOTA_INIZIO_TEMP = start;
    auto& parts = k.state.midi.TEMP_SYSEX;
    parts.fill("");
    k.advanced.PREPARA_TEMPERAMENTO();

    FUZZ_CHECK(parts[0].empty());
    if (parts[1].empty()) {
        // Refused: all or nothing.
        FUZZ_CHECK(std::all_of(parts.begin(), parts.end(), [](auto& m) { return m.empty(); }));
        return 0;
    }
    // Each part's message: the template's header and its twelve values rotated to the start
    // note, at that part's own address, with a checksum of its own.
    const int n = ((start % 12) + 12) % 12;
    for (std::size_t p = 1; p <= 32; ++p) {
        const std::string& m = parts[p];
        FUZZ_CHECK(m.size() == 22 && isSoundSysEx(m));
        FUZZ_CHECK(m.compare(0, 5, templ, 0, 5) == 0 && m[7] == templ[7]);
        for (int j = 0; j < 12; ++j)
            FUZZ_CHECK(m[static_cast<std::size_t>(8 + j)] ==
                       templ[static_cast<std::size_t>(8 + (j - n + 12) % 12)]);
        for (std::size_t q = 1; q < p; ++q)
            FUZZ_CHECK(parts[q].compare(5, 3, m, 5, 3) != 0);
    }
    const auto refused = console->out.refusedMessages();
    for (int p = 1; p <= 32; ++p)
        k.sender.Sysex_Temp_sending(p);
    FUZZ_CHECK(console->out.refusedMessages() == refused);
    console->out.sent.clear();
    return 0;
}
