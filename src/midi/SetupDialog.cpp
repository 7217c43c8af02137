#include "midi/SetupDialog.h"

#include "config/ProgramFolder.h"
#include "console/Procedures.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "midi/Devices.h"
#include "midi/MidiPorts.h"
#include "module/ModuleSettings.h"
#include "panel/Controls.h"
#include "panel/ScreenPlacement.h"
#include "registration/Registration.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <tuple>

namespace kavel {

namespace {

constexpr const char* kWindow = "Set_up";
constexpr const char* kFilterTip = "Filters : if checked, these kinds of midi messages will be "
                                   "rejected on Kavel Midi Inputs";
constexpr const char* kFilters[] = {"ACTIVE SENSE", "MTC",  "TUNE",      "CLOCK",
                                    "START",        "CONT", "Undefined", "RESET"};

} // namespace

SetupDialog::SetupDialog(Controls& controls, MidiState& midi, MidiInput& in1, MidiInput& in2,
                         MidiOutput& out, User& user, const ProgramFolder& folder,
                         ScreenPlacement& screen, ListSelection& lists, Sender& sender,
                         Devices& devices, Registration& registration, AdvancedWindow& advanced,
                         MemoryLabels& labels)
    : controls_(controls), midi_(midi), in1_(in1), in2_(in2), out_(out), user_(user),
      folder_(folder), screen_(screen), lists_(lists), sender_(sender), devices_(devices),
      registration_(registration), advanced_(advanced), labels_(labels) {
    place();
}

void SetupDialog::registerProcedures(Procedures& p) {
    p.add("Set_up.Form_Load", [this] { Form_Load(); });
    p.add("InputDev1Combo_Click", [this] { InputDev1Combo_Click(); });
    p.add("InputDev2Combo_Click", [this] { InputDev2Combo_Click(); });
    p.add("outputDevcombo_Click", [this] { outputDevcombo_Click(); });
    p.add("Check_Filters_Click", 0, 7, [this](int i) { Check_Filters_Click(i); });
    p.add("Slider1_Scroll", [this] { Slider1_Scroll(); });
    p.add("Slider2_Scroll", [this] { Slider2_Scroll(); });
    p.add("Set_up.Command1_Click", [this] { Command1_Click(); });
    p.add("Set_up.Command3_Click", [this] { Command3_Click(); });
    p.add("SetMidi_Click", [this] { SetMidi_Click(); });
    p.add("Fine_Setup", [this] { Fine_Setup(); });
}

// Every control of the dialog, in twips: devices on top, filters beside the output, the two
// delays below, OK and CANCEL at the foot.
void SetupDialog::place() {
    auto& c = controls_;
    auto put = [&c](const std::string& name, int index, ControlKind kind, int left, int top,
                    int width, int height) -> ControlState& {
        return c.place(name, index, kind, kWindow, left, top, width, height);
    };
    auto heading = [&put](const char* name, const char* text, int left, int top) {
        auto& h = put(name, -1, ControlKind::Label, left, top, 3600, 260);
        h.caption = text;
        h.font.bold = true;
    };
    auto& window = c.edit(kWindow);
    window.caption = "Set up MIDI DEVICES";
    window.width = 7800;
    window.height = 7300;

    heading("Set_up.FrameIn", "MIDI DEVICES IN", 150, 100);
    put("InputDev1Combo", -1, ControlKind::List, 150, 400, 3600, 1000).toolTip =
        "Midi Input 1 Devices List";
    put("InputDev2Combo", -1, ControlKind::List, 150, 1500, 3600, 1000).toolTip =
        "Midi Input 2 Devices List";
    heading("Set_up.FrameOut", "MIDI DEVICE OUT", 3950, 100);
    put("outputDevcombo", -1, ControlKind::List, 3950, 400, 3600, 1000).toolTip =
        "Midi out devices list";

    heading("Set_up.FrameFilters", "MIDI INPUT FILTERS", 3950, 1500);
    c.edit("Set_up.FrameFilters").toolTip = kFilterTip;
    for (int i = 0; i < 8; ++i) {
        auto& box = put("Check_Filters", i, ControlKind::Check, 3950 + (i / 4) * 1800,
                        1800 + (i % 4) * 280, 1750, 260);
        box.caption = kFilters[i];
        box.toolTip = kFilterTip;
    }

    heading("Set_up.FrameNote", "NOTE SENDING DELAY", 150, 2950);
    for (const auto& [slider, label, left] :
         {std::tuple{"Slider2", "Label_hang", 150}, std::tuple{"Slider1", "UserDelay", 3950}}) {
        auto& s = put(slider, -1, ControlKind::Slider, left, 3250, 2800, 300);
        s.min = 0;
        s.max = 100;
        s.largeChange = 5;
        put(label, -1, ControlKind::Label, left + 2900, 3250, 700, 300).align = Align::Centre;
    }
    auto& hang = put("Set_up.TextNote", -1, ControlKind::Label, 150, 3880, 3600, 900);
    hang.caption = "Depending from your hardware, note hanging could happen. To prevent this, "
                   "adjust this delay and try to obtain the best result.";
    hang.align = Align::Centre;
    heading("Set_up.FrameSysex", "SYSEX SENDING DELAY", 3950, 2950);
    put("Set_up.Msec0", -1, ControlKind::Label, 3950, 3580, 900, 260).caption = "0 msec";
    auto& end = put("Set_up.Msec100", -1, ControlKind::Label, 5850, 3580, 900, 260);
    end.caption = "100 msec";
    end.align = Align::Right;
    auto& sysex = put("Set_up.TextSysex", -1, ControlKind::Label, 3950, 3880, 3600, 900);
    sysex.caption = "If you have Sysex transmission problems ,try to adjust this delay. Values "
                    "different from 0 will cause stops change slowering.";
    sysex.align = Align::Centre;

    // The built-in GS module's own settings, kept beside kavel.CFG.
    heading("Set_up.FrameModule", "BUILT-IN GS MODULE", 150, 4850);
    put("Set_up.ModuleDriverLabel", -1, ControlKind::Label, 150, 5150, 1700, 260).caption =
        "Audio driver";
    auto& driver = put("ModuleDriver", -1, ControlKind::List, 150, 5420, 1700, 1100);
    driver.items = module::kAudioDrivers;
    driver.toolTip = "auto: JACK when a JACK server runs, else PulseAudio, else ALSA";
    put("Set_up.ModuleFontLabel", -1, ControlKind::Label, 2050, 5150, 5500, 260).caption =
        "SoundFont file (SF2 or SF3)";
    put("ModuleSoundFont", -1, ControlKind::Text, 2050, 5420, 5500, 300).toolTip =
        module::kDefaultSoundFont;
    put("Set_up.ModuleGainLabel", -1, ControlKind::Label, 2050, 5850, 1300, 260).caption = "Gain";
    put("ModuleGain", -1, ControlKind::Text, 3350, 5850, 900, 300).toolTip = "0.01 .. 5";
    put("Set_up.ModuleLatencyLabel", -1, ControlKind::Label, 4450, 5850, 1800, 260).caption =
        "Latency (msec)";
    put("ModuleLatency", -1, ControlKind::Text, 6250, 5850, 1300, 300).toolTip = "5 .. 200";

    put("Set_up.Command1", -1, ControlKind::Button, 4950, 6600, 1200, 420).caption = "OK";
    put("Set_up.Command3", -1, ControlKind::Button, 6300, 6600, 1250, 420).caption = "CANCEL";
}

void SetupDialog::Form_Load() {
    setLoaded(true);
    unsentAtOpening_ = out_.unsentMessages();
    screen_.centreOnScreen(kWindow, "light.ico");
    showModuleSettings();
}

std::string SetupDialog::moduleSettingsFile() const {
    return folder_.inProgramFolder(module::kModuleSettingsFile);
}

void SetupDialog::showModuleSettings() {
    const auto s = module::loadModuleSettings(moduleSettingsFile());
    auto& c = controls_;
    const auto& drivers = module::kAudioDrivers;
    c.edit("ModuleDriver").listIndex = static_cast<int>(
        std::find(drivers.begin(), drivers.end(), s.audioDriver) - drivers.begin());
    c.edit("ModuleSoundFont").caption = s.soundFont;
    char gain[32];
    std::snprintf(gain, sizeof gain, "%g", s.gain);
    c.edit("ModuleGain").caption = gain;
    c.edit("ModuleLatency").caption = std::to_string(s.latencyMs);
}

// Written before the ports open again, so the module opens with them. A number that cannot
// be read keeps the value saved before.
void SetupDialog::saveModuleSettings() {
    const std::string file = moduleSettingsFile();
    const auto before = module::loadModuleSettings(file);
    auto s = before;
    const auto& c = controls_;
    const int driver = c.get("ModuleDriver").listIndex;
    if (driver >= 0 && driver < static_cast<int>(module::kAudioDrivers.size()))
        s.audioDriver = module::kAudioDrivers[static_cast<std::size_t>(driver)];
    s.soundFont = c.get("ModuleSoundFont").caption;
    const auto read = [](const std::string& text, auto& value) {
        auto v = value;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec == std::errc{} && end == text.data() + text.size()) value = v;
    };
    read(c.get("ModuleGain").caption, s.gain);
    read(c.get("ModuleLatency").caption, s.latencyMs);
    s.clamp();
    if (s == before) return;
    if (auto error = module::saveModuleSettings(file, s))
        user_.messageBox({"The built-in module's settings were not saved. " + *error, kProgramTitle,
                          Buttons::Ok, Icon::Exclamation, 0});
}

void SetupDialog::keepDelays(int sysexDelay, int noteDelay) {
    savedSysex_ = sysexDelay;
    savedNote_ = noteDelay;
}

// A chosen device becomes the port's; nothing opens before OK.
void SetupDialog::chooseDevice(const char* list, MidiPort& port, int noDevice) {
    const int chosen = controls_.get(list).listIndex;
    if (chosen < 0 || chosen == noDevice) return;
    try {
        port.DeviceID(chosen);
    } catch (const PortError&) {
        // The list was read from the MIDI systems just now; a device gone since is for OK.
    }
}

void SetupDialog::InputDev1Combo_Click() {
    chooseDevice("InputDev1Combo", in1_, midi_.NESSUN_DISPOSITIVO_IN1);
}
void SetupDialog::InputDev2Combo_Click() {
    chooseDevice("InputDev2Combo", in2_, midi_.NESSUN_DISPOSITIVO_IN2);
}
void SetupDialog::outputDevcombo_Click() {
    chooseDevice("outputDevcombo", out_, midi_.NESSUN_DISPOSITIVO_OUT);
}

void SetupDialog::Check_Filters_Click(int Index) {
    if (Index < 0 || Index > 7) return;
    midi_.FILTRI_INGRESSO[static_cast<std::size_t>(Index)] =
        controls_.get("Check_Filters", Index).value != 0;
}

void SetupDialog::Slider1_Scroll() {
    auto& midi = midi_;
    midi.RITARDO_SYSEX = controls_.get("Slider1").value;
    controls_.edit("UserDelay").caption = std::to_string(midi.RITARDO_SYSEX);
}

void SetupDialog::Slider2_Scroll() {
    auto& midi = midi_;
    midi.RITARDO_NOTE = controls_.get("Slider2").value;
    controls_.edit("Label_hang").caption = std::to_string(midi.RITARDO_NOTE);
}

void SetupDialog::Command1_Click() {
    if (!loaded_) return; // a button of a closed dialog cannot be pressed
    saveModuleSettings();
    auto& midi = midi_;
    const int in1 = controls_.get("InputDev1Combo").listIndex;
    const int in2 = controls_.get("InputDev2Combo").listIndex;
    const int out = controls_.get("outputDevcombo").listIndex;
    // A device that will not open is said through its port's Error event, with its name; the
    // others open all the same.
    if (in1 >= 0 && in1 != midi.NESSUN_DISPOSITIVO_IN1) devices_.openPortReporting(in1_, in1);
    if (in2 >= 0 && in2 != midi.NESSUN_DISPOSITIVO_IN2) devices_.openPortReporting(in2_, in2);
    if (out >= 0 && out != midi.NESSUN_DISPOSITIVO_OUT) devices_.openPortReporting(out_, out);
    // Nothing chosen in a list keeps the device it had.
    if (in1 >= 0) midi.DISPOSITIVO_IN1 = in1;
    if (in2 >= 0) midi.DISPOSITIVO_IN2 = in2;
    if (out >= 0) midi.DISPOSITIVO_OUT = out;
    devices_.watchUnopened();
    Fine_Setup();
    close();
}

void SetupDialog::Command3_Click() {
    if (!loaded_) return;
    auto& midi = midi_;
    if (midi.DISPOSITIVO_IN1 != midi.NESSUN_DISPOSITIVO_IN1)
        devices_.openPortReporting(in1_, midi.DISPOSITIVO_IN1);
    if (midi.DISPOSITIVO_IN2 != midi.NESSUN_DISPOSITIVO_IN2)
        devices_.openPortReporting(in2_, midi.DISPOSITIVO_IN2);
    if (midi.DISPOSITIVO_OUT != midi.NESSUN_DISPOSITIVO_OUT)
        devices_.openPortReporting(out_, midi.DISPOSITIVO_OUT);
    midi.RITARDO_SYSEX = savedSysex_;
    midi.RITARDO_NOTE = savedNote_;
    devices_.watchUnopened();
    close();
    // What changed while the output was closed (a drawknob, a memory, the Advanced window)
    // never reached the module, though the console counts it applied: it gets it all now.
    if (out_.isOpen() && out_.unsentMessages() != unsentAtOpening_)
        devices_.resendRegistration();
    else
        registration_.AGGIORNAMENTO_KAVEL();
}

void SetupDialog::close() {
    setLoaded(false);
    user_.closeWindow(kWindow);
}

// The device watch leaves the ports alone while the dialog is open.
void SetupDialog::setLoaded(bool loaded) {
    loaded_ = loaded;
    devices_.setSetupOpen(loaded);
}

} // namespace kavel
