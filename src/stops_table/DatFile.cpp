#include "stops_table/DatFile.h"

#include "config/FileNames.h"

namespace kavel {

DatResult decodeDat(std::string_view bytes) {
    StopsTableEntries table;
    // A short file leaves its last entries empty, but one with no record at all is no table:
    // taken as one it would blank every stop name.
    if (bytes.empty()) return {std::nullopt, "the file holds no record"};
    std::size_t at = 0;
    for (int i = 0; i < kStopsTableSize; ++i) {
        if (at == bytes.size()) break; // a short file: the rest stay empty
        if (bytes.size() - at < 2)
            return {std::nullopt, "record " + std::to_string(i) + " is cut off in its length"};
        const std::size_t n =
            static_cast<unsigned char>(bytes[at]) |
            (static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8);
        at += 2;
        if (bytes.size() - at < n)
            return {std::nullopt, "record " + std::to_string(i) + " runs past the end of the file"};
        table[static_cast<std::size_t>(i)] = std::string(bytes.substr(at, n));
        at += n;
    }
    return {std::move(table), {}};
}

DatResult readDat(const std::string& path) {
    const FileRead file = readFileAtMost(resolveCase(path), kMaxDatFile);
    if (!file.bytes) return {std::nullopt, file.error};
    return decodeDat(*file.bytes);
}

std::optional<std::string> checkDatLimits(const StopsTableEntries& table) {
    for (int i = 0; i < kStopsTableSize; ++i) {
        const auto size = table[static_cast<std::size_t>(i)].size();
        if (size > kMaxDatEntry)
            return "Entry " + std::to_string(i) + " (" + describeEntry(i).label + ") is " +
                   std::to_string(size) + " bytes long; a Stops Table entry holds at most " +
                   std::to_string(kMaxDatEntry) + " bytes.";
    }
    return std::nullopt;
}

std::string encodeDat(const StopsTableEntries& table) {
    std::string bytes;
    for (const auto& entry : table) {
        bytes.push_back(static_cast<char>(entry.size() & 0xFF));
        bytes.push_back(static_cast<char>((entry.size() >> 8) & 0xFF));
        bytes += entry;
    }
    return bytes;
}

std::optional<std::string> writeDat(const std::string& path, const StopsTableEntries& table) {
    if (auto tooLong = checkDatLimits(table)) return tooLong;
    return writeFileAtomically(resolveCase(path), encodeDat(table));
}

} // namespace kavel
