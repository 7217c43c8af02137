// kavel-dat: Stops Tables between the binary .DAT file and a readable, diffable text, and a
// check of their SysEx.
//
//   kavel-dat to-text FILE.DAT           the table as text on standard output
//   kavel-dat from-text FILE.txt OUT.DAT the text back into a .DAT file
//   kavel-dat check FILE.DAT|FILE.txt    every malformed SysEx and wrong Roland checksum

#include "config/FileNames.h"
#include "stops_table/DatFile.h"
#include "stops_table/SysExCheck.h"
#include "stops_table/TableText.h"

#include <iostream>
#include <optional>
#include <string>

namespace {

// The longest text to-text can write, so that from-text takes back all it wrote: a line per
// entry, at most 6 characters per byte of the longest entry ("F7 | " for a SysEx byte, and the
// stop name repeated in its comment), and a megabyte for comments added by hand.
constexpr std::size_t kMaxTextFile =
    kavel::kStopsTableSize * (64 + 6 * kavel::kMaxDatEntry) + (1u << 20);

int usage() {
    std::cerr << "usage: kavel-dat to-text FILE.DAT | from-text FILE.txt OUT.DAT | check FILE\n";
    return 1;
}

int fail(const std::string& place, const std::string& why) {
    std::cerr << "kavel-dat: " << place << ": " << why << "\n";
    return 1;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A table from a .DAT or, by its extension, a text file; nothing after reporting why.
std::optional<kavel::StopsTableEntries> load(const std::string& path) {
    if (endsWith(path, ".txt")) {
        const kavel::FileRead file = kavel::readFileAtMost(path, kMaxTextFile);
        if (!file.bytes) {
            fail(path, file.error);
            return std::nullopt;
        }
        auto result = kavel::tableFromText(*file.bytes);
        if (!result.table) fail(path, result.error);
        return result.table;
    }
    auto result = kavel::readDat(path);
    if (!result.table) fail(path, result.error);
    return result.table;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    const std::string path = argv[2];
    if (command == "to-text" && argc == 3) {
        auto table = load(path);
        if (!table) return 1;
        std::cout << kavel::tableToText(*table);
        return std::cout ? 0 : 1;
    }
    if (command == "from-text" && argc == 4) {
        auto table = load(path);
        if (!table) return 1;
        if (auto error = kavel::writeDat(argv[3], *table)) return fail(argv[3], *error);
        return 0;
    }
    if (command == "check" && argc == 3) {
        auto table = load(path);
        if (!table) return 1;
        const auto problems = kavel::checkSysEx(*table);
        for (const auto& p : problems)
            std::cout << path << ": " << p << "\n";
        if (problems.empty()) std::cout << path << ": all SysEx entries are well-formed\n";
        return problems.empty() ? 0 : 1;
    }
    return usage();
}
