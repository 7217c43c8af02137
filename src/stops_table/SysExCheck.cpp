#include "stops_table/SysExCheck.h"

#include <cstdio>

namespace kavel {

namespace {
std::string hex(int b) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", b & 0xFF);
    return buf;
}
} // namespace

int rolandChecksum(const std::string& addressAndData) {
    int sum = 0;
    for (char c : addressAndData)
        sum += static_cast<unsigned char>(c);
    return (128 - sum % 128) % 128;
}

std::vector<std::string> checkSysExEntry(const std::string& bytes) {
    std::vector<std::string> problems;
    std::size_t at = 0;
    int number = 0;
    while (at < bytes.size()) {
        ++number;
        const std::string which = "message " + std::to_string(number);
        if (static_cast<unsigned char>(bytes[at]) != 0xF0) {
            problems.push_back(which + " starts with " + hex(bytes[at]) + ", not F0");
            break;
        }
        const auto end = bytes.find('\xF7', at);
        if (end == std::string::npos) {
            problems.push_back(which + " has no F7");
            break;
        }
        const std::string body = bytes.substr(at + 1, end - at - 1);
        bool clean = true;
        for (std::size_t i = 0; i < body.size(); ++i) {
            if (static_cast<unsigned char>(body[i]) > 0x7F) {
                problems.push_back(which + ": byte " + std::to_string(i + 2) + " is " +
                                   hex(body[i]) + ", above 7F");
                clean = false;
                break;
            }
        }
        // Roland DT1: 41 dev model 12 address... data... sum. GS is model 42.
        if (clean && body.size() >= 8 && body[0] == 0x41 && body[3] == 0x12) {
            const std::string summed = body.substr(4, body.size() - 5);
            const int want = rolandChecksum(summed);
            const int have = static_cast<unsigned char>(body.back());
            if (want != have)
                problems.push_back(which + ": Roland checksum is " + hex(have) + ", should be " +
                                   hex(want));
        }
        at = end + 1;
    }
    return problems;
}

std::vector<std::string> checkSysEx(const StopsTableEntries& table) {
    std::vector<std::string> problems;
    for (int i = 0; i < kStopsTableSize; ++i) {
        if (describeEntry(i).kind != EntryKind::SysEx) continue;
        for (const auto& p : checkSysExEntry(table[static_cast<std::size_t>(i)]))
            problems.push_back("entry " + std::to_string(i) + " (" + describeEntry(i).label +
                               "), " + p);
    }
    return problems;
}

} // namespace kavel
