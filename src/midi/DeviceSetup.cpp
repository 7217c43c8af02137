#include "console/Kavel.h"
#include "midi/SetupDialog.h"

#include <tuple>

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

void Kavel::openPortReporting(MidiInput& input, int device) {
    try {
        openInput(input, device);
    } catch (const PortError& e) {
        reportOpenFailure(input, e);
    }
}

void Kavel::openPortReporting(MidiOutput& output, int device) {
    try {
        output.DeviceID(device);
        output.Action(action::kOpen);
        output.Action(action::kStart);
    } catch (const PortError& e) {
        reportOpenFailure(output, e);
    }
}

// The Setup menu's "&Midi Devices": the ports close and the dialog opens on the settings.
void Kavel::SetMidi_Click() {
    auto& m = state.midi;
    if (setup_->loaded()) return user_.showWindow("Set_up", false);
    CHIUSURA_PORTE_MIDI();
    // Always read afresh: a keyboard plugged in since start-up is in the lists.
    MIDI_DEVICES_ACK();
    m.LISTE_DISPOSITIVI_PRONTE = false;
    setup_->Form_Load();
    const std::tuple<const char*, int> lists[] = {{"InputDev1Combo", m.DISPOSITIVO_IN1},
                                                  {"InputDev2Combo", m.DISPOSITIVO_IN2},
                                                  {"outputDevcombo", m.DISPOSITIVO_OUT}};
    for (const auto& [list, device] : lists) {
        // A saved number beyond the list selects nothing there; the dialog opens all the same.
        if (device < 0 || device >= static_cast<int>(controls.get(list).items.size())) break;
        selectListItem(list, device);
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
