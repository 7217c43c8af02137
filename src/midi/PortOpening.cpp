#include "console/Procedures.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "midi/Devices.h"
#include "midi/MidiPorts.h"
#include "panel/Controls.h"

namespace kavel {

namespace {

constexpr const char* kDevicesNotValid =
    " MIDI DEVICES CONFIGURATIONS NOT VALID, NOW! PLEASE CHECK IT BY SETUP MENU";

// Error codes the input controls pass over in silence.
bool silentInputError(int code) {
    return code == 0 || code == 8;
}

// A port that will not open says so through its own Error event, with the device's name; the
// console goes on with that port closed.
void reportOpenFailure(MidiPort& port, const PortError& e) {
    if (!port.Error) return;
    int code = e.code();
    std::string text = e.what();
    port.Error(code, text);
}

} // namespace

Devices::Devices(MidiInput& in1, MidiInput& in2, MidiOutput& out, MidiState& midi,
                 RegistrationTable& table, MemoryState& memories, Controls& controls, User& user,
                 Sender& sender, Registration& registration, AdvancedWindow& advanced,
                 const Waiting& waiting, Program& program)
    : in1_(in1), in2_(in2), out_(out), midi_(midi), table_(table), memories_(memories),
      controls_(controls), user_(user), sender_(sender), registration_(registration),
      advanced_(advanced), waiting_(waiting), program_(program) {}

void Devices::registerProcedures(Procedures& p) {
    p.add("MIDI_OPENING", [this] { MIDI_OPENING(); });
    p.add("CHIUSURA_PORTE_MIDI", [this] { CHIUSURA_PORTE_MIDI(); });
    p.add("MIDI_DEVICES_ACK", [this] { MIDI_DEVICES_ACK(); });
}

void Devices::openInput(MidiInput& input, int device) {
    input.DeviceID(device);
    for (std::size_t i = 0; i < MidiInput::kFilterable.size(); ++i)
        input.Filter(MidiInput::kFilterable[i], midi_.FILTRI_INGRESSO[i]);
    input.Action(action::kOpen);
    input.Action(action::kStart);
}

void Devices::MIDI_OPENING() {
    const auto& m = midi_;
    try {
        if (m.DISPOSITIVO_IN1 != m.NESSUN_DISPOSITIVO_IN1) openInput(in1_, m.DISPOSITIVO_IN1);
        if (m.DISPOSITIVO_IN2 != m.NESSUN_DISPOSITIVO_IN2) openInput(in2_, m.DISPOSITIVO_IN2);
        if (m.DISPOSITIVO_OUT != m.NESSUN_DISPOSITIVO_OUT) {
            out_.DeviceID(m.DISPOSITIVO_OUT);
            out_.Action(action::kOpen);
            out_.Action(action::kStart);
        }
    } catch (const PortError& e) {
        // The built-in module says itself what it lacks; the devices are not at fault.
        if (e.code() == port_error::kNoSound) return showPortError(e.what());
        user_.messageBox({kDevicesNotValid, kProgramTitle, Buttons::Ok, Icon::Critical, 0});
    }
}

void Devices::CHIUSURA_PORTE_MIDI() {
    const auto& m = midi_;
    lostDevices_ = {}; // closed on purpose: nothing is looked for any more
    registrationOwed_ = false;
    if (m.DISPOSITIVO_IN1 != m.NESSUN_DISPOSITIVO_IN1) in1_.Action(action::kClose);
    if (m.DISPOSITIVO_IN2 != m.NESSUN_DISPOSITIVO_IN2) in2_.Action(action::kClose);
    if (m.DISPOSITIVO_OUT != m.NESSUN_DISPOSITIVO_OUT) out_.Action(action::kClose);
}

std::vector<std::string> Devices::deviceNames(MidiPort& port) {
    const int n = port.DeviceCount();
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i) {
        port.DeviceID(i);
        names.push_back(port.DeviceName());
    }
    return names;
}

int Devices::fillDeviceList(MidiPort& port, const char* list) {
    auto& combo = controls_.edit(list);
    // Built afresh each time: a second opening lists each device once.
    combo.items = deviceNames(port);
    combo.items.emplace_back("No device");
    combo.listIndex = -1; // nothing chosen in a list read afresh
    return static_cast<int>(combo.items.size()) - 1;
}

// A device that was not in the lists when the dialog opened is not reported here: it is
// looked for once the dialog has closed, and said so then.
void Devices::openPortReporting(MidiInput& input, int device) {
    const auto port = static_cast<std::size_t>(&input == &in1_ ? 0 : 1);
    try {
        openInput(input, device);
    } catch (const PortError& e) {
        if (e.code() != port_error::kBadDevice || unfound_[port].empty())
            reportOpenFailure(input, e);
    }
}

void Devices::openPortReporting(MidiOutput& output, int device) {
    try {
        output.DeviceID(device);
        output.Action(action::kOpen);
        output.Action(action::kStart);
    } catch (const PortError& e) {
        if (e.code() != port_error::kBadDevice || unfound_[2].empty()) reportOpenFailure(output, e);
    }
}

void Devices::MIDI_DEVICES_ACK() {
    midi_.NESSUN_DISPOSITIVO_OUT = fillDeviceList(out_, "outputDevcombo");
    midi_.NESSUN_DISPOSITIVO_IN1 = fillDeviceList(in1_, "InputDev1Combo");
    midi_.NESSUN_DISPOSITIVO_IN2 = fillDeviceList(in2_, "InputDev2Combo");
}

void Devices::showPortError(const std::string& text) {
    user_.messageBox({text, kProgramTitle, Buttons::Ok, Icon::None, 0});
}

// A device unplugged while the organist plays is noted without a box to answer.
void Devices::MIDIInput1_Error(int& ErrorCode, std::string& ErrorMessage) {
    if (ErrorCode == port_error::kVanished) return deviceLost(0, ErrorMessage);
    if (!silentInputError(ErrorCode)) showPortError(ErrorMessage);
}

void Devices::MIDIInput2_Error(int& ErrorCode, std::string& ErrorMessage) {
    if (ErrorCode == port_error::kVanished) return deviceLost(1, ErrorMessage);
    if (!silentInputError(ErrorCode)) showPortError(ErrorMessage);
}

void Devices::MIDIOutput1_Error(int& ErrorCode, std::string& ErrorMessage) {
    if (ErrorCode == port_error::kVanished) return deviceLost(2, ErrorMessage);
    showPortError(ErrorMessage);
}

} // namespace kavel
