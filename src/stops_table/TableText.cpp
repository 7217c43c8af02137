#include "stops_table/TableText.h"

#include <array>
#include <cstdio>
#include <sstream>

namespace kavel {

namespace {

std::string hexOf(const std::string& entry) {
    std::string s;
    char buf[4];
    for (std::size_t i = 0; i < entry.size(); ++i) {
        const auto b = static_cast<unsigned char>(entry[i]);
        std::snprintf(buf, sizeof buf, "%02X", b);
        if (i) s += ' ';
        s += buf;
        if (b == 0xF7 && i + 1 < entry.size()) s += " |";
    }
    return s;
}

std::string quoted(const std::string& text) {
    std::string s = "\"";
    char buf[8];
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += c;
        } else if (b >= 0x20 && b < 0x7F) {
            s += c;
        } else {
            std::snprintf(buf, sizeof buf, "\\x%02X", b);
            s += buf;
        }
    }
    return s + "\"";
}

// A name fit for a comment: one line, printable.
std::string commentOf(const std::string& name) {
    std::string s;
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        s += (b >= 0x20 && b < 0x7F) ? c : '?';
    }
    return s;
}

// The name an entry's comment shows: a stop's or global entry's name, a canceller's text.
std::string nameFor(const StopsTableEntries& t, int i) {
    using namespace stops;
    auto at = [&t](int k) { return t[static_cast<std::size_t>(k)]; };
    if (i < kGlobalCount) return at(kGlobalNames + i);
    if (i < kFondiSw) return at(kFondiNames + i - kFondiGo);
    if (i < kMutazGo) return at(kFondiNames + i - kFondiSw);
    if (i < kMutazSw) return at(kMutazNames + i - kMutazGo);
    if (i < kAncieGo) return at(kMutazNames + i - kMutazSw);
    if (i < kAncieSw) return at(kAncieNames + i - kAncieGo);
    if (i < kPedale) return at(kAncieNames + i - kAncieSw);
    if (i < kFondiNames) return at(kPedaleNames + i - kPedale);
    if (i >= kCancellers && i < kCancellers + kCancellerCount)
        return std::string(kCancellerNames[static_cast<std::size_t>(i - kCancellers)]);
    return {};
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Parses a value; an error text or nothing.
std::optional<std::string> parseValue(std::string_view v, std::string& out) {
    std::size_t at = v.find_first_not_of(" \t");
    if (at == std::string_view::npos || v[at] == '#') return std::nullopt;
    if (v[at] == '"') {
        for (++at; at < v.size() && v[at] != '"'; ++at) {
            if (v[at] != '\\') {
                out += v[at];
                continue;
            }
            if (++at == v.size()) break;
            if (v[at] == '"' || v[at] == '\\') {
                out += v[at];
            } else if (v[at] == 'x' && at + 2 < v.size() && hexDigit(v[at + 1]) >= 0 &&
                       hexDigit(v[at + 2]) >= 0) {
                out += static_cast<char>(hexDigit(v[at + 1]) * 16 + hexDigit(v[at + 2]));
                at += 2;
            } else {
                return "unknown escape in quoted text";
            }
        }
        if (at >= v.size()) return "quoted text without its closing quote";
        const auto rest = v.find_first_not_of(" \t", at + 1);
        if (rest != std::string_view::npos && v[rest] != '#') return "text after the closing quote";
        return std::nullopt;
    }
    std::istringstream in{std::string(v.substr(at))};
    for (std::string token; in >> token;) {
        if (token[0] == '#') break;
        if (token == "|") continue;
        if (token.size() != 2 || hexDigit(token[0]) < 0 || hexDigit(token[1]) < 0)
            return "not a hex byte: " + token;
        out += static_cast<char>(hexDigit(token[0]) * 16 + hexDigit(token[1]));
    }
    return std::nullopt;
}

} // namespace

std::string tableToText(const StopsTableEntries& table) {
    std::string text =
        "# Kavel Stops Table. One entry a line: index, what it is, \"=\", the value.\n"
        "# SysEx: hex bytes, \" | \" after each F7. Names and flags: quoted text.\n";
    char index[8];
    for (int i = 0; i < kStopsTableSize; ++i) {
        const auto& entry = table[static_cast<std::size_t>(i)];
        const EntryInfo info = describeEntry(i);
        std::snprintf(index, sizeof index, "%03d", i);
        std::string line = std::string(index) + " " + info.label + " =";
        if (!entry.empty())
            line += " " + (info.kind == EntryKind::SysEx ? hexOf(entry) : quoted(entry));
        if (info.kind == EntryKind::SysEx) {
            const std::string name = commentOf(nameFor(table, i));
            if (!name.empty()) line += "  # " + name;
        }
        text += line + "\n";
    }
    return text;
}

TextResult tableFromText(const std::string& text) {
    StopsTableEntries table;
    std::array<bool, kStopsTableSize> seen{};
    std::istringstream in(text);
    int lineNo = 0;
    auto fail = [&lineNo](const std::string& why) {
        return TextResult{std::nullopt, "line " + std::to_string(lineNo) + ": " + why};
    };
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream fields(line);
        std::string indexText, label, equals;
        fields >> indexText >> label >> equals;
        int index = -1;
        try {
            std::size_t used = 0;
            index = std::stoi(indexText, &used);
            if (used != indexText.size()) index = -1;
        } catch (const std::exception&) {
            index = -1;
        }
        if (index < 0 || index >= kStopsTableSize) return fail("not an entry index: " + indexText);
        if (equals != "=") return fail("expected \"INDEX WHAT = VALUE\"");
        const std::string expected = describeEntry(index).label;
        if (label != expected)
            return fail("entry " + std::to_string(index) + " is " + expected + ", not " + label);
        if (seen[static_cast<std::size_t>(index)])
            return fail("entry " + std::to_string(index) + " given twice");
        seen[static_cast<std::size_t>(index)] = true;
        const auto valueAt = line.find('=') + 1;
        auto& entry = table[static_cast<std::size_t>(index)];
        if (auto error = parseValue(std::string_view(line).substr(valueAt), entry))
            return fail(*error);
    }
    return {std::move(table), {}};
}

} // namespace kavel
