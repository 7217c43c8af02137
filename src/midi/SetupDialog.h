#pragma once

// The MIDI device setup dialog `Set_up`: the three devices, the eight input filters, the
// two sending delays and the built-in GS module's settings. It has no ports of its own: it works on
// the main window's, which stay closed while it is open and open again when it closes.

#include <string>

namespace kavel {

class Kavel;
class MidiPort;
class Procedures;

class SetupDialog {
  public:
    explicit SetupDialog(Kavel& console);
    SetupDialog(const SetupDialog&) = delete;
    SetupDialog& operator=(const SetupDialog&) = delete;

    void registerProcedures(Procedures& procedures);

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
    std::string moduleSettingsFile() const;
    void showModuleSettings();
    void saveModuleSettings();
    Kavel& k_;
    int savedSysex_ = 0;
    int savedNote_ = 0;
    unsigned unsentAtOpening_ = 0; // the output's unsent count as the ports closed
    bool loaded_ = false;
};

} // namespace kavel
