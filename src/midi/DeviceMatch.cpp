#include "midi/DeviceMatch.h"

#include <algorithm>
#include <cctype>

namespace kavel {

namespace {

bool allDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

// "ALSA: Piano:Piano MIDI 1 24:0" without " 24:0"; names of other systems stay whole.
std::string_view withoutAddress(std::string_view name) {
    if (!name.starts_with("ALSA: ")) return name;
    const auto blank = name.rfind(' ');
    if (blank == std::string_view::npos) return name;
    const std::string_view last = name.substr(blank + 1);
    const auto colon = last.find(':');
    if (colon == std::string_view::npos || !allDigits(last.substr(0, colon)) ||
        !allDigits(last.substr(colon + 1)))
        return name;
    return name.substr(0, blank);
}

} // namespace

int deviceIndexByName(const std::vector<std::string>& listed, int count, std::string_view name,
                      int taken) {
    count = std::clamp(count, 0, static_cast<int>(listed.size()));
    if (name.empty()) return -1;
    for (int i = 0; i < count; ++i)
        if (i != taken && listed[static_cast<std::size_t>(i)] == name) return i;
    const std::string_view stem = withoutAddress(name);
    for (int i = 0; i < count; ++i)
        if (i != taken && withoutAddress(listed[static_cast<std::size_t>(i)]) == stem) return i;
    return -1;
}

} // namespace kavel
