#include "console/Program.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "console/Waiting.h"
#include "midi/DeviceMatch.h"
#include "midi/DevicePorts.h"
#include "midi/Devices.h"
#include "midi/MidiPorts.h"
#include "midi/Sender.h"
#include "panel/Controls.h"
#include "registration/AdvancedWindow.h"
#include "registration/Registration.h"

#include <algorithm>
#include <exception>

// A cable pulled and put back while the organist plays: the lost device is noted without a
// box to answer, a lost keyboard's notes are released, and the device is opened again by its
// name when it returns; a module that returns gets the registration again.

namespace kavel {

namespace {

constexpr int kOutput = 2;

} // namespace

MidiPort& Devices::portOf(int port) {
    if (port == 0) return in1_;
    if (port == 1) return in2_;
    return out_;
}

void Devices::checkDevices() {
    // Not inside a wait, where a send is half done, nor while the Setup dialog has the ports
    // closed on purpose.
    if (checkingDevices_ || waiting_.waiting() || setupOpen_ || !program_.running()) return;
    checkingDevices_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{checkingDevices_};
    in1_.checkDevice();
    in2_.checkDevice();
    out_.checkDevice();
    // A second after it was opened again: a module just switched on needs a moment before it
    // takes SysEx, and a new connection a moment before it carries messages.
    if (registrationOwed_ && out_.isOpen()) {
        registrationOwed_ = false;
        resendRegistration();
        user_.notice("MIDI device \"" + out_.openedName() +
                     "\" has been sent the registration again.");
    }
    for (int port = 0; port < 3; ++port)
        if (!lostDevices_[static_cast<std::size_t>(port)].empty()) reopenLost(port);
}

std::string Devices::chosenDeviceName(int port) const {
    const auto& lost = lostDevices_[static_cast<std::size_t>(port)];
    if (!lost.empty()) return lost;
    const DevicePort& w = kDevicePorts[static_cast<std::size_t>(port)];
    const int device = midi_.*w.device;
    const auto& items = controls_.get(w.list).items;
    if (device < 0 || device >= midi_.*w.noDevice || device >= static_cast<int>(items.size()))
        return {};
    return items[static_cast<std::size_t>(device)];
}

int Devices::takenByOtherInput(int port, const std::vector<std::string>& names) const {
    if (port == kOutput) return -1;
    const MidiInput& other = port == 0 ? in2_ : in1_;
    if (!other.isOpen()) return -1;
    const auto at = std::find(names.begin(), names.end(), other.openedName());
    return at == names.end() ? -1 : static_cast<int>(at - names.begin());
}

void Devices::deviceLost(int port, const std::string& text) {
    lostDevices_[static_cast<std::size_t>(port)] = portOf(port).openedName();
    if (port == kOutput) {
        registrationOwed_ = false;
        user_.notice(text + ": nothing is sent to it. Kavel opens it again when it is back and "
                            "sends it the registration.");
        return;
    }
    // Its releases will never come: the module gets them now. A sustain pedal or a pitch
    // wheel held on it would otherwise leave a command armed or the wheel latched.
    sender_.releaseHeldKeys(port);
    midi_.EVENTO_SWITCH = false;
    midi_.BLOCCO_PITCH = false;
    user_.notice(text + ": the notes it held were released. Kavel opens it again when it is "
                        "back.");
}

void Devices::reopenLost(int port) {
    auto& name = lostDevices_[static_cast<std::size_t>(port)];
    const DevicePort& w = kDevicePorts[static_cast<std::size_t>(port)];
    MidiPort& target = portOf(port);
    // The Setup dialog's list and the number stay as they are until the device is back.
    auto names = deviceNames(target);
    const int count = static_cast<int>(names.size());
    const int found = deviceIndexByName(names, count, name, takenByOtherInput(port, names));
    if (found < 0) return; // not back yet
    try {
        if (port == kOutput) {
            out_.DeviceID(found);
            out_.Action(action::kOpen);
            out_.Action(action::kStart);
        } else {
            openInput(port == 0 ? in1_ : in2_, found);
        }
    } catch (const PortError&) {
        return; // listed but not ready: tried again at the next check
    }
    // The number it has now is the one the configuration keeps.
    names.emplace_back("No device");
    controls_.edit(w.list).items = std::move(names);
    midi_.*w.device = found;
    midi_.*w.noDevice = count;
    user_.notice("MIDI device \"" + name + "\" is back and open again" +
                 (port == kOutput ? ": the registration follows." : "."));
    name.clear();
    if (port == kOutput) registrationOwed_ = true;
}

void Devices::markLost(int port, std::string name) {
    lostDevices_[static_cast<std::size_t>(port)] = std::move(name);
}

void Devices::setUnfound(int port, std::string name) {
    unfound_[static_cast<std::size_t>(port)] = std::move(name);
}

void Devices::watchUnopened() {
    for (int port = 0; port < 3; ++port) {
        auto& name = unfound_[static_cast<std::size_t>(port)];
        if (name.empty() || portOf(port).isOpen()) {
            name.clear();
            continue;
        }
        user_.notice("MIDI device \"" + name +
                     "\" is not connected. Kavel opens it when it is plugged in.");
        lostDevices_[static_cast<std::size_t>(port)] = std::move(name);
        name.clear();
    }
}

// A module switched off and on has forgotten its setup as well as the stops: the reset's
// global strings, the Advanced window's choices, then the whole live registration by an update
// that finds every field changed. Unlike the reset, the organist's registration stays.
void Devices::resendRegistration() {
    registration_.sendGlobalReset();
    advanced_.selectAdvancedChoices();
    auto& r = table_;
    auto differ = [](SlotArray& f) { f[SLOT_APPLIED] = f[SLOT_LIVE] == 0 ? 1 : 0; };
    for (SlotArray* f : {&r.FO_GO, &r.FO_SW, &r.MU_GO, &r.MU_SW, &r.AN_GO, &r.AN_SW, &r.PED,
                         &r.TREMOLO_GO, &r.TREMOLO_SW})
        differ(*f);
    for (int group = 0; group < 3; ++group) {
        differ(r.ANNULL_GO[static_cast<std::size_t>(group)]);
        differ(r.ANNULL_SW[static_cast<std::size_t>(group)]);
    }
    // Nothing changed for the organist: a memory recalled untouched stays so.
    auto& memories = memories_;
    const bool intact = memories.MEMORIA_INTATTA;
    memories.MEMORIA_INTATTA = false;
    try {
        registration_.AGGIORNAMENTO_KAVEL();
    } catch (const std::exception&) {
        program_.Gest_Errore_advanced();
    }
    memories.MEMORIA_INTATTA = intact;
}

} // namespace kavel
