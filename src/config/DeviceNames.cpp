#include "config/StartupConfig.h"

#include "config/FileNames.h"
#include "config/ProgramFolder.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "midi/DeviceMatch.h"
#include "midi/DevicePorts.h"
#include "midi/Devices.h"
#include "panel/Controls.h"

#include <array>
#include <string_view>

// Device numbers shift when a keyboard is plugged in before another; the names of the chosen
// devices, kept beside kavel.CFG, find them again wherever they now stand in the lists.

namespace kavel {

namespace {

constexpr std::size_t kMaxDevicesFile = 64 * 1024;
constexpr std::array<std::string_view, 3> kKeys = {"in1", "in2", "out"};

std::string devicesFile(const ProgramFolder& folder) {
    return folder.inProgramFolder("kavel-devices.txt");
}

} // namespace

void StartupConfig::saveDeviceNames() {
    std::string text;
    for (std::size_t i = 0; i < kKeys.size(); ++i)
        text += std::string(kKeys[i]) + "=" + devices_.chosenDeviceName(static_cast<int>(i)) + "\n";
    if (auto error = writeFileAtomically(devicesFile(folder_), text))
        user_.messageBox({"The names of the MIDI devices were not saved. " + *error, kProgramTitle,
                          Buttons::Ok, Icon::Exclamation, 0});
}

void StartupConfig::findDevicesByName() {
    const FileRead file = readFileAtMost(devicesFile(folder_), kMaxDevicesFile);
    if (!file.bytes) return; // none kept yet: the numbers stand as they are
    auto& m = midi_;
    for (const auto& [key, name] : keyValueLines(*file.bytes)) {
        for (std::size_t i = 0; i < kKeys.size(); ++i) {
            if (key != kKeys[i]) continue;
            int& device = m.*kDevicePorts[i].device;
            const int noDevice = m.*kDevicePorts[i].noDevice;
            const auto& items = controls_.get(kDevicePorts[i].list).items;
            if (name.empty()) {
                device = noDevice; // "No device" stays so, however many devices there are
                continue;
            }
            if (device >= 0 && device < noDevice && items[static_cast<std::size_t>(device)] == name)
                continue; // still where it was
            // Wherever it stands now; gone, the number points beyond the list, the opening
            // says the devices are not valid, and the device is opened when it is plugged in.
            const int other = i == 1 ? m.DISPOSITIVO_IN1 : -1;
            const int found = deviceIndexByName(items, noDevice, name, other);
            device = found >= 0 ? found : noDevice + 1;
            if (found < 0) devices_.markLost(static_cast<int>(i), std::string(name));
        }
    }
}

} // namespace kavel
