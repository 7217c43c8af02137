#pragma once

// The built-in module's own settings, kept beside kavel.CFG in kavel-module.txt (kavel.CFG
// keeps its format): audio driver, SoundFont, gain and latency, one "key=value" a line.

#include <optional>
#include <string>
#include <vector>

namespace kavel::module {

inline constexpr const char* kBuiltInModuleName = "Kavel: built-in GS module";
inline constexpr const char* kModuleSettingsFile = "kavel-module.txt";
inline constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf3/FluidR3Mono_GM.sf3";

// The audio drivers offered, in the order tried when none is chosen ("auto").
inline const std::vector<std::string> kAudioDrivers = {"auto", "jack", "pulseaudio", "alsa"};

struct ModuleSettings {
    std::string audioDriver = "auto";
    std::string soundFont = kDefaultSoundFont;
    double gain = 0.4;  // 0.01 .. 5
    int latencyMs = 20; // 5 .. 200, the audio buffer
    bool operator==(const ModuleSettings&) const = default;

    // Values out of range are brought into it; an unknown driver is "auto".
    void clamp();
};

// The file's text; bad or missing lines leave the defaults.
ModuleSettings parseModuleSettings(const std::string& text);
std::string formatModuleSettings(const ModuleSettings& settings);

// `path`: the settings file; a missing or unreadable one gives the defaults.
ModuleSettings loadModuleSettings(const std::string& path);
// Nothing, or a sentence saying why the file was not written (the old one is kept).
std::optional<std::string> saveModuleSettings(const std::string& path,
                                              const ModuleSettings& settings);

} // namespace kavel::module
