#pragma once

// A console with the shipped organ loaded, the output open and a reset done: what each test
// then sends is logged by name ("E43" a Stops Table entry, "T5" the temperament of part 5,
// "wait 100", or the hex of a controller).

#include "GsModule.h"
#include "RoutingFixture.h"

#include <algorithm>
#include <optional>

namespace kavel::test {

namespace fs = std::filesystem;

class RegistrationFixture : public RoutingFixture {
  protected:
    RegistrationFixture() {
        auto& k = console();
        k.state.config.PATH_DAT = (folder / "kavel.DAT").string();
        k.state.panel.INTERFACCIA_GRAFICA = true;
        k.panel.LOAD_GRAPHIC_INTERFACE();
        k.tableFile.CARICAMENTO_DAT();
        k.stopNames.CARICAMENTO_LIST_BOXES();
        k.state.memories.BERSAGLIO_RECALL = 11; // as start-up leaves it
        k.registration.RESET_Click();
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
            // Named by what they tune, so a wrong temperament string cannot pass as one.
            if (auto part = temperamentPart(bytes)) return "T" + std::to_string(*part);
            for (int i = 0; i < kStopsTableSize; ++i)
                if (k.state.stops.STOPS_TABLE[static_cast<std::size_t>(i)] == s)
                    return "E" + std::to_string(i);
        }
        return hexBytes(bytes);
    }

    // The module part a message tunes, when it is the chosen temperament's scale tuning for
    // that part as the template and the start note make it: the template's twelve values
    // rotated by the start note, at the part's GS address, with a good checksum. Worked out
    // here from the Stops Table, not taken from the strings the console built.
    std::optional<int> temperamentPart(const std::vector<std::uint8_t>& m) const {
        const auto& k = *core;
        const int t = k.state.advanced.TEMPERAMENTO;
        if (t < 0 || t > 11 || m.size() != 22 || m[21] != 0xF7) return std::nullopt;
        const std::string& templ = k.state.stops.STOPS_TABLE[static_cast<std::size_t>(10 + t)];
        if (templ.size() < 22) return std::nullopt;
        const int n = k.state.advanced.NOTA_INIZIO_TEMP;
        for (int j = 0; j < 12; ++j)
            if (m[static_cast<std::size_t>(8 + j)] !=
                static_cast<unsigned char>(
                    templ[static_cast<std::size_t>(8 + ((j - n) % 12 + 12) % 12)]))
                return std::nullopt;
        for (std::size_t b : {0u, 1u, 2u, 3u, 4u, 7u})
            if (m[b] != static_cast<unsigned char>(templ[b])) return std::nullopt;
        int sum = 0;
        for (std::size_t b = 5; b <= 19; ++b)
            sum += m[b];
        if (m[20] != (128 - sum % 128) % 128) return std::nullopt;
        // Blocks 11..19 are parts 1..9, 10 is part 10, 1A..1F parts 11..16; 50 the second group.
        const int block = m[6];
        int q = 0;
        if (block >= 0x11 && block <= 0x19) q = block - 0x10;
        if (block == 0x10) q = 10;
        if (block >= 0x1A && block <= 0x1F) q = block - 0x1A + 11;
        if (q == 0 || (m[5] != 0x40 && m[5] != 0x50)) return std::nullopt;
        return q + (m[5] == 0x50 ? 16 : 0);
    }

    void clearLog() { log.clear(); }

    std::vector<std::string> log;
    GsModule module;
};

} // namespace kavel::test
