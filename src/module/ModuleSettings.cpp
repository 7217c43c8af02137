#include "module/ModuleSettings.h"

#include "config/FileNames.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace kavel::module {

namespace {

constexpr std::size_t kMaxFile = 64 * 1024;

template <typename T> std::optional<T> number(std::string_view text) {
    T v{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return v;
}

} // namespace

void ModuleSettings::clamp() {
    if (std::find(kAudioDrivers.begin(), kAudioDrivers.end(), audioDriver) == kAudioDrivers.end())
        audioDriver = "auto";
    if (soundFont.empty()) soundFont = kDefaultSoundFont;
    gain = std::clamp(gain, 0.01, 5.0);
    latencyMs = std::clamp(latencyMs, 5, 200);
}

ModuleSettings parseModuleSettings(const std::string& text) {
    ModuleSettings s;
    for (const auto& [key, value] : keyValueLines(text)) {
        if (key == "driver") s.audioDriver = value;
        if (key == "soundfont") s.soundFont = value;
        if (key == "gain")
            if (auto v = number<double>(value)) s.gain = *v;
        if (key == "latency")
            if (auto v = number<int>(value)) s.latencyMs = *v;
    }
    s.clamp();
    return s;
}

std::string formatModuleSettings(const ModuleSettings& s) {
    char gain[32];
    std::snprintf(gain, sizeof gain, "%g", s.gain);
    return "driver=" + s.audioDriver + "\nsoundfont=" + s.soundFont + "\ngain=" + gain +
           "\nlatency=" + std::to_string(s.latencyMs) + "\n";
}

ModuleSettings loadModuleSettings(const std::string& path) {
    const FileRead file = readFileAtMost(path, kMaxFile);
    return file.bytes ? parseModuleSettings(*file.bytes) : ModuleSettings{};
}

std::optional<std::string> saveModuleSettings(const std::string& path,
                                              const ModuleSettings& settings) {
    return writeFileAtomically(path, formatModuleSettings(settings));
}

} // namespace kavel::module
