// Whatever is played on both keyboards and whatever the console does meanwhile, no note is left
// sounding on the module once every key is up. Random sequences, reproducible by their seed
// (KAVEL_PROPERTY_SEED=N runs that one alone); a failure prints its seed and the few steps
// left after shrinking that still fail, quoted for a fixed case.

#include "RegistrationFixture.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

namespace kavel::test {
namespace {

// A step is one line: "in1 90 3C 64" (a message at input 1), "late in2 80 3C 40" (arriving
// while the console is busy: handled at the next wait or before the next message),
// "UNPI_Click", "c_memory_Click 3", "MODO_THRU=1", "CANALE_APPRESO(2)=9".
using Steps = std::vector<std::string>;
using Key = std::tuple<int, int, int>; // input 1..2, channel 0..15, note

// Console actions by name; the memory ones take an index 1..12.
struct Action {
    bool indexed;
    std::function<void(Kavel&, int)> run;
};
const std::map<std::string, Action> kActions = {
    {"UNPI_Click", {false, [](Kavel& k, int) { k.registration.UNPI_Click(); }}},
    {"UNPII_Click", {false, [](Kavel& k, int) { k.registration.UNPII_Click(); }}},
    {"UN_GOSW_Click", {false, [](Kavel& k, int) { k.registration.UN_GOSW_Click(); }}},
    {"UN_SWGO_Click", {false, [](Kavel& k, int) { k.registration.UN_SWGO_Click(); }}},
    {"Subottava_Click", {false, [](Kavel& k, int) { k.registration.Subottava_Click(); }}},
    {"THRUBUTTON_Click", {false, [](Kavel& k, int) { k.thru.THRUBUTTON_Click(); }}},
    {"CancelALL_Click", {false, [](Kavel& k, int) { k.registration.CancelALL_Click(); }}},
    {"RESET_Click", {false, [](Kavel& k, int) { k.registration.RESET_Click(); }}},
    {"Panic_Click", {false, [](Kavel& k, int) { k.sender.Panic_Click(); }}},
    {"Rec_button_Click", {false, [](Kavel& k, int) { k.memories.Rec_button_Click(); }}},
    {"c_memory_Click", {true, [](Kavel& k, int n) { k.memories.c_memory_Click(n); }}},
    {"Ledfree_Click", {true, [](Kavel& k, int n) { k.memories.Ledfree_Click(n); }}},
    {"Graduatore_Click", {true, [](Kavel& k, int n) { k.memories.Graduatore_Click(n); }}},
    {"LedFix_Click", {true, [](Kavel& k, int n) { k.memories.LedFix_Click(n); }}},
};

// Keys pressed and not released by the end of the steps.
std::set<Key> heldAfter(const Steps& steps) {
    std::set<Key> held;
    for (const auto& step : steps) {
        std::istringstream in(step);
        std::string word;
        in >> word;
        if (word == "late") in >> word;
        if (word != "in1" && word != "in2") continue;
        unsigned status = 0, note = 0, velocity = 0;
        in >> std::hex >> status >> note >> velocity;
        const Key key{word == "in1" ? 1 : 2, static_cast<int>(status & 0x0F),
                      static_cast<int>(note)};
        if ((status & 0xF0) == 0x90 && velocity > 0) held.insert(key);
        if ((status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && velocity == 0)) held.erase(key);
    }
    return held;
}

// Notes the module still plays at the end, as a GS module counts them: a note-on starts the
// note; a release of that channel and note, or an All Notes Off on that channel, ends every
// voice of it.
std::vector<std::string> stillSounding(const std::vector<SentMessage>& sent) {
    std::array<std::array<bool, 128>, 16> on{};
    for (const auto& m : sent) {
        if (m.bytes.size() != 3) continue;
        const int type = m.bytes[0] & 0xF0;
        auto& channel = on[m.bytes[0] & 0x0F];
        if (type == 0x90 && m.bytes[2] > 0)
            channel[m.bytes[1]] = true;
        else if (type == 0x80 || type == 0x90)
            channel[m.bytes[1]] = false;
        else if (type == 0xB0 && m.bytes[1] == 0x7B)
            channel.fill(false);
    }
    std::vector<std::string> notes;
    for (int c = 0; c < 16; ++c)
        for (int n = 0; n < 128; ++n)
            if (on[c][n]) notes.push_back(hexBytes(bytes({0x90 | c, n})));
    return notes;
}

// A console with the shipped organ, built afresh for every run so that a seed replays alone.
class Console : public RegistrationFixture {
  public:
    Console() {
        out.onSend = nullptr; // only what was sent matters here
        loop.onTimerStarted = nullptr;
        auto& k = console();
        k.routing.setConsoleFunctions(nullptr); // the keyboards drive the console itself
        // Memories that differ in couplers, sub-octave and organ body (0 keeps the live one).
        auto& r = k.state.registration;
        for (std::size_t s = 1; s <= 24; ++s) {
            r.UNIONE_PED[s] = static_cast<int>(s % 3);
            r.UNIONE_MAN[s] = static_cast<int>(s / 3 % 3);
            r.SUBOTTAVA_PED[s] = static_cast<int>(s / 9 % 2);
            r.CORPO_ORGANO[s] = static_cast<int>(s % 4);
        }
        out.sent.clear();
    }
    void TestBody() override {}

    // Runs the steps, releases every key still down, and says what is left sounding.
    std::vector<std::string> run(const Steps& steps) {
        for (const auto& step : steps)
            this->step(step);
        loop.processPendingEvents();
        for (const auto& [input, channel, note] : heldAfter(steps))
            play(input, bytes({0x80 | channel, note, 0x40}));
        return stillSounding(out.sent);
    }

  private:
    void step(const std::string& text) {
        auto& k = console();
        std::istringstream in(text);
        std::string word;
        in >> word;
        const bool late = word == "late";
        if (late) in >> word;
        if (word == "in1" || word == "in2") {
            std::vector<std::uint8_t> message;
            for (unsigned b = 0; in >> std::hex >> b;)
                message.push_back(static_cast<std::uint8_t>(b));
            FakeMidiInput& input = word == "in1" ? in1 : in2;
            auto deliver = [&input, message] {
                input.inject(message);
                input.dispatch();
            };
            if (late) return loop.postNow(deliver);
            loop.processPendingEvents(); // what arrived earlier goes first
            return deliver();
        }
        if (const auto action = kActions.find(word); action != kActions.end()) {
            int index = 0;
            in >> index;
            return action->second.run(k, index);
        }
        auto& midi = k.state.midi;
        const auto eq = word.find('=');
        const std::string name = word.substr(0, eq);
        const int value = eq == std::string::npos ? 0 : std::stoi(word.substr(eq + 1));
        if (name == "MODO_THRU")
            midi.MODO_THRU = value;
        else if (name == "APPRENDI_CANALE")
            midi.APPRENDI_CANALE = value != 0;
        else if (name == "INDICE_APPRENDI")
            midi.INDICE_APPRENDI = value;
        else if (name == "RITARDO_SYSEX")
            midi.RITARDO_SYSEX = value;
        else if (name.size() == 17 && name.starts_with("CANALE_APPRESO("))
            midi.CANALE_APPRESO.at(static_cast<std::size_t>(name[15] - '0')) = value;
        else
            ADD_FAILURE() << "unknown step: " << text;
    }
};

std::string hex(int b) {
    return hexBytes(bytes({b}));
}

// A sequence of 20..80 steps. Keys come from a few notes that are also Total Recall commands
// and memories, and an octave apart for the sub-octave; channels 1..3 most often.
Steps generate(std::uint32_t seed) {
    std::mt19937 rng(seed);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
    static constexpr std::array kNotes = {5,  24, 36, 41, 48, 49, 50, 51, 52, 53,
                                          54, 55, 57, 59, 60, 62, 72, 73, 90};
    Steps steps;
    std::vector<Key> held; // kept in step order, so that the same seed picks the same key
    const int count = pick(20, 80);
    for (int i = 0; i < count; ++i) {
        const int channel = pick(0, 1) ? pick(0, 2) : pick(0, 15);
        const std::string input = pick(1, 2) == 1 ? "in1" : "in2";
        auto midi = [&](std::initializer_list<int> message, const std::string& port) {
            std::string s = (pick(0, 9) == 0 ? "late " : "") + port;
            for (int b : message)
                s += " " + hex(b);
            steps.push_back(s);
        };
        const int roll = pick(0, 99);
        if (roll < 35) { // a press, now and then of a key already down
            Key key{input == "in1" ? 1 : 2, channel,
                    kNotes[static_cast<std::size_t>(pick(0, static_cast<int>(kNotes.size()) - 1))]};
            if (!held.empty() && pick(0, 9) == 0)
                key = held[static_cast<std::size_t>(pick(0, static_cast<int>(held.size()) - 1))];
            const auto [in, c, note] = key;
            midi({0x90 | c, note, pick(1, 127)}, in == 1 ? "in1" : "in2");
            if (std::find(held.begin(), held.end(), key) == held.end()) held.push_back(key);
        } else if (roll < 62 && !held.empty()) { // a release, as note-off or note-on 0
            const auto at = held.begin() + pick(0, static_cast<int>(held.size()) - 1);
            const auto [in, c, note] = *at;
            held.erase(at);
            midi({(pick(0, 1) ? 0x80 : 0x90) | c, note, pick(0, 1) ? 0x40 : 0},
                 in == 1 ? "in1" : "in2");
        } else if (roll < 70) { // the sustain pedal: the switch event, or its panic
            midi({0xB0 | channel, 0x40, pick(0, 1) ? 0x7F : 0}, input);
        } else if (roll < 73) {
            midi({0xC0 | channel, pick(0, 60)}, input);
        } else if (roll < 76) { // the pitch wheel on the Pedal toggles the pedal couplers
            midi({0xE0 | channel, 0, std::array{0x4E, 0x30, 0x40}[pick(0, 2)]}, input);
        } else if (roll < 79) {
            steps.push_back("MODO_THRU=" + std::to_string(pick(0, 2)));
        } else if (roll < 82) {
            steps.push_back("CANALE_APPRESO(" + std::to_string(pick(0, 2)) +
                            ")=" + std::to_string(pick(0, 1) ? pick(0, 3) : pick(0, 15)));
        } else if (roll < 84) {
            steps.push_back("APPRENDI_CANALE=" + std::to_string(pick(0, 1)));
            steps.push_back("INDICE_APPRENDI=" + std::to_string(pick(0, 3)));
        } else if (roll < 85) {
            steps.push_back("RITARDO_SYSEX=" + std::to_string(pick(0, 1) * 3));
        } else {
            const auto& [name, action] =
                *std::next(kActions.begin(), pick(0, static_cast<int>(kActions.size()) - 1));
            steps.push_back(action.indexed ? name + " " + std::to_string(pick(1, 12)) : name);
        }
    }
    return steps;
}

bool fails(const Steps& steps) {
    return !Console().run(steps).empty();
}

// Delta debugging: drop chunks of halving size, then single steps, while it still fails.
Steps shrink(Steps steps) {
    for (bool smaller = true; smaller;) {
        smaller = false;
        for (std::size_t chunk = steps.size() / 2; chunk >= 1; chunk /= 2) {
            for (std::size_t at = 0; at < steps.size();) {
                Steps fewer = steps;
                fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(at),
                            fewer.begin() +
                                static_cast<std::ptrdiff_t>(std::min(at + chunk, steps.size())));
                if (fails(fewer)) {
                    steps = std::move(fewer);
                    smaller = true;
                } else {
                    at += chunk;
                }
            }
        }
    }
    return steps;
}

std::string lines(const Steps& steps) {
    std::string text;
    for (const auto& s : steps)
        text += "    \"" + s + "\",\n";
    return text;
}

TEST(StuckNoteProperty, EveryNoteSentIsReleased) {
    // Sized to stay a few seconds long, even under AddressSanitizer. KAVEL_PROPERTY_SEED=S
    // replays seed S alone, KAVEL_PROPERTY_RUNS=N runs N seeds from there.
    std::uint32_t first = 1, runs = 2000;
    if (const char* seed = std::getenv("KAVEL_PROPERTY_SEED")) {
        first = static_cast<std::uint32_t>(std::stoul(seed));
        runs = 1;
    }
    if (const char* n = std::getenv("KAVEL_PROPERTY_RUNS"))
        runs = static_cast<std::uint32_t>(std::stoul(n));
    std::size_t steps = 0;
    for (std::uint32_t seed = first; seed < first + runs; ++seed) {
        const Steps sequence = generate(seed);
        steps += sequence.size();
        if (!fails(sequence)) continue;
        const Steps reproducer = shrink(sequence);
        std::string notes;
        for (const auto& n : Console().run(reproducer))
            notes += " [" + n + "]";
        ADD_FAILURE() << "seed " << seed << " (KAVEL_PROPERTY_SEED=" << seed << "), shrunk to "
                      << reproducer.size() << " steps, then every key still down released;"
                      << " left sounding:" << notes << "\n"
                      << lines(reproducer);
        return;
    }
    std::printf("[ property ] %u sequences, %zu steps, from seed %u\n", runs, steps, first);
}

} // namespace
} // namespace kavel::test
