#pragma once

// The MIDI device setup dialog `Set_up`: the three devices, the eight input filters, the
// two sending delays and the built-in GS module's settings. It has no ports of its own: it works on
// the main window's, which stay closed while it is open and open again when it closes.

#include <string>

namespace kavel {

class AdvancedWindow;
class Controls;
class Devices;
class ListSelection;
class MemoryLabels;
class MidiInput;
class MidiOutput;
class MidiPort;
class Procedures;
class ProgramFolder;
class Registration;
class ScreenPlacement;
class Sender;
class User;
struct MidiState;

class SetupDialog {
  public:
    // Places every control of the dialog.
    SetupDialog(Controls& controls, MidiState& midi, MidiInput& in1, MidiInput& in2,
                MidiOutput& out, User& user, const ProgramFolder& folder, ScreenPlacement& screen,
                ListSelection& lists, Sender& sender, Devices& devices, Registration& registration,
                AdvancedWindow& advanced, MemoryLabels& labels);
    SetupDialog(const SetupDialog&) = delete;
    SetupDialog& operator=(const SetupDialog&) = delete;

    // Its procedures by name ("Set_up.Form_Load", "SetMidi_Click", "Fine_Setup" ...).
    void registerProcedures(Procedures& procedures);

    // Setup menu: the device dialog, and what its OK runs.
    void SetMidi_Click();
    void Fine_Setup();

    void Form_Load();
    void InputDev1Combo_Click();
    void InputDev2Combo_Click();
    void outputDevcombo_Click();
    void Check_Filters_Click(int Index);
    void Slider1_Scroll(); // SysEx delay
    void Slider2_Scroll(); // note delay
    void Command1_Click(); // OK
    void Command3_Click(); // CANCEL

    // The delays as they were when the dialog opened, for CANCEL.
    void keepDelays(int sysexDelay, int noteDelay);
    bool loaded() const { return loaded_; }

  private:
    void place();
    void chooseDevice(const char* list, MidiPort& port, int noDevice);
    void close();
    // Open or closed, for the dialog and the device watch alike.
    void setLoaded(bool loaded);
    std::string moduleSettingsFile() const;
    void showModuleSettings();
    void saveModuleSettings();
    Controls& controls_;
    MidiState& midi_;
    MidiInput& in1_;
    MidiInput& in2_;
    MidiOutput& out_;
    User& user_;
    const ProgramFolder& folder_;
    ScreenPlacement& screen_;
    ListSelection& lists_;
    Sender& sender_;
    Devices& devices_;
    Registration& registration_;
    AdvancedWindow& advanced_;
    MemoryLabels& labels_;
    int savedSysex_ = 0;
    int savedNote_ = 0;
    unsigned unsentAtOpening_ = 0; // the output's unsent count as the ports closed
    bool loaded_ = false;
};

} // namespace kavel
