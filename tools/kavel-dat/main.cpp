// kavel-dat: Stops Tables between the binary .DAT file and a readable, diffable text, and a
// check of their SysEx.
//
//   kavel-dat to-text FILE.DAT           the table as text on standard output
//   kavel-dat from-text FILE.txt OUT.DAT the text back into a .DAT file
//   kavel-dat check FILE.DAT|FILE.txt    every malformed SysEx and wrong Roland checksum

#include "stops_table/DatFile.h"
#include "stops_table/SysExCheck.h"
#include "stops_table/TableText.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

namespace {

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
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            fail(path, "cannot open");
            return std::nullopt;
        }
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        auto result = kavel::tableFromText(text);
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
