// The GS front end on its own: what reaches the synthesizer for messages a module takes,
// and what it leaves alone and counts.

#include "module/GsFrontEnd.h"
#include "Recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kavel::test {

namespace {

// Notes as the synthesizer is told them: "on P K" / "off P K" (part from 1).
class NoteLog : public SilentSynthesizer {
  public:
    std::vector<std::string> notes;
    void noteOn(int p, int k, int) override { add("on", p, k); }
    void noteOff(int p, int k) override { add("off", p, k); }

  private:
    void add(const char* what, int p, int k) {
        notes.push_back(std::string(what) + " " + std::to_string(p + 1) + " " + std::to_string(k));
    }
};

std::vector<std::uint8_t> hex(const std::string& text) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

} // namespace

TEST(GsFrontEnd, CountsWhatItLeavesAlone) {
    struct Case {
        const char* message;
        int unknown, damaged, notForUs;
    };
    const Case cases[] = {
        {"F0 41 10 42 12 40 11 19 64 32 F7", 0, 0, 0}, // part level: known
        {"F0 41 10 42 12 40 11 19 00 16 F7", 0, 0, 0}, // checksum 00 is a good checksum
        {"F0 41 7F 42 12 40 11 19 64 32 F7", 0, 0, 0}, // broadcast device
        {"F0 41 10 42 12 40 11 19 64 33 F7", 0, 1, 0}, // wrong checksum
        {"F0 41 10 42 12 40 11 19 F7", 0, 1, 0},       // cut short
        {"F0 41 10 42 12 40 11 19 80 32 F7", 0, 1, 0}, // data byte above 7F
        {"F0 41 10 42 12 40 11 19 64 32", 0, 1, 0},    // no F7
        {"F0 41 11 42 12 40 11 19 64 32 F7", 0, 0, 1}, // another device number
        {"F0 43 10 4C 00 00 7E 00 F7", 0, 0, 1},       // another maker
        {"F0 41 10 42 11 40 11 19 64 32 F7", 0, 0, 1}, // a request, not a DT1
        {"F0 41 10 42 12 40 11 1C 40 53 F7", 1, 0, 0}, // part pan: not acted on
        {"F0 41 10 42 12 40 01 38 02 05 F7", 1, 0, 0}, // chorus macro
    };
    for (const auto& c : cases) {
        NoteLog log;
        module::GsFrontEnd front(log);
        const auto bytes = hex(c.message);
        front.receive(bytes.data(), bytes.size());
        EXPECT_EQ(front.counts().unknown, static_cast<unsigned>(c.unknown)) << c.message;
        EXPECT_EQ(front.counts().damaged, static_cast<unsigned>(c.damaged)) << c.message;
        EXPECT_EQ(front.counts().notForUs, static_cast<unsigned>(c.notForUs)) << c.message;
        if (c.damaged + c.notForUs > 0) {
            EXPECT_EQ(front.part(2).level, 100) << c.message;
        }
    }
}

TEST(GsFrontEnd, NotesReachEveryPartOnTheChannelAsItsSettingsAllow) {
    struct Case {
        const char* setup;  // SysEx stream before the keys
        const char* played; // channel messages
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // Parts 1 and 2 both on channel 1; part 2 shifted up an octave.
        {"F0 41 10 42 12 40 12 02 00 2C F7 F0 41 10 42 12 40 12 16 4C 4C F7",
         "90 3C 64 80 3C 00",
         {"on 1 60", "on 2 72", "off 1 60", "off 2 72"}},
        // Key range 7F 00 mutes part 1; a key held from before is still released.
        {"",
         "90 3C 64 "
         "F0 41 10 42 12 40 11 1D 7F 00 13 F7 "
         "90 3E 64 80 3C 00 80 3E 00",
         {"on 1 60", "off 1 60"}},
        // The key shift changed under a held key: its release finds the note it started.
        {"", "90 3C 64 F0 41 10 42 12 40 11 16 4C 4D F7 80 3C 00", {"on 1 60", "off 1 60"}},
        // Block B hears the one input only in the two-block mode.
        {"F0 41 10 42 12 00 00 7F 01 00 F7", "92 30 64", {"on 3 48", "on 19 48"}},
        {"", "92 30 64", {"on 3 48"}},
        // Rx NOTE MESSAGE off: no new notes.
        {"F0 41 10 42 12 40 11 08 00 27 F7", "90 3C 64", {}},
        // Rx channel OFF.
        {"F0 41 10 42 12 40 11 02 10 1D F7", "90 3C 64", {}},
    };
    for (const auto& c : cases) {
        NoteLog log;
        module::GsFrontEnd front(log);
        for (const char* text : {c.setup, c.played}) {
            const auto bytes = hex(std::string(text) + " ");
            front.receiveStream(bytes.data(), bytes.size());
        }
        EXPECT_EQ(log.notes, c.expected) << c.setup << " | " << c.played;
    }
}

} // namespace kavel::test
