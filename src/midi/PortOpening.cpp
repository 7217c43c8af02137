#include "console/Kavel.h"

namespace kavel {

namespace {

constexpr const char* kDevicesNotValid =
    " MIDI DEVICES CONFIGURATIONS NOT VALID, NOW! PLEASE CHECK IT BY SETUP MENU";

// Error codes the input controls pass over in silence.
bool silentInputError(int code) {
    return code == 0 || code == 8;
}

} // namespace

void Kavel::openInput(MidiInput& input, int device) {
    input.DeviceID(device);
    for (std::size_t i = 0; i < MidiInput::kFilterable.size(); ++i)
        input.Filter(MidiInput::kFilterable[i], state.midi.FILTRI_INGRESSO[i]);
    input.Action(action::kOpen);
    input.Action(action::kStart);
}

void Kavel::MIDI_OPENING() {
    const auto& m = state.midi;
    try {
        if (m.DISPOSITIVO_IN1 != m.NESSUN_DISPOSITIVO_IN1) openInput(MIDIInput1, m.DISPOSITIVO_IN1);
        if (m.DISPOSITIVO_IN2 != m.NESSUN_DISPOSITIVO_IN2) openInput(MIDIInput2, m.DISPOSITIVO_IN2);
        if (m.DISPOSITIVO_OUT != m.NESSUN_DISPOSITIVO_OUT) {
            MIDIOutput1.DeviceID(m.DISPOSITIVO_OUT);
            MIDIOutput1.Action(action::kOpen);
            MIDIOutput1.Action(action::kStart);
        }
    } catch (const PortError& e) {
        // The built-in module says itself what it lacks; the devices are not at fault.
        if (e.code() == port_error::kNoSound) return showPortError(e.what());
        user_.messageBox({kDevicesNotValid, kProgramTitle, Buttons::Ok, Icon::Critical, 0});
    }
}

void Kavel::CHIUSURA_PORTE_MIDI() {
    const auto& m = state.midi;
    lostDevices_ = {}; // closed on purpose: nothing is looked for any more
    registrationOwed_ = false;
    if (m.DISPOSITIVO_IN1 != m.NESSUN_DISPOSITIVO_IN1) MIDIInput1.Action(action::kClose);
    if (m.DISPOSITIVO_IN2 != m.NESSUN_DISPOSITIVO_IN2) MIDIInput2.Action(action::kClose);
    if (m.DISPOSITIVO_OUT != m.NESSUN_DISPOSITIVO_OUT) MIDIOutput1.Action(action::kClose);
}

std::vector<std::string> Kavel::deviceNames(MidiPort& port) {
    const int n = port.DeviceCount();
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
        port.DeviceID(i);
        names.push_back(port.DeviceName());
    }
    return names;
}

int Kavel::fillDeviceList(MidiPort& port, const char* list) {
    auto& combo = controls.edit(list);
    // Built afresh each time: a second opening lists each device once.
    combo.items = deviceNames(port);
    combo.items.emplace_back("No device");
    combo.listIndex = -1; // nothing chosen in a list read afresh
    return static_cast<int>(combo.items.size()) - 1;
}

void Kavel::MIDI_DEVICES_ACK() {
    state.midi.NESSUN_DISPOSITIVO_OUT = fillDeviceList(MIDIOutput1, "outputDevcombo");
    state.midi.NESSUN_DISPOSITIVO_IN1 = fillDeviceList(MIDIInput1, "InputDev1Combo");
    state.midi.NESSUN_DISPOSITIVO_IN2 = fillDeviceList(MIDIInput2, "InputDev2Combo");
}

void Kavel::showPortError(const std::string& text) {
    user_.messageBox({text, kProgramTitle, Buttons::Ok, Icon::None, 0});
}

// A device unplugged while the organist plays is noted without a box to answer.
void Kavel::MIDIInput1_Error(int& ErrorCode, std::string& ErrorMessage) {
    if (ErrorCode == port_error::kVanished) return deviceLost(0, ErrorMessage);
    if (!silentInputError(ErrorCode)) showPortError(ErrorMessage);
}

void Kavel::MIDIInput2_Error(int& ErrorCode, std::string& ErrorMessage) {
    if (ErrorCode == port_error::kVanished) return deviceLost(1, ErrorMessage);
    if (!silentInputError(ErrorCode)) showPortError(ErrorMessage);
}

void Kavel::MIDIOutput1_Error(int& ErrorCode, std::string& ErrorMessage) {
    if (ErrorCode == port_error::kVanished) return deviceLost(2, ErrorMessage);
    showPortError(ErrorMessage);
}

} // namespace kavel
