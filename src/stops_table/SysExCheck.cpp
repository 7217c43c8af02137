#include "stops_table/SysExCheck.h"

#include <cstdio>

namespace kavel {

namespace {

std::string hex(int b) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", b & 0xFF);
    return buf;
}

int byteAt(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

enum class Fault { NotF0, NoF7, HighByte, Checksum };

struct Finding {
    Fault fault;
    int message;      // counted from 1
    std::size_t byte; // HighByte: its place in the message, F0 being byte 1
    int have;         // the byte found
    int want;         // Checksum: the one that belongs there
};

// Walks the messages of `bytes` and hands each fault to `report`, which returns whether to go
// on. Without an F0 or an F7 there is no next message to find, so the walk ends there.
// Both the sentences and the yes/no check come from here, so they cannot disagree.
template <class Report> void scanSysEx(std::string_view bytes, Report&& report) {
    std::size_t at = 0;
    int number = 0;
    while (at < bytes.size()) {
        ++number;
        if (byteAt(bytes, at) != 0xF0) {
            report(Finding{Fault::NotF0, number, 0, byteAt(bytes, at), 0});
            return;
        }
        const auto end = bytes.find('\xF7', at);
        if (end == std::string_view::npos) {
            report(Finding{Fault::NoF7, number, 0, 0, 0});
            return;
        }
        const std::string_view body = bytes.substr(at + 1, end - at - 1);
        at = end + 1;
        bool clean = true;
        for (std::size_t i = 0; i < body.size() && clean; ++i) {
            if (byteAt(body, i) <= 0x7F) continue;
            clean = false;
            if (!report(Finding{Fault::HighByte, number, i + 2, byteAt(body, i), 0})) return;
        }
        // Roland DT1: 41 dev model 12 address... data... sum. GS is model 42.
        if (clean && body.size() >= 8 && body[0] == 0x41 && body[3] == 0x12) {
            const int want = rolandChecksum(body.substr(4, body.size() - 5));
            const int have = byteAt(body, body.size() - 1);
            if (want != have && !report(Finding{Fault::Checksum, number, 0, have, want})) return;
        }
    }
}

std::string describe(const Finding& f) {
    const std::string which = "message " + std::to_string(f.message);
    switch (f.fault) {
    case Fault::NotF0:
        return which + " starts with " + hex(f.have) + ", not F0";
    case Fault::NoF7:
        return which + " has no F7";
    case Fault::HighByte:
        return which + ": byte " + std::to_string(f.byte) + " is " + hex(f.have) + ", above 7F";
    case Fault::Checksum:
        return which + ": Roland checksum is " + hex(f.have) + ", should be " + hex(f.want);
    }
    return which;
}

} // namespace

int rolandChecksum(std::string_view addressAndData) {
    int sum = 0;
    for (char c : addressAndData)
        sum += static_cast<unsigned char>(c);
    return (128 - sum % 128) % 128;
}

std::vector<std::string> checkSysExEntry(std::string_view bytes) {
    std::vector<std::string> problems;
    scanSysEx(bytes, [&problems](const Finding& f) {
        problems.push_back(describe(f));
        return true;
    });
    return problems;
}

bool isSoundSysEx(std::string_view bytes) {
    bool sound = true;
    scanSysEx(bytes, [&sound](const Finding&) {
        sound = false;
        return false;
    });
    return sound;
}

bool isSysExStream(std::string_view bytes) {
    bool framed = !bytes.empty();
    scanSysEx(bytes, [&framed](const Finding& f) {
        if (f.fault == Fault::Checksum) return true; // not a matter of framing
        framed = false;
        return false;
    });
    return framed;
}

std::vector<int> damagedSysExEntries(const StopsTableEntries& table) {
    std::vector<int> damaged;
    for (int i = 0; i < kStopsTableSize; ++i)
        if (describeEntry(i).kind == EntryKind::SysEx &&
            !isSoundSysEx(table[static_cast<std::size_t>(i)]))
            damaged.push_back(i);
    return damaged;
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
