#include "console/ListSelection.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "memories/MemoryLabels.h"
#include "midi/DeviceMatch.h"
#include "midi/DevicePorts.h"
#include "midi/Devices.h"
#include "midi/Sender.h"
#include "midi/SetupDialog.h"
#include "panel/Controls.h"
#include "registration/AdvancedWindow.h"
#include "registration/Registration.h"

#include <array>

namespace kavel {

// The Setup menu's "&Midi Devices": the ports close and the dialog opens on the settings.
void SetupDialog::SetMidi_Click() {
    auto& m = midi_;
    if (loaded()) return user_.showWindow("Set_up", false);
    // The inputs close: keys held now would never be released.
    sender_.releaseHeldKeys(0);
    sender_.releaseHeldKeys(1);
    std::array<std::string, 3> chosen;
    std::array<bool, 3> none{};
    for (std::size_t i = 0; i < 3; ++i) {
        chosen[i] = devices_.chosenDeviceName(static_cast<int>(i));
        none[i] = m.*kDevicePorts[i].device == m.*kDevicePorts[i].noDevice;
    }
    devices_.CHIUSURA_PORTE_MIDI();
    // Always read afresh: a keyboard plugged in since start-up is in the lists. Numbers may
    // have moved with it, so each chosen device is found again by its name.
    devices_.MIDI_DEVICES_ACK();
    m.LISTE_DISPOSITIVI_PRONTE = false;
    for (std::size_t i = 0; i < 3; ++i) {
        int& device = m.*kDevicePorts[i].device;
        const int noDevice = m.*kDevicePorts[i].noDevice;
        devices_.setUnfound(static_cast<int>(i), {});
        if (none[i]) {
            device = noDevice;
        } else if (!chosen[i].empty()) {
            const int found = deviceIndexByName(controls_.get(kDevicePorts[i].list).items, noDevice,
                                                chosen[i], i == 1 ? m.DISPOSITIVO_IN1 : -1);
            device = found >= 0 ? found : noDevice + 1;
            if (found < 0) devices_.setUnfound(static_cast<int>(i), chosen[i]);
        }
    }
    Form_Load();
    for (const DevicePort& port : kDevicePorts) {
        // A number beyond the list selects nothing there; the dialog opens all the same.
        const int device = m.*port.device;
        if (device < 0 || device > m.*port.noDevice) continue;
        lists_.selectListItem(port.list, device);
    }
    controls_.edit("Slider2").value = m.RITARDO_NOTE;
    controls_.edit("Label_hang").caption = std::to_string(m.RITARDO_NOTE);
    controls_.edit("Slider1").value = m.RITARDO_SYSEX;
    controls_.edit("UserDelay").caption = std::to_string(m.RITARDO_SYSEX);
    keepDelays(m.RITARDO_SYSEX, m.RITARDO_NOTE);
    for (int i = 0; i < 8; ++i)
        controls_.edit("Check_Filters", i).value = m.FILTRI_INGRESSO[static_cast<std::size_t>(i)];
    user_.showWindow("Set_up", false);
}

// After the dialog's OK: the Advanced window's choices sent again, the labels, a reset.
void SetupDialog::Fine_Setup() {
    advanced_.selectAdvancedChoices();
    labels_.Scrivi_Etichette_memorie();
    registration_.RESET_Click();
}

} // namespace kavel
