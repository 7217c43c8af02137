// kavel.CFG as start-up reads it: a console starts on it, recalls the fixed memories it holds
// and exits; the file it then writes must read back without complaint.

#include "FuzzConsole.h"

#include <cstring>
#include <fstream>
#include <random>

using namespace kavel;
using namespace kavel::fuzz;

namespace {

constexpr std::size_t kSettings = 39; // the values before the fixed memories

bool saidUnreadable(const ScriptedUser& user) {
    for (const auto& box : user.shown)
        if (box.text.find("could not be read") != std::string::npos) return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    static const fs::path folder = [] {
        const fs::path f = scratchFolder("config");
        fs::copy_file(shippedTable(), f / "kavel.DAT", fs::copy_options::overwrite_existing);
        return f;
    }();
    // Only the organ stays from one input to the next.
    for (const char* left : {"kavel.CFG.bad", "kavel-devices.txt"})
        fs::remove(folder / left);
    std::ofstream(folder / "kavel.CFG", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<long>(size));

    Console console(folder.string());
    Kavel& k = *console;
    k.Form_Load();
    for (int fixed = 1; fixed <= 12; ++fixed)
        k.memories.Graduatore_Click(fixed);
    k.exit_Click();
    FUZZ_CHECK(console.out.refusedMessages() == 0);
    if (k.running() || k.state.config.SALVA_CFG_USCITA != 1) return 0; // nothing written

    // The reading alone depends on nothing a start leaves: one reader does for the run.
    static Console reader(folder.string());
    reader.user.shown.clear();
    reader->config.LEGGI_FILE_AVVIO();
    FUZZ_CHECK(!saidUnreadable(reader.user));
    return 0;
}

// 336 of the 375 values are fixed memories: left to the usual mutations, the settings before
// them would seldom change. Half the mutations set one of them to a value at or beyond the
// edge of a range instead.
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max);
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t max, unsigned seed) {
    std::minstd_rand random(seed);
    if (random() % 2) return LLVMFuzzerMutate(data, size, max);
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::size_t> lines{0};
    for (std::size_t i = 0; i < text.size() && lines.size() < kSettings; ++i)
        if (text[i] == '\n') lines.push_back(i + 1);
    const std::size_t begin = lines[random() % lines.size()];
    const std::size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
    static constexpr int kEdges[] = {-32768, -1, 0, 1, 2, 3, 11, 12, 15, 16, 100, 127, 128, 32767};
    const int value = random() % 4 ? kEdges[random() % std::size(kEdges)]
                                   : static_cast<int>(random() % 65536) - 32768;
    text.replace(begin, end - begin, " " + std::to_string(value) + " ");
    if (text.size() > max) return LLVMFuzzerMutate(data, size, max);
    std::memcpy(data, text.data(), text.size());
    return text.size();
}
