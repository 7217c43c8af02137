#pragma once

// The console's three MIDI devices: opened at start-up and after the Setup dialog, closed for
// it, listed in its lists, and watched while the organist plays.

#include <array>
#include <string>
#include <vector>

namespace kavel {

class AdvancedWindow;
class Controls;
class MidiInput;
class MidiOutput;
class MidiPort;
class Procedures;
class Program;
class Registration;
class Sender;
class User;
class Waiting;
struct MemoryState;
struct MidiState;
struct RegistrationTable;

class Devices {
  public:
    Devices(MidiInput& in1, MidiInput& in2, MidiOutput& out, MidiState& midi,
            RegistrationTable& table, MemoryState& memories, Controls& controls, User& user,
            Sender& sender, Registration& registration, AdvancedWindow& advanced,
            const Waiting& waiting, Program& program);
    Devices(const Devices&) = delete;
    Devices& operator=(const Devices&) = delete;

    // "MIDI_OPENING", "CHIUSURA_PORTE_MIDI", "MIDI_DEVICES_ACK".
    void registerProcedures(Procedures& p);

    void MIDI_OPENING();
    void CHIUSURA_PORTE_MIDI();
    void MIDI_DEVICES_ACK();
    void MIDIInput1_Error(int& ErrorCode, std::string& ErrorMessage);
    void MIDIInput2_Error(int& ErrorCode, std::string& ErrorMessage);
    void MIDIOutput1_Error(int& ErrorCode, std::string& ErrorMessage);
    // About once a second: the ports report devices gone; a device lost while open is looked
    // for by its name and opened again once it is back.
    void checkDevices();
    // Opens a port on a device; a failure is reported by the port's Error event, not thrown.
    void openPortReporting(MidiInput& input, int device);
    void openPortReporting(MidiOutput& output, int device);
    // After the Setup dialog's OK or CANCEL: a chosen device that was not listed is looked for.
    void watchUnopened();
    // For a module that missed messages: the reset's global strings, the Advanced window's
    // choices and the whole live registration, which stays as it is.
    void resendRegistration();

    // The name of the device chosen for a port (0, 1 the inputs, 2 the output), lost ones
    // included; empty for "No device".
    std::string chosenDeviceName(int port) const;
    // A chosen device not found by its name: looked for until it is plugged in.
    void markLost(int port, std::string name);
    // A device chosen for a port that was not listed when the Setup dialog opened (empty:
    // none); after the dialog it is looked for, and its failing to open is not reported.
    void setUnfound(int port, std::string name);
    // The Setup dialog has the ports closed on purpose: no device is checked meanwhile.
    void setSetupOpen(bool open) { setupOpen_ = open; }

  private:
    MidiPort& portOf(int port);
    void openInput(MidiInput& input, int device);
    void showPortError(const std::string& text);
    // Lists the port's devices afresh in its list of the Setup dialog, "No device" last.
    int fillDeviceList(MidiPort& port, const char* list);
    std::vector<std::string> deviceNames(MidiPort& port);
    // Where in `names` the other input's open device stands, for a namesake to pass it over.
    int takenByOtherInput(int port, const std::vector<std::string>& names) const;
    // A device lost while open, and found again: ports 0 and 1 the inputs, 2 the output.
    void deviceLost(int port, const std::string& text);
    void reopenLost(int port);

    MidiInput& in1_;
    MidiInput& in2_;
    MidiOutput& out_;
    MidiState& midi_;
    RegistrationTable& table_;
    MemoryState& memories_;
    Controls& controls_;
    User& user_;
    Sender& sender_;
    Registration& registration_;
    AdvancedWindow& advanced_;
    const Waiting& waiting_;
    Program& program_;
    std::array<std::string, 3> lostDevices_; // by port, while it is away
    std::array<std::string, 3> unfound_;     // chosen, not listed when the dialog opened
    bool checkingDevices_ = false;
    bool registrationOwed_ = false; // the module came back: the next check sends it all
    bool setupOpen_ = false;
};

} // namespace kavel
