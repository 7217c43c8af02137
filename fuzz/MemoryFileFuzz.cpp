// A memory file (.sqs) loaded through the File menu's command on a playing console. A load that
// fails says so once, sends nothing and leaves every indicator dark; one that succeeds leaves
// every value within what the console can show, recalls free memory 1, plays all twelve, and
// saves a file that loads back to the same memories and settings.

#include "FuzzConsole.h"

#include <cstring>
#include <fstream>
#include <random>

using namespace kavel;
using namespace kavel::fuzz;

namespace {

constexpr const char* kInvalid = "Invalid SQS file. File corrupted or from Kavel Older Version";

struct Loaded {
    std::array<SlotArray, kFieldCount> memories;
    AdvancedState advanced;
    int labels;
};

Loaded loaded(Kavel& k) {
    Loaded l{{}, k.state.advanced, k.state.memories.MODO_ETICHETTE};
    const auto fields = fieldsInOrder(k.state.registration);
    for (std::size_t f = 0; f < fields.size(); ++f)
        l.memories[f] = *fields[f];
    return l;
}

bool sameMemories(const Loaded& a, const Loaded& b) {
    for (std::size_t f = 0; f < kFieldCount; ++f)
        for (std::size_t slot = 1; slot <= 12; ++slot)
            if (a.memories[f][slot] != b.memories[f][slot]) return false;
    return true;
}

bool within(int v, int low, int high) {
    return v >= low && v <= high;
}

int lastItem(const Kavel& k, const char* list) {
    return static_cast<int>(k.controls.get(list).items.size()) - 1;
}

void checkDark(const Kavel& k) {
    const auto& m = k.state.memories;
    for (int i = 1; i <= 12; ++i) {
        if (m.LED_MEMORIE) {
            FUZZ_CHECK(k.controls.get("LedFree", i).picture == m.PIC_GREEN_OFF);
            FUZZ_CHECK(k.controls.get("LedFix", i).picture == m.PIC_RED_OFF);
        } else {
            FUZZ_CHECK(k.controls.get("C_memory", i).backColour == Colour::system(10));
            FUZZ_CHECK(k.controls.get("Graduatore", i).backColour == Colour::system(10));
        }
    }
}

// What a successful load may leave: the corrected ranges of the memory fields (negative stop
// rows and the fields taken as read aside), and settings their controls can show.
void checkRanges(Kavel& k) {
    const auto fields = fieldsInOrder(k.state.registration);
    for (std::size_t slot = 1; slot <= 12; ++slot) {
        auto v = [&](std::size_t f) { return (*fields[f])[slot]; };
        for (std::size_t f : {0u, 1u})
            FUZZ_CHECK(v(f) <= 29);
        for (std::size_t f = 2; f <= 6; ++f)
            FUZZ_CHECK(v(f) <= 19);
        for (std::size_t f : {7u, 8u, 18u})
            FUZZ_CHECK(v(f) <= 2);
        for (std::size_t f = 9; f <= 11; ++f)
            FUZZ_CHECK(within(v(f), 60, 127));
        for (std::size_t f = 12; f <= 17; ++f)
            FUZZ_CHECK(within(v(f), 0, 127));
    }
    const auto& a = k.state.advanced;
    FUZZ_CHECK(within(a.TEMPERAMENTO, 0, lastItem(k, "Temperamenti")));
    FUZZ_CHECK(within(a.VELOCITA_TREMOLO, 0, 127));
    FUZZ_CHECK(within(a.TIPO_TREMOLO, 0, lastItem(k, "TremoloType")));
    FUZZ_CHECK(within(a.RIVERBERO, 0, lastItem(k, "Riverberi")));
    FUZZ_CHECK(within(k.state.memories.MODO_ETICHETTE, 0, 2));
    FUZZ_CHECK(within(a.NOTA_INIZIO_TEMP, 0, lastItem(k, "NotaInizTemp")));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    static const fs::path folder = scratchFolder("memory_file");
    const fs::path file = folder / "fuzz.sqs";
    const fs::path again = folder / "again.sqs";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<long>(size));

    Console console(folder.string());
    Kavel& k = *console;
    auto& m = k.state.memories;
    m.PIC_GREEN_ON = "green-on";
    m.PIC_GREEN_OFF = "green-off";
    m.PIC_RED_ON = "red-on";
    m.PIC_RED_OFF = "red-off";
    m.PIC_YELLOW_ON = "yellow-on";
    m.LED_MEMORIE = size % 2 == 1; // both indicator modes, each input always the same one
    console.startPlaying();
    k.memories.c_memory_Click(3); // an indicator lit, which the load must darken
    m.MEMORIE_NON_SALVATE = false;
    const std::size_t sentBefore = console.out.sent.size();

    console.user.files.emplace_back(file.string());
    k.memoryFile.Loadfile_Click();
    FUZZ_CHECK(console.user.files.empty());
    FUZZ_CHECK(console.out.refusedMessages() == 0);
    FUZZ_CHECK(console.user.shown.size() <= 1);
    if (!console.user.shown.empty()) {
        FUZZ_CHECK(console.user.shown[0].text == kInvalid);
        FUZZ_CHECK(console.out.sent.size() == sentBefore); // no reset, no recall
        FUZZ_CHECK(m.ULTIMA_MEMORIA == 3);
        checkDark(k);
        return 0;
    }

    FUZZ_CHECK(m.ULTIMA_MEMORIA == 1 && m.MEMORIA_INTATTA && !m.REC_MEMORIA);
    FUZZ_CHECK(console.out.sent.size() > sentBefore);
    checkRanges(k);
    const Loaded first = loaded(k);

    // What was loaded saves, and loads back the same.
    console.user.files.emplace_back(again.string());
    k.memoryFile.savefile_Click();
    FUZZ_CHECK(console.user.shown.empty());
    console.user.files.emplace_back(again.string());
    k.memoryFile.Loadfile_Click();
    FUZZ_CHECK(console.user.shown.empty());
    const Loaded second = loaded(k);
    FUZZ_CHECK(sameMemories(first, second));
    FUZZ_CHECK(second.labels == first.labels);
    const auto& a = first.advanced;
    const auto& b = second.advanced;
    FUZZ_CHECK(a.TEMPERAMENTO == b.TEMPERAMENTO && a.VELOCITA_TREMOLO == b.VELOCITA_TREMOLO &&
               a.TIPO_TREMOLO == b.TIPO_TREMOLO && a.RIVERBERO == b.RIVERBERO &&
               a.NOTA_INIZIO_TEMP == b.NOTA_INIZIO_TEMP);

    // Every memory played: whatever the file held, nothing invalid reaches the module.
    for (int memory = 1; memory <= 12; ++memory)
        k.memories.c_memory_Click(memory);
    FUZZ_CHECK(console.out.refusedMessages() == 0);
    return 0;
}

// Left to the usual mutations, a value seldom becomes a number just past the edge of its
// range. Half the mutations put such a number (or any 16-bit one) on one of the lines instead.
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max);
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t max, unsigned seed) {
    std::minstd_rand random(seed);
    if (random() % 2) return LLVMFuzzerMutate(data, size, max);
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::size_t> lines{0};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && i + 1 < text.size()) lines.push_back(i + 1);
    const std::size_t begin = lines[random() % lines.size()];
    const std::size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
    static constexpr int kEdges[] = {-32768, -1, 0,  1,  2,  3,  6,  7,   8,   11,
                                     12,     19, 20, 29, 30, 59, 60, 127, 128, 32767};
    const int value = random() % 4 ? kEdges[random() % std::size(kEdges)]
                                   : static_cast<int>(random() % 65536) - 32768;
    text.replace(begin, end - begin, " " + std::to_string(value) + " ");
    if (text.size() > max) return LLVMFuzzerMutate(data, size, max);
    std::memcpy(data, text.data(), text.size());
    return text.size();
}
