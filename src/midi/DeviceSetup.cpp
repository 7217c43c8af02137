#include "console/Kavel.h"
#include "midi/DeviceMatch.h"
#include "midi/DevicePorts.h"
#include "midi/SetupDialog.h"

#include <array>

namespace kavel {

namespace {

// A port that will not open says so through its own Error event, with the device's name; the
// console goes on with that port closed.
void reportOpenFailure(MidiPort& port, const PortError& e) {
    if (!port.Error) return;
    int code = e.code();
    std::string text = e.what();
    port.Error(code, text);
}

} // namespace

// A device that was not in the lists when the dialog opened is not reported here: it is
// looked for once the dialog has closed, and said so then.
void Kavel::openPortReporting(MidiInput& input, int device) {
    const auto port = static_cast<std::size_t>(&input == &MIDIInput1 ? 0 : 1);
    try {
        openInput(input, device);
    } catch (const PortError& e) {
        if (e.code() != port_error::kBadDevice || unfound_[port].empty())
            reportOpenFailure(input, e);
    }
}

void Kavel::openPortReporting(MidiOutput& output, int device) {
    try {
        output.DeviceID(device);
        output.Action(action::kOpen);
        output.Action(action::kStart);
    } catch (const PortError& e) {
        if (e.code() != port_error::kBadDevice || unfound_[2].empty()) reportOpenFailure(output, e);
    }
}

// The Setup menu's "&Midi Devices": the ports close and the dialog opens on the settings.
void Kavel::SetMidi_Click() {
    auto& m = state.midi;
    if (setup_->loaded()) return user_.showWindow("Set_up", false);
    // The inputs close: keys held now would never be released.
    releaseHeldKeys(0);
    releaseHeldKeys(1);
    std::array<std::string, 3> chosen;
    std::array<bool, 3> none{};
    for (std::size_t i = 0; i < 3; ++i) {
        chosen[i] = chosenDeviceName(static_cast<int>(i));
        none[i] = m.*kDevicePorts[i].device == m.*kDevicePorts[i].noDevice;
    }
    CHIUSURA_PORTE_MIDI();
    // Always read afresh: a keyboard plugged in since start-up is in the lists. Numbers may
    // have moved with it, so each chosen device is found again by its name.
    MIDI_DEVICES_ACK();
    m.LISTE_DISPOSITIVI_PRONTE = false;
    for (std::size_t i = 0; i < 3; ++i) {
        int& device = m.*kDevicePorts[i].device;
        const int noDevice = m.*kDevicePorts[i].noDevice;
        unfound_[i].clear();
        if (none[i]) {
            device = noDevice;
        } else if (!chosen[i].empty()) {
            const int found = deviceIndexByName(controls.get(kDevicePorts[i].list).items, noDevice,
                                                chosen[i], i == 1 ? m.DISPOSITIVO_IN1 : -1);
            device = found >= 0 ? found : noDevice + 1;
            if (found < 0) unfound_[i] = chosen[i];
        }
    }
    setup_->Form_Load();
    for (const DevicePort& port : kDevicePorts) {
        // A number beyond the list selects nothing there; the dialog opens all the same.
        const int device = m.*port.device;
        if (device < 0 || device > m.*port.noDevice) continue;
        selectListItem(port.list, device);
    }
    controls.edit("Slider2").value = m.RITARDO_NOTE;
    controls.edit("Label_hang").caption = std::to_string(m.RITARDO_NOTE);
    controls.edit("Slider1").value = m.RITARDO_SYSEX;
    controls.edit("UserDelay").caption = std::to_string(m.RITARDO_SYSEX);
    setup_->keepDelays(m.RITARDO_SYSEX, m.RITARDO_NOTE);
    for (int i = 0; i < 8; ++i)
        controls.edit("Check_Filters", i).value = m.FILTRI_INGRESSO[static_cast<std::size_t>(i)];
    user_.showWindow("Set_up", false);
}

// After the dialog's OK: the Advanced window's choices sent again, the labels, a reset.
void Kavel::Fine_Setup() {
    selectAdvancedChoices();
    Scrivi_Etichette_memorie();
    RESET_Click();
}

} // namespace kavel
