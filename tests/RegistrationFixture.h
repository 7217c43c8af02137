#pragma once

// A console with the shipped organ loaded, the output open and a reset done: what each test
// then sends is logged by name ("E43" a Stops Table entry, "T5" the temperament of part 5,
// "wait 100", or the hex of a controller).

#include "GsModule.h"
#include "RoutingFixture.h"

#include <algorithm>

namespace kavel::test {

namespace fs = std::filesystem;

class RegistrationFixture : public RoutingFixture {
  protected:
    RegistrationFixture() {
        auto& k = console();
        k.state.config.PATH_DAT = (folder / "kavel.DAT").string();
        k.state.panel.INTERFACCIA_GRAFICA = true;
        k.LOAD_GRAPHIC_INTERFACE();
        k.CARICAMENTO_DAT();
        k.CARICAMENTO_LIST_BOXES();
        k.state.memories.BERSAGLIO_RECALL = 11; // as start-up leaves it
        k.RESET_Click();
        for (const auto& m : out.sent)
            module.apply(m.bytes);
        clearLog();
        loop.onTimerStarted = [this](int ms) { log.push_back("wait " + std::to_string(ms)); };
        out.onSend = [this](const std::vector<std::uint8_t>& bytes) {
            log.push_back(nameOf(bytes));
            module.apply(bytes);
        };
    }

    std::string nameOf(const std::vector<std::uint8_t>& bytes) const {
        const std::string s(bytes.begin(), bytes.end());
        const auto& k = *core;
        if (!s.empty() && bytes[0] == 0xF0) {
            // Part 1's temperament string is the template entry itself: call it T1.
            for (int p = 1; p <= 32; ++p)
                if (k.state.midi.TEMP_SYSEX[static_cast<std::size_t>(p)] == s)
                    return "T" + std::to_string(p);
            for (int i = 0; i < kStopsTableSize; ++i)
                if (k.state.stops.STOPS_TABLE[static_cast<std::size_t>(i)] == s)
                    return "E" + std::to_string(i);
        }
        return hexBytes(bytes);
    }

    void clearLog() { log.clear(); }

    std::vector<std::string> log;
    GsModule module;
};

} // namespace kavel::test
